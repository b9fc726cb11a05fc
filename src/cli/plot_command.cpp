// kestra-cli plot MODEL --out FILE: the plan view and the cross-sections of a
// model drawn as the window draws them, into a DXF, HPGL or PNG file.
#include <filesystem>
#include <ostream>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/plot_options.h"
#include "core/number_format.h"
#include "graphics/contour_table_edits.h"
#include "graphics/contours.h"
#include "graphics/plan_view.h"
#include "graphics/view_arrangement.h"
#include "input/package_layer_source.h"
#include "render/raster_picture.h"
#include "render/view_image.h"

namespace kestra::cli {
namespace {

int Fail(std::ostream& err, const std::string& reason, int code) {
  ReportPlotProblem(err, reason);
  return code;
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
    }
  }
  if (options.levels)
    RebuildLevels(session.contours, options.levels->minimum, options.levels->maximum, options.levels->interval,
                  GridDiagonal(session.model));
  if (IsOn(settings.contourDisplay) &&
      !ContourSource(session.model, settings, session.loaded.drawdownsLoaded)) {
    ReportPlotProblem(err, "the model has no drawdowns to contour");
    return false;
  }
  return true;
}

// The stroke font of the labels, beside the program or in its data folder;
// without it the lines are drawn unlabelled.
StrokeFont LabelFont() {
  StrokeFont font;
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path path = FindStrokeFontFile(error ? std::filesystem::path(".") : program.parent_path());
  std::string reason;
  if (!path.empty()) LoadStrokeFont(path, font, reason);
  return font;
}

const char* PlotFormatName(PlotFileFormat format) {
  switch (format) {
    case PlotFileFormat::Dxf: return kPlotFormatDxf;
    case PlotFileFormat::Hpgl: return kPlotFormatHpgl;
    case PlotFileFormat::Png: return kPlotFormatBitmap;
  }
  return kPlotFormatBitmap;
}

// The three pictures of the main window, drawn off the screen.
struct BatchViews {
  RasterPicture plan, rowSection, columnSection;
  ViewLayout layout;
  ViewPlacement placement;
  PlotDevice device;
};

// Draws the model as the window redraws it, with the plot file open for DXF
// and HPGL; false when the file cannot be written.
bool DrawIntoViews(const PlotOptions& options, Session& session, BatchViews& views) {
  PlotDevice& device = views.device;
  device.PlotFormat = PlotFormatName(options.format);
  device.PlotFileName = options.outPath;
  device.PlotToFile = options.format != PlotFileFormat::Png;
  device.IncludeLowerXsection = IsOn(session.settings.includeLowerXsection);
  device.IncludeRightXsection = IsOn(session.settings.includeRightXsection);
  if (!OpenPlotFile(device, views.layout.zoom)) return false;
  const PackageLayerReader packages = MakePackageLayerReader(session);
  SilentInterface ui;
  DrawInputs inputs{session.settings, packages, ui};
  // The environment options let the grid into plots with the grid switch.
  inputs.gridPlotSwitch = IsOn(session.settings.showMesh);
  inputs.headsLoaded = session.loaded.headsLoaded;
  // A plot gets contours only when they are switched on.
  const StrokeFont font = LabelFont();
  const ContourInputs contours{session.settings, session.contours, font, ui, session.busy};
  if (IsOn(session.settings.contourDisplay))
    inputs.drawOverlays = [&](PlotContext& overlay) {
      DrawContours(overlay, contours, *ContourSource(session.model, session.settings, session.loaded.drawdownsLoaded));
    };
  PlotContext context{views.plan, views.rowSection, views.columnSection, device, session.model, views.layout};
  DrawModel(context, inputs, session.model.CurrentLayer);
  return ClosePlotFile(device);
}

bool SavePng(const BatchViews& views, const std::string& path) {
  const QImage image = ComposeViews(views.plan, views.rowSection, views.columnSection, views.layout, views.placement);
  return !image.isNull() && image.save(QString::fromStdString(path), "PNG");
}

}  // namespace

int PlotCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  PlotOptions options;
  if (!ReadPlotOptions(args, options, err)) {
    PrintPlotUsage(err);
    return 2;
  }
  if (options.help) {
    PrintPlotUsage(out);
    return 0;
  }
  Session session;
  CollectingInterface ui;
  const bool opened = OpenBatchModel(options.modelPath, session, ui);
  for (const std::string& message : ui.messages) ReportPlotProblem(err, message);
  if (!opened) return Fail(err, options.modelPath + " could not be opened", 1);
  BatchViews views;
  if (!ApplyViewOptions(options, session, views.layout, err)) return 2;
  if (!ApplyContourOptions(options, session, ui, err)) return 1;
  views.placement = ArrangeViews(views.layout, views.plan, views.rowSection, views.columnSection, session.settings,
                                 options.width, options.height);
  if (!views.layout.planShown) return Fail(err, "the drawing space is too small for the plan", 2);
  if (!DrawIntoViews(options, session, views)) return Fail(err, "cannot write " + options.outPath, 1);
  if (options.format == PlotFileFormat::Png && !SavePng(views, options.outPath))
    return Fail(err, "cannot write " + options.outPath, 1);
  out << "wrote " << options.outPath << "\n";
  return 0;
}

}  // namespace kestra::cli
