// kestra-cli capture MODEL --well L,R,C ... --times LIST --out ZONES: the
// capture zone and the time-of-travel zones of wells, from particles
// released on the faces of the wells' cells and tracked backward.
#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "cli/track_output.h"
#include "cli/track_progress.h"
#include "cli/tracking_options.h"
#include "core/number_format.h"
#include "core/round_numbers.h"
#include "core/text_reader.h"
#include "core/world_position.h"
#include "export/capture_zone_dxf.h"
#include "export/capture_zones.h"
#include "export/export_formats.h"
#include "export/gis_writer.h"
#include "export/source_cells.h"
#include "session/result_files.h"
#include "session/time_step_results.h"
#include "tracking/capture_tracking.h"
#include "tracking/travel_times.h"

namespace kestra::cli {
namespace {

constexpr const char* kUsage =
    "usage: kestra-cli capture MODEL (--well L,R,C ... | --wells all | --source L,R,C ... | --source-polygon FILE)\n"
    "                  [--times LIST] --out ZONES [options]\n"
    "\n"
    "Releases particles on the faces of every cell of each well's screen, tracks them\n"
    "backward with the model's tracking settings and writes, for each well, the area whose\n"
    "water reaches it within each travel time and its whole capture zone, as polygons\n"
    "(GeoPackage, shapefile, GeoJSON or CSV by the extension of ZONES) with the well, the\n"
    "travel time, the area, the particle count and whether the zone is complete; a .dxf\n"
    "ZONES holds them as closed polylines on a layer per time (ZONE_365.25, CAPTURE_ZONE),\n"
    "which kestra-cli plot --map lays over the plan. From a source instead of wells, the\n"
    "particles start on the top faces of its cells and go forward: the zones are the area\n"
    "its water reaches within each time.\n"
    "\n"
    "  --well L,R,C              a pumping well's cell; L1-L2,R,C for a screen over layers\n"
    "                            L1 to L2 (repeatable: one zone set per well)\n"
    "  --wells all               every pumping well of the stress period, adjacent layers\n"
    "                            of one column and row as one screen\n"
    "  --source L,R,C            a cell of a contaminant source (repeatable, L1-L2 for\n"
    "                            several layers): all given cells form one source\n"
    "  --source-polygon FILE     a source drawn as polygons (GIS file in the model's world\n"
    "                            coordinates): the uppermost wet cell under each polygon\n"
    "  --times LIST              travel times, increasing, separated by commas: in the\n"
    "                            model's time unit, or each with its unit (50d,1y,5y: s,\n"
    "                            min, h, d, y)\n"
    "  --face-particles N        each face of a well cell divided N x N, a particle at the\n"
    "                            centre of each part (default 4, 1 to 50)\n"
    "  --pixel D                 side of the raster the paths are marked on (default a\n"
    "                            quarter of the narrowest column or row)\n"
    "  --gap D                   paths this far apart are joined into one zone (default the\n"
    "                            narrowest column or row)\n"
    "  --per-layer               also the zones of each layer (attribute layer, else null)\n"
    "  --paths FILE              also write the pathlines (GIS or VTK by the extension)\n"
    "  --threads N               particles tracked at once (default: the processor's cores)\n"
    "  --quiet                   no progress on the error stream\n";

struct CaptureOptions {
  std::string model, out, paths;
  std::vector<std::string> wells;  // as given
  bool allWells = false;
  std::vector<std::string> sourceCells;  // as given
  std::string sourcePolygons;
  bool perLayer = false;
  std::string times;
  int faceDivisions = 4;
  std::optional<double> pixel, gap;
  int threads = 0;
  bool quiet = false;
  TrackingOptions tracking;
  OpenChoices open;
};

bool ParseCount(const std::string& text, int least, int most, int& value) {
  const auto number = ParseWholeNumber(text, least, most);
  if (number) value = *number;
  return number.has_value();
}

bool ParseLength(const std::string& text, std::optional<double>& value) {
  const auto number = ParseFiniteNumber(text);
  if (!number || !(*number > 0)) return false;
  value = *number;
  return true;
}

bool ParseOption(const std::string& name, const std::string& value, CaptureOptions& o) {
  if (name == "--out") return o.out = value, true;
  if (name == "--paths") return o.paths = value, true;
  if (name == "--well") return o.wells.push_back(value), true;
  if (name == "--wells") return o.allWells = value == "all";
  if (name == "--source") return o.sourceCells.push_back(value), true;
  if (name == "--source-polygon") return o.sourcePolygons = value, true;
  if (name == "--times") return o.times = value, true;
  if (name == "--face-particles") return ParseCount(value, 1, kMostFaceDivisions, o.faceDivisions);
  if (name == "--pixel") return ParseLength(value, o.pixel);
  if (name == "--gap") return ParseLength(value, o.gap);
  if (name == "--threads") return ParseCount(value, 0, kMostThreads, o.threads);
  return false;
}

bool Refuse(std::ostream& err, const std::string& reason) {
  err << "kestra-cli capture: " << reason << "\n";
  return false;
}

std::optional<int> LayerNumber(const std::string& text) { return ParseWholeNumber(text, 1, 32767); }

// "L,R,C" or "L1-L2,R,C" as the cells of a screen; nothing for another text.
std::optional<WellScreen> ScreenOf(const std::string& text) {
  const std::size_t first = text.find(','), second = text.find(',', first + 1);
  if (first == std::string::npos || second == std::string::npos) return std::nullopt;
  const std::string layers = text.substr(0, first);
  const std::size_t dash = layers.find('-');
  const auto top = LayerNumber(layers.substr(0, dash));
  const auto bottom = dash == std::string::npos ? top : LayerNumber(layers.substr(dash + 1));
  const auto row = LayerNumber(text.substr(first + 1, second - first - 1));
  const auto column = LayerNumber(text.substr(second + 1));
  if (!top || !bottom || !row || !column || *bottom < *top) return std::nullopt;
  WellScreen screen;
  for (int k = *top; k <= *bottom; ++k)
    screen.cells.push_back(
        {static_cast<std::int16_t>(*column), static_cast<std::int16_t>(*row), static_cast<std::int16_t>(k)});
  return screen;
}

bool ParseArguments(const Arguments& args, CaptureOptions& o, std::ostream& err) {
  Arguments rest = args;
  if (!TakeOpenOptions(rest, o.open, err) || !TakeTrackingOptions(rest, o.tracking, "capture", err)) return false;
  for (std::size_t n = 0; n < rest.size(); ++n) {
    const std::string& arg = rest[n];
    if (arg == "--quiet" || arg == "--per-layer") {
      (arg == "--quiet" ? o.quiet : o.perLayer) = true;
      continue;
    }
    if (!arg.starts_with("--") && o.model.empty()) {
      o.model = arg;
      continue;
    }
    const bool hasValue = n + 1 < rest.size();
    if ((arg == "--well" || arg == "--source") && hasValue && !ScreenOf(rest[n + 1]))
      return Refuse(err, arg + " " + rest[n + 1] + ": give LAYER,ROW,COLUMN or L1-L2,ROW,COLUMN");
    if (hasValue && ParseOption(arg, rest[n + 1], o)) {
      ++n;
      continue;
    }
    return Refuse(err, "bad option or value: " + arg + (hasValue ? " " + rest[n + 1] : ""));
  }
  if (!o.tracking.particles.empty()) return Refuse(err, "the particles start at the wells: no --particles");
  if (o.model.empty() || o.out.empty()) return Refuse(err, "MODEL and --out are needed");
  const int starts =
      !o.wells.empty() + o.allWells + !o.sourceCells.empty() + !o.sourcePolygons.empty();
  if (starts != 1)
    return Refuse(err, "give the wells by --well L,R,C or --wells all, or a source by --source L,R,C or "
                       "--source-polygon FILE: one of them");
  return true;
}

// The wells asked for, each cell checked for a pumping well in the period.
std::optional<std::vector<WellScreen>> ChosenWells(const CaptureOptions& o, const ModelState& state,
                                                   std::ostream& err) {
  const int period = state.CurrentPeriod;
  if (o.allWells) {
    std::vector<WellScreen> wells = PumpingWells(state, period);
    if (wells.empty()) Refuse(err, "no well pumps in stress period " + std::to_string(period));
    return wells.empty() ? std::nullopt : std::optional(wells);
  }
  std::vector<WellScreen> wells;
  for (const std::string& text : o.wells) {
    const auto screen = ScreenOf(text);  // checked with the arguments
    if (const std::string problem = WellScreenProblem(state, period, *screen); !problem.empty())
      return Refuse(err, "--well " + text + ": " + problem), std::nullopt;
    wells.push_back(*screen);
  }
  return wells;
}

// The source given by cells or polygons, as one screen named "source".
std::optional<std::vector<WellScreen>> ChosenSource(const CaptureOptions& o, const ModelState& state,
                                                    std::ostream& err) {
  WellScreen source{{}, "source"};
  std::string error;
  if (!o.sourcePolygons.empty() && !SourceCellsOfPolygons(state, o.sourcePolygons, source.cells, error))
    return Refuse(err, "--source-polygon " + error), std::nullopt;
  for (const std::string& text : o.sourceCells) {
    const WellScreen given = *ScreenOf(text);  // checked with the arguments
    for (const CellIndex cell : given.cells) {
      if (!state.IBOUND.shape.Contains(cell.column, cell.row, cell.layer) ||
          state.IBOUND(cell.column, cell.row, cell.layer) == 0)
        return Refuse(err, "--source " + text + ": " + CellText(cell) + " is no active cell of the grid"),
               std::nullopt;
      source.cells.push_back(cell);
    }
  }
  return std::vector<WellScreen>{source};
}

void ReportZones(const std::vector<CaptureZone>& zones, const Session& session, std::ostream& err) {
  const std::string unit = LengthUnitSymbol(session.model.lengthUnit);
  for (const CaptureZone& zone : zones) {
    err << ZoneOwnerText(zone) << ", " << ZoneTimeText(zone, session.periods.timeUnit)
        << ": " << PlainText(zone.area)
        << (unit.empty() ? "" : " " + unit + "\u00b2") << " in " << zone.polygons.size() << " part"
        << (zone.polygons.size() == 1 ? "" : "s");
    if (!zone.Complete())
      err << "; incomplete:" << NumberText(zone.stoppedShort) << " of" << NumberText(zone.particles)
          << " particles stopped before the time";
    err << "\n";
  }
}

struct CaptureFormats {
  bool dxf = false;  // the zones as a drawing, else as GIS polygons
  GisFormat zones = GisFormat::GeoPackage;
  ExportFormat paths = ExportFormat::GeoPackage;  // with --paths
};

// The formats of the files to write, by their extensions; nothing, with the
// reason on `err`, for a file that cannot hold what goes into it.
std::optional<CaptureFormats> OutputFormats(const CaptureOptions& o, std::ostream& err) {
  CaptureFormats formats;
  formats.dxf = IsDxfPath(o.out);
  const auto out = ExportFormatOfPath(o.out);
  const auto zones = out ? VectorFormatOf(*out) : std::nullopt;
  if (!zones && !formats.dxf)
    return Refuse(err, "--out " + o.out + ": zones go into a .gpkg, .shp, .geojson, .csv or .dxf file"), std::nullopt;
  if (zones) formats.zones = *zones;
  if (o.paths.empty()) return formats;
  const auto paths = ExportFormatOfPath(o.paths);
  if (!paths || !FormatFits(ExportKind::Pathlines, *paths))
    return Refuse(err, "--paths " + o.paths + ": pathlines go into a .gpkg, .shp, .geojson, .csv or .vtp file"),
           std::nullopt;
  formats.paths = *paths;
  return formats;
}

int Capture(const CaptureOptions& o, std::ostream& err) {
  Session session;
  PrintingInterface ui(err, "capture");
  if (!OpenBatchModel(o.model, session, ui, o.open)) return Refuse(err, o.model + " could not be opened"), 1;
  if (const int status = ApplyTrackingOptionsToModel(o.tracking, session, ui, "capture", err)) return status;
  if (const std::string problem = FlowFieldProblem(session); !problem.empty()) return Refuse(err, problem), 1;
  std::string problem;
  const auto times = ParseTravelTimes(o.times, session.periods.timeUnit, problem);
  if (!times) return Refuse(err, "--times: " + problem), 2;
  const auto formats = OutputFormats(o, err);
  if (!formats) return 2;
  if (const std::string bad = OutputPathsProblem({o.out, o.paths}, session); !bad.empty()) return Refuse(err, bad), 1;
  if (const std::string bad = CrsProblem(PositionOf(session.model).crs); !bad.empty()) return Refuse(err, bad), 1;
  const bool fromSource = !o.sourceCells.empty() || !o.sourcePolygons.empty();
  const auto wells = fromSource ? ChosenSource(o, session.model, err) : ChosenWells(o, session.model, err);
  if (!wells) return 1;
  SavedSteps held;
  if (!CheckUnsavedSteps(session, fromSource ? 1 : -1, ui, held)) return 1;

  const int threads = ThreadsToUse(o.threads);
  ModelStepLoader loader(session.settings, session.tracking, ui);
  TrackProgress progress(err, o.quiet);
  const auto started = [&](int particles) { progress.Start(fromSource ? "forward" : "backward", particles, {}); };
  const auto progressed = [&](const BatchCounts& counts) { progress.Update(counts); };
  CaptureRun run{session.model, session.settings, session.tracking, session.periods, session.busy, ui,
                 loader,        threads,          started,          progressed};
  const double narrowest = NarrowestCellWidth(session.model);
  const ZoneSettings settings{*times, o.pixel.value_or(narrowest / kPixelsPerNarrowestCell), o.gap.value_or(narrowest),
                              o.perLayer};
  WellRelease release;
  release.divisions = o.faceDivisions;
  release.fromSource = fromSource;
  CaptureTracks tracks;
  std::vector<CaptureZone> zones;
  const bool built = CaptureZonesOfWells(run, *wells, release, settings, tracks, zones, problem);
  progress.Finish();
  if (!built) return Refuse(err, problem), 1;
  std::string error;
  if (!o.paths.empty() &&
      !WritePathlineExport(o.paths, formats->paths, session.model, AllPaths(tracks), AllEndpoints(tracks), nullptr,
                           error))
    return Refuse(err, "cannot write " + error), 1;
  const bool written = formats->dxf ? WriteCaptureZoneDxf(o.out, CaptureZoneLayer(session.model, zones), error)
                                    : WriteCaptureZoneExport(o.out, formats->zones, session.model, zones, error);
  if (!written) return Refuse(err, "cannot write " + error), 1;
  ReportZones(zones, session, err);
  const bool complete = std::all_of(zones.begin(), zones.end(), [](const CaptureZone& z) { return z.Complete(); });
  return complete ? 0 : 3;
}

}  // namespace

int CaptureCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage << kTrackingUsage << kOpenUsage;
    return 0;
  }
  CaptureOptions options;
  if (!ParseArguments(args, options, err)) {
    err << kUsage;
    return 2;
  }
  return Capture(options, err);
}

}  // namespace kestra::cli
