// kestra-cli plot MODEL --out FILE: the plan view and the cross-sections of a
// model drawn as the window draws them, into a DXF, HPGL or picture file;
// with a particle file, the particles tracked and their pathlines drawn in
// by the replay the window's Save Plot As uses.
#include <QGuiApplication>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch_model.h"
#include "cli/batch_particles.h"
#include "cli/commands.h"
#include "cli/plot_options.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "cli/track_output.h"
#include "cli/tracking_options.h"
#include "core/number_format.h"
#include "export/plot_export.h"
#include "graphics/contour_table_edits.h"
#include "graphics/contours.h"
#include "graphics/view_arrangement.h"
#include "render/figure_content.h"
#include "render/figure_file.h"
#include "render/plot_image.h"
#include "render/raster_picture.h"
#include "render/view_image.h"
#include "session/package_layer_source.h"
#include "session/time_step_results.h"
#include "tracking/endpoint_table.h"
#include "tracking/particle_file.h"

namespace kestra::cli {
namespace {

// The picture was written, but without what some results would have given.
constexpr int kPartialPicture = 3;

int Fail(std::ostream& err, const std::string& reason, int code) {
  ReportPlotProblem(err, reason);
  return code;
}

void ReportMessages(CollectingInterface& ui, std::ostream& err) {
  for (const std::string& message : ui.messages) ReportPlotProblem(err, message);
  ui.messages.clear();
}

bool Beyond(std::ostream& err, const char* option, int value, int count, const char* things) {
  ReportPlotProblem(
      err, option + NumberText(value) + " lies beyond the" + NumberText(count) + " " + things + " of the model");
  return false;
}

// Layer, section row and column and zoom of the options into the session and
// the layout; false, with the reason on `err`, when one lies outside the grid.
bool ApplyViewOptions(const PlotOptions& options, Session& session, ViewLayout& layout, std::ostream& err) {
  ModelState& model = session.model;
  if (options.layer && *options.layer > model.NLAY) return Beyond(err, "--layer", *options.layer, model.NLAY, "layers");
  if (options.row && *options.row > model.NROW) return Beyond(err, "--row", *options.row, model.NROW, "rows");
  if (options.column && *options.column > model.NCOL)
    return Beyond(err, "--column", *options.column, model.NCOL, "columns");
  if (options.layer) model.CurrentLayer = *options.layer;
  if (options.row) session.settings.sectionRow = static_cast<std::int16_t>(*options.row);
  if (options.column) session.settings.sectionColumn = static_cast<std::int16_t>(*options.column);
  SetUpModelViews(layout, model);
  if (options.zoom) layout.zoom = *options.zoom;
  return true;
}

const char* ContouredResult(const Settings& settings) {
  return settings.contourDataSource == kDrawdownDataSource ? "drawdowns" : "heads";
}

bool ContoursCanBeDrawn(const Session& session) {
  const LoadStatus& loaded = session.loaded;
  return ContourSource(session.model, session.settings, loaded.headsLoaded, loaded.drawdownsLoaded) != nullptr;
}

// The contour switch, data source, levels and exaggeration of the options
// over the settings; false, with the reason on `err`, when drawdowns are
// asked for but not loaded.
bool ApplyContourOptions(const PlotOptions& options, Session& session, UserInterface& ui, std::ostream& err) {
  Settings& settings = session.settings;
  if (options.exaggeration) settings.exaggeration = *options.exaggeration;
  if (options.contours) {
    const bool off = *options.contours == ContourChoice::Off;
    settings.contourDisplay = settings.showContours = off ? kOff : kOn;
    const std::int16_t source = *options.contours == ContourChoice::Drawdown ? kDrawdownDataSource : kHeadDataSource;
    if (!off && source != settings.contourDataSource) {
      settings.contourDataSource = source;
      session.contours = ReadContourLevels(ModelSiblingPath(session.model, ".ctr"), session.model, settings,
                                           session.loaded.drawdownsLoaded, ui);
      UseReadableLabels(settings, session.contours, LengthUnitSymbol(session.model.lengthUnit));
    }
  }
  if (options.levels)
    RebuildLevels(session.contours, options.levels->minimum, options.levels->maximum, options.levels->interval,
                  GridDiagonal(session.model));
  // Contours the settings alone switch on are left out, and said so, when
  // their result is missing; contours asked for are not.
  if (options.contours && IsOn(settings.contourDisplay) && !ContoursCanBeDrawn(session)) {
    ReportPlotProblem(err, std::string("the model has no ") + ContouredResult(settings) + " to contour");
    return false;
  }
  return true;
}

// What the picture lacks because a result of the time step did not load;
// empty when it lacks nothing.
std::vector<std::string> MissingFromPicture(const Session& session) {
  std::vector<std::string> missing;
  const Settings& settings = session.settings;
  const std::string step = "period" + NumberText(session.model.CurrentPeriod) + " step" +
                           NumberText(session.model.CurrentStep);
  if (IsOn(settings.contourDisplay) && !ContoursCanBeDrawn(session))
    missing.push_back(std::string("no contours: the ") + ContouredResult(settings) + " of " + step +
                      " did not load");
  // Heads and flow terms that did not load leave a picture without
  // results even where nothing on it is drawn from them yet.
  if (!session.loaded.headsLoaded)
    missing.push_back(std::string(IsOn(settings.showWaterTable) ? "no water table in the sections" : "no heads") +
                      ": the heads of " + step + " did not load");
  if (!session.model.flowTermsLoaded)
    missing.push_back(std::string(IsOn(settings.vectorsVisible) ? "no velocity vectors" : "no flow terms") +
                      ": the flow terms of " + step + " did not load");
  return missing;
}

const char* PlotFormatName(PlotFileFormat format) {
  switch (format) {
    case PlotFileFormat::Dxf: return kPlotFormatDxf;
    case PlotFileFormat::Hpgl: return kPlotFormatHpgl;
    default: return kPlotFormatBitmap;
  }
}

FigureFormat FigureFormatFor(PlotFileFormat format) {
  switch (format) {
    case PlotFileFormat::Tiff: return FigureFormat::Tiff;
    case PlotFileFormat::Svg: return FigureFormat::Svg;
    case PlotFileFormat::Pdf: return FigureFormat::Pdf;
    default: return FigureFormat::Png;  // the drawings and the bitmap are written without a figure
  }
}

// The three pictures of the main window, drawn off the screen.
struct BatchViews {
  RasterPicture plan, rowSection, columnSection;
  ViewLayout layout;
  ViewPlacement placement;
  PlotDevice device;
};

// The particles of the particle file tracked as the run commands track them,
// each direction in turn. False, with the reasons on `err`, when the file
// could not be read, the flow field of the time step did not load or a
// pathline run would pass unsaved time steps. `complete` turns false, with
// the particles named on `err`, when some were left out or not tracked to
// their end.
bool TrackParticlesOfFile(const TrackingOptions& tracking, Session& session, ParticleSet& particles, bool& complete,
                          std::ostream& err) {
  CollectingInterface ui;
  BatchParticles read;
  read.usable = true;
  if (!tracking.particles.empty())
    read = ReadBatchParticleFile(tracking.particles, session.model, particles, "plot", err);
  if (!read.usable) return false;
  const std::vector<int>& skipped = read.outsideGrid;
  if (particles.Particles.empty()) {
    complete = ReportUntracked({}, skipped, "plot", err);
    return true;
  }
  if (const std::string problem = FlowFieldProblem(session); !problem.empty()) {
    ReportPlotProblem(err, problem);
    return false;
  }
  SavedSteps held;
  for (const int direction : {1, -1})
    if ((direction > 0 ? tracking.forward : tracking.backward) && !CheckUnsavedSteps(session, direction, ui, held)) {
      ReportMessages(ui, err);
      return false;
    }
  EndpointCollector endpoints(session.model, particles.ParticleCount());
  ModelStepLoader loader(session.settings, session.tracking, ui);
  RunControl control;
  TrackingRun run{session.model, session.settings, session.tracking, session.periods, particles,
                  session.busy,  ui,               endpoints,        loader,          control};
  for (const int direction : {1, -1}) {
    if (!(direction > 0 ? tracking.forward : tracking.backward)) continue;
    RunTrackingCommand(run, direction > 0 ? TrackMode::ForwardRun : TrackMode::BackwardRun);
    endpoints.AddMissing(particles, direction);
  }
  ReportMessages(ui, err);
  complete = ReportUntracked(endpoints.Endpoints(), skipped, "plot", err);
  return true;
}

// Draws the model as the window redraws it and retraces the particles, with
// the plot file open for DXF and HPGL; false when the file cannot be written.
bool DrawIntoViews(const PlotOptions& options, Session& session, ParticleSet& particles, BatchViews& views,
                   const ColourFlood* flood, std::ostream& err) {
  PlotDevice& device = views.device;
  device.PlotFormat = PlotFormatName(options.format);
  device.PlotFileName = options.outPath;
  device.PlotToFile = !IsPictureFormat(options.format);
  device.IncludeLowerXsection = IsOn(session.settings.includeLowerXsection);
  device.IncludeRightXsection = IsOn(session.settings.includeRightXsection);
  const PackageLayerReader packages = MakePackageLayerReader(session);
  SilentInterface ui;
  DrawInputs inputs{session.settings, packages, ui};
  // The environment options let the grid into plots with the grid switch.
  inputs.gridPlotSwitch = IsOn(session.settings.showMesh);
  inputs.headsLoaded = session.loaded.headsLoaded;
  inputs.flood = flood;
  PlotOverlays overlays;
  LoadOverlayFont(overlays);
  SetPlotOverlays(inputs, overlays, session);
  PlotContext context{views.plan, views.rowSection, views.columnSection, device, session.model, views.layout};
  TrackObserver unused;
  ModelStepLoader loader(session.settings, session.tracking, ui);
  RunControl control;
  TrackingRun run{session.model, session.settings, session.tracking, session.periods, particles,
                  session.busy,  ui,               unused,           loader,          control};
  std::string error;
  if (!SavePlot(context, inputs, run, error)) ReportPlotProblem(err, error);
  return error.empty();
}

// Text on a picture needs the fonts of a GUI application, which the batch
// tool otherwise does without; one without a screen is made for the plot.
std::unique_ptr<QGuiApplication> FontsForText() {
  if (QCoreApplication::instance()) return nullptr;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "kestra-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

bool SavePicture(const PlotOptions& options, const Session& session,
                 const ParticleSet& particles, const BatchViews& views, const ColourFlood* flood, std::ostream& err) {
  std::string error;
  const bool lower = IsOn(session.settings.includeLowerXsection), right = IsOn(session.settings.includeRightXsection);
  // A Windows bitmap stays the pixel copy of the views that it is in the window.
  if (options.format == PlotFileFormat::Bmp) {
    const QImage image = ComposeViews(views.plan, views.rowSection, views.columnSection, views.layout,
                                      views.placement, lower, right);
    if (!SavePlotImage(image, options.outPath, PlotImageFormat::Bmp, error)) ReportPlotProblem(err, error);
    return error.empty();
  }
  const auto application = FontsForText();
  const FigureViews figure = FigureViewsOf(views.plan, views.rowSection, views.columnSection, views.placement,
                                           views.layout, lower, right);
  FigureRequest request{options.title, options.notes, flood};
  SetPathlinesOf(request, particles);
  const FigureFacts facts = FigureFactsOf(session, views.layout, figure, request);
  const FigurePage page{options.width, options.height, options.dpi, options.paper, options.landscape};
  if (!SaveFigure(options.outPath, FigureFormatFor(options.format), page, figure, facts, error))
    ReportPlotProblem(err, error);
  return error.empty();
}

// The flood the options ask for; false, with the reason on `err`, when its
// results did not load.
bool FloodOfOptions(const PlotOptions& options, Session& session, ColourFlood& flood, std::ostream& err) {
  if (!options.flood) return true;
  const FloodQuantity quantity = *options.flood;
  const bool loaded = quantity == FloodQuantity::Head       ? session.loaded.headsLoaded
                      : quantity == FloodQuantity::Drawdown ? session.loaded.drawdownsLoaded
                                                            : CellVelocitiesReady(session);
  flood = FloodOfLayer(session.model, session.settings, quantity, session.model.CurrentLayer);
  if (loaded && !flood.Empty()) return true;
  const char* names[] = {"heads", "drawdowns", "velocities"};
  ReportPlotProblem(err, std::string("no flood: the model has no ") + names[static_cast<int>(quantity)] +
                             " in layer" + NumberText(session.model.CurrentLayer) + " of this time step");
  return false;
}

}  // namespace

int PlotCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  PlotOptions options;
  TrackingOptions tracking;
  OpenChoices open;
  Arguments rest = args;
  if (!TakeOpenOptions(rest, open, err) || !TakeTrackingOptions(rest, tracking, "plot", err) ||
      !ReadPlotOptions(rest, options, err)) {
    PrintPlotUsage(err);
    return 2;
  }
  if (options.help) {
    PrintPlotUsage(out);
    return 0;
  }
  if (const std::string problem = MapFileProblem(options.overlays); !problem.empty()) return Fail(err, problem, 1);
  Session session;
  CollectingInterface ui;
  const bool opened = OpenBatchModel(options.modelPath, session, ui, open);
  ReportMessages(ui, err);
  if (!opened) return Fail(err, options.modelPath + " could not be opened", 1);
  if (const std::string problem = OutputPathProblem(options.outPath, session); !problem.empty())
    return Fail(err, problem, 1);
  if (const int status = ApplyTrackingOptionsToModel(tracking, session, ui, "plot", err)) return status;
  ParticleSet particles;
  bool allTracked = true;
  if (!TrackParticlesOfFile(tracking, session, particles, allTracked, err))
    return Fail(err, "the particles of " + tracking.particles + " were not tracked", 1);
  BatchViews views;
  if (!ApplyViewOptions(options, session, views.layout, err)) return 2;
  ApplyOverlayOptions(options.overlays, session.settings);
  if (!ApplyContourOptions(options, session, ui, err)) return 1;
  views.placement = ArrangeViews(views.layout, views.plan, views.rowSection, views.columnSection, session.settings,
                                 options.width, options.height);
  if (!views.layout.planShown) return Fail(err, "the drawing space is too small for the plan", 2);
  ColourFlood flood;
  if (!FloodOfOptions(options, session, flood, err)) return 1;
  const ColourFlood* shownFlood = options.flood ? &flood : nullptr;
  if (!DrawIntoViews(options, session, particles, views, shownFlood, err)) return 1;
  if (IsPictureFormat(options.format) &&
      !SavePicture(options, session, particles, views, shownFlood, err))
    return 1;
  out << "wrote " << options.outPath << "\n";
  const std::vector<std::string> missing = MissingFromPicture(session);
  for (const std::string& lack : missing) ReportPlotProblem(err, "drawn with " + lack);
  return missing.empty() && allTracked ? 0 : kPartialPicture;
}

}  // namespace kestra::cli
