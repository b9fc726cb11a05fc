// kestra-cli export KIND MODEL ... --out FILE: one layer's results of a time
// step as the window's text exports write them or as a GeoTIFF, the layer's
// contour lines and cells as GIS layers, the grid for ParaView, and the
// pathlines and end points of a run (tracked as kestra-cli track tracks).
#include <cmath>
#include <ostream>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "cli/time_step_option.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "core/world_position.h"
#include "export/export_formats.h"
#include "export/gis_writer.h"
#include "session/result_files.h"

namespace kestra::cli {
namespace {

constexpr const char* kUsage =
    "usage: kestra-cli export heads|drawdowns|velocity|contours|grid MODEL --out FILE [--layer K]\n"
    "                         [--period P --step S] [--format F]\n"
    "       kestra-cli export pathlines|endpoints MODEL --particles FILE --out FILE [--format F]\n"
    "                         [tracking options as for track]\n"
    "Writes the results of one layer (default: layer 1) of a time step of a model file (.mdl)\n"
    "or name-file model, in world coordinates: x east, y north, z the elevation, in the\n"
    "model's length unit, placed as the model, its settings file or --origin, --rotation\n"
    "and --crs say.\n"
    "  heads, drawdowns  a text array (a line with the column and row counts, then every row,\n"
    "                    ten 15-character values to a line) or a GeoTIFF (tif): pixels of the\n"
    "                    smallest column and row width (other widths resampled), no data in\n"
    "                    inactive, dry and no-flow cells\n"
    "  velocity          a text array of the speeds, then the J, I and K components\n"
    "  contours          the contour lines of the heads or drawdowns the settings choose, at the\n"
    "                    levels of the model's contour file, with their level and layer\n"
    "  grid              one polygon per cell of the layer with IBOUND, top, bottom, head,\n"
    "                    drawdown, porosity and boundary packages; or (vtu) the whole grid as\n"
    "                    hexahedra for ParaView\n"
    "  pathlines         one line per particle and direction (vtp: VTK poly data for ParaView)\n"
    "  endpoints         the end points, and the release points beside them\n"
    "                    (a GeoPackage holds both as layers; other formats get FILE_release_points)\n"
    "  --out FILE        the file written (replaced)\n"
    "  --format F        text, tif, gpkg (GeoPackage), shp (shapefile and .prj), geojson (WGS 84\n"
    "                    longitude and latitude), csv (geometry as WKT), vtu or vtp; by default\n"
    "                    from the extension of FILE (a text array for heads and drawdowns\n"
    "                    unless it is .tif; a GeoPackage without an extension)\n"
    "  --layer K         the layer written (not for vtu, pathlines and endpoints)\n"
    "  --period P        the stress period (default: the first; --step defaults to 1)\n"
    "  --step S          the time step within the period\n"
    "  --porosity LIST, --model NAME, --origin X,Y, --rotation DEG, --crs CRS  as for info\n"
    "Exit status: 0 written, 1 the model, the results of the step (loaded whole), the coordinate\n"
    "reference system or the file could not be used, nothing written; 2 wrong arguments.\n";

struct ExportOptions {
  ExportKind kind = ExportKind::Heads;
  std::string model, out;
  std::optional<ExportFormat> format;
  int layer = 1;
  TimeStepChoice time;
  OpenChoices open;
};

std::optional<ExportKind> KindNamed(const std::string& word) {
  if (word == "heads") return ExportKind::Heads;
  if (word == "drawdowns") return ExportKind::Drawdowns;
  if (word == "velocity") return ExportKind::Velocity;
  if (word == "contours") return ExportKind::Contours;
  if (word == "grid") return ExportKind::Grid;
  return std::nullopt;
}

std::optional<int> Count(const std::string& text) {
  const auto value = ParseNumber(text);
  if (!value || *value != std::floor(*value) || *value < 1 || *value > 32767) return std::nullopt;
  return static_cast<int>(*value);
}

bool Refuse(std::ostream& err, const std::string& reason) {
  err << "kestra-cli export: " << reason << "\n";
  return false;
}

int Fail(std::ostream& err, const std::string& reason, int code) {
  Refuse(err, reason);
  return code;
}

bool ReadValue(const std::string& option, const std::string& value, ExportOptions& o) {
  if (option == "--out") return !(o.out = value).empty();
  if (option == "--format") return (o.format = ExportFormatNamed(value)).has_value();
  if (option == "--layer") return (o.layer = Count(value).value_or(0)) > 0;
  if (option == "--period") return (o.time.period = Count(value)).has_value();
  if (option == "--step") return (o.time.step = Count(value)).has_value();
  return false;
}

bool ReadArguments(const Arguments& args, ExportOptions& o, std::ostream& err) {
  const auto kind = KindNamed(args[0]);
  if (!kind)
    return Refuse(err, "cannot export '" + args[0] +
                           "': heads, drawdowns, velocity, contours, grid, pathlines or endpoints");
  o.kind = *kind;
  for (std::size_t n = 1; n < args.size(); ++n) {
    const std::string& word = args[n];
    if (!word.starts_with("-")) {
      if (!o.model.empty()) return Refuse(err, "more than one model given");
      o.model = word;
      continue;
    }
    if (n + 1 >= args.size() || !ReadValue(word, args[n + 1], o))
      return Refuse(err, "bad option or value: " + word + (n + 1 < args.size() ? " " + args[n + 1] : ""));
    ++n;
  }
  if (o.model.empty() || o.out.empty()) return Refuse(err, "MODEL and --out are needed");
  if (o.time.step && !o.time.period) return Refuse(err, "--step needs --period");
  if (!o.format) o.format = DefaultFormat(o.kind, o.out);
  if (!o.format) return Refuse(err, "the extension of " + o.out + " names no format; say which with --format");
  if (!FormatFits(o.kind, *o.format))
    return Refuse(err, args[0] + " cannot be written as " + ExportFormatWord(*o.format));
  return true;
}

int Export(const ExportOptions& o, std::ostream& out, std::ostream& err) {
  Session session;
  CollectingInterface ui;
  const auto reportMessages = [&] {
    for (const std::string& message : ui.messages) err << "kestra-cli export: " << message << "\n";
    ui.messages.clear();
  };
  const bool opened = OpenBatchModel(o.model, session, ui, o.open);
  reportMessages();
  if (!opened) return Fail(err, o.model + " could not be opened", 1);
  if (o.layer > session.model.NLAY)
    return Fail(err, "--layer" + NumberText(o.layer) + " lies beyond the" + NumberText(session.model.NLAY) +
                         " layers of the model", 2);
  if (const std::string problem = OutputPathProblem(o.out, session); !problem.empty()) return Fail(err, problem, 1);
  if (const std::string problem = CrsProblem(PositionOf(session.model).crs); !problem.empty())
    return Fail(err, problem, 1);
  const bool stepFound = LoadChosenTimeStep(o.time, session, ui, "export", err);
  reportMessages();
  if (!stepFound) return 1;
  // An array of what did not load would pass for results: nothing is written.
  if (const std::string missing = MissingResults(session, o.kind, *o.format); !missing.empty())
    return Fail(err, missing + " of the time step could not be loaded whole; " + o.out + " was not written", 1);
  std::string error;
  const bool written = WriteLayerExport(session, o.kind, *o.format, o.layer, o.out, ui, error);
  reportMessages();
  if (!written) return Fail(err, "cannot write " + error, 1);
  out << "wrote " << o.out << "\n";
  return 0;
}

// The pathlines or end points of a run: kestra-cli track with the file as
// its pathline or end point file, in the format asked or implied.
int ExportTracked(const Arguments& args, std::ostream& out, std::ostream& err) {
  const bool pathlines = args[0] == "pathlines";
  Arguments rest(args.begin() + 1, args.end());
  std::optional<std::string> file;
  std::optional<ExportFormat> format;
  for (std::size_t n = 0; n + 1 < rest.size(); ++n) {
    if (rest[n] != "--out" && rest[n] != "--format") continue;
    if (rest[n] == "--out")
      file = rest[n + 1];
    else if (!(format = ExportFormatNamed(rest[n + 1])))
      return Fail(err, "bad option or value: --format " + rest[n + 1], 2);
    rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(n), rest.begin() + static_cast<std::ptrdiff_t>(n) + 2);
    --n;
  }
  if (!file) return Fail(err, "--out is needed", 2);
  if (!format) format = ExportFormatOfPath(*file);
  const bool fits = format && FormatFits(pathlines ? ExportKind::Pathlines : ExportKind::Endpoints, *format);
  if (!fits) return Fail(err, args[0] + " cannot be written as " + (format ? ExportFormatWord(*format) : *file), 2);
  rest.insert(rest.end(), {pathlines ? "--out" : "--endpoints", *file, "--format", ExportFormatWord(*format)});
  return TrackCommand(rest, out, err);
}

}  // namespace

int ExportCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage;
    return 0;
  }
  if (args.empty()) {
    Refuse(err,
           "say what to export: heads, drawdowns, velocity, contours, grid, pathlines or endpoints");
    err << kUsage;
    return 2;
  }
  if (args[0] == "pathlines" || args[0] == "endpoints") return ExportTracked(args, out, err);
  ExportOptions options;
  Arguments rest = args;
  if (!TakeOpenOptions(rest, options.open, err) || !ReadArguments(rest, options, err)) {
    err << kUsage;
    return 2;
  }
  return Export(options, out, err);
}

}  // namespace kestra::cli
