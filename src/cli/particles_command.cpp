// kestra-cli particles MODEL --out FILE [...]: particle groups placed as the
// placement dialog places them, over cells chosen by range, rectangle,
// boundary package or list, or read from a MODPATH 7 starting locations
// file, into a particle file that track and plot take.
#include <algorithm>
#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/mpsim_run.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "core/data_types.h"
#include "core/model_family.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "graphics/world_transform.h"
#include "tracking/particle_file.h"
#include "tracking/placement.h"
#include "tracking/placement_entries.h"

namespace kestra::cli {
namespace {

constexpr const char* kUsage =
    "usage: kestra-cli particles MODEL --out FILE [cells] [placement] [--colour N] [--retardation R]\n"
    "       kestra-cli particles MODEL --out FILE --starting-locations FILE.sloc\n"
    "\n"
    "Places particle groups as the window's placement dialog does and writes them into a\n"
    "particle file (\"KESTRA_V100_PARTICLES\", replaced) for track and plot.\n"
    "\n"
    "Cells (active cells only; one choice, by default every cell of --layer):\n"
    "  --layer K                 the layer of the cells (default 1; with --cells and\n"
    "                            --cells-file: only that layer)\n"
    "  --rows A:B --columns C:D  a range of rows and of columns (A alone for one)\n"
    "  --rectangle X1,Y1,X2,Y2   cells whose centres lie in the rectangle, in model units\n"
    "                            from the grid's upper-left corner, y downwards\n"
    "  --world-rectangle X1,Y1,X2,Y2  the same in world coordinates (the model's position)\n"
    "  --cells wells|drains|rivers|ghb|streams  the cells of a boundary package in the\n"
    "                            first stress period, every layer\n"
    "  --cells-file FILE.csv     cells listed one a line as layer,row,column\n"
    "Placement (default: four particles in each cell, two by two at mid-height):\n"
    "  --face N=AxB              A x B particles on face N (1..6: towards column J-1, J+1,\n"
    "                            row I-1, I+1, the top, the bottom); repeatable\n"
    "  --lattice NJxNIxNK        a lattice inside each cell: along the row, the column\n"
    "                            and in planes\n"
    "  --circle N,RADIUS,PLANES  N particles on a circle of RADIUS model units round each\n"
    "                            cell centre, in PLANES planes (0..100)\n"
    "  --colour N                particle colour (red + 256 green + 65536 blue, default 255)\n"
    "  --retardation R           retardation factor, above 0 (default 1)\n"
    "  --starting-locations FILE.sloc  a MODPATH 7 starting locations file instead\n";

constexpr const char* kExitStatus =
    "\nExit status: 0 written, 1 the model, a cell list or the output could not be used or\n"
    "no particle was placed, 2 wrong arguments.\n";

struct CellRange {
  int first = 0;
  int last = 0;
};

struct ParticlesOptions {
  std::string model, out, cellsFile, startingLocations;
  std::optional<int> layer;
  std::optional<CellRange> rows, columns;
  std::optional<PlanRectangle> rectangle, worldRectangle;
  std::optional<int> packageType;
  PlacementCounts counts = SuggestedPlacementCounts();
  bool countsGiven = false;
  double retardation = 1;
  std::int32_t colour = 255;
  OpenChoices open;
};

// `count` whole numbers, each in low..high.
std::optional<std::vector<int>> WholeNumbersOf(const std::vector<std::string>& parts, std::size_t count, int low,
                                               int high) {
  if (parts.size() != count) return std::nullopt;
  std::vector<int> numbers;
  for (const std::string& part : parts) {
    const auto number = ParseWholeNumber(part, low, high);
    if (!number) return std::nullopt;
    numbers.push_back(*number);
  }
  return numbers;
}

std::optional<std::vector<int>> WholeNumbers(const std::string& text, char separator, std::size_t count, int low,
                                             int high) {
  return WholeNumbersOf(SplitText(text, separator), count, low, high);
}

constexpr int kLargestIndex = 32767;

bool ReadRange(const std::string& text, std::optional<CellRange>& range) {
  const std::vector<std::string> parts = SplitText(text, ':');
  const auto first = ParseWholeNumber(parts.front(), 1, kLargestIndex);
  const auto last = parts.size() == 2 ? ParseWholeNumber(parts.back(), 1, kLargestIndex) : first;
  if (parts.size() > 2 || !first || !last || *last < *first) return false;
  range = CellRange{*first, *last};
  return true;
}

bool ReadRectangle(const std::string& text, std::optional<PlanRectangle>& rectangle) {
  const std::vector<std::string> parts = SplitText(text, ',');
  if (parts.size() != 4) return false;
  float corners[4];
  for (int n = 0; n < 4; ++n) {
    const auto value = ParseNumber(parts[n]);
    if (!value || !std::isfinite(*value)) return false;
    corners[n] = static_cast<float>(*value);
  }
  rectangle = PlanRectangle{corners[0], corners[1], corners[2], corners[3]};
  return true;
}

bool ReadPackage(const std::string& text, std::optional<int>& type) {
  const struct {
    const char* name;
    int dataType;
  } packages[] = {{"wells", data_type::kWells},
                  {"drains", data_type::kDrains},
                  {"rivers", data_type::kRivers},
                  {"ghb", data_type::kGeneralHead},
                  {"streams", data_type::kStreams}};
  for (const auto& package : packages)
    if (text == package.name) type = package.dataType;
  return type.has_value();
}

void StartCountsOnce(ParticlesOptions& o) {
  if (!o.countsGiven) o.counts = PlacementCounts{};
  o.countsGiven = true;
}

bool ReadFace(const std::string& text, ParticlesOptions& o) {
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) return false;
  const auto face = ParseWholeNumber(text.substr(0, equals), 1, 6);
  const auto counts = WholeNumbers(text.substr(equals + 1), 'x', 2, 0, kLargestIndex);
  if (!face || !counts) return false;
  StartCountsOnce(o);
  o.counts.faces[*face - 1] = {static_cast<std::int16_t>((*counts)[0]), static_cast<std::int16_t>((*counts)[1])};
  return true;
}

using CountField = std::int16_t PlacementCounts::*;

// Three counts separated by `separator` into the three fields of the placement.
bool ReadThreeCounts(const std::string& text, char separator, const CountField (&fields)[3], ParticlesOptions& o) {
  const auto counts = WholeNumbers(text, separator, 3, 0, kLargestIndex);
  if (!counts) return false;
  StartCountsOnce(o);
  for (int n = 0; n < 3; ++n) o.counts.*fields[n] = static_cast<std::int16_t>((*counts)[n]);
  return true;
}

constexpr CountField kLatticeFields[3] = {&PlacementCounts::latticeColumns, &PlacementCounts::latticeRows,
                                          &PlacementCounts::latticePlanes};
constexpr CountField kCircleFields[3] = {&PlacementCounts::circleCount, &PlacementCounts::circleRadius,
                                         &PlacementCounts::circlePlanes};

bool ReadText(const std::string& text, std::string& value) {
  value = text;
  return !text.empty();
}

// One option with its value; false on an unknown option or a bad value.
bool ReadOption(const std::string& name, const std::string& value, ParticlesOptions& o) {
  if (name == "--out") return ReadText(value, o.out);
  if (name == "--layer") return (o.layer = ParseWholeNumber(value, 1, kLargestIndex)).has_value();
  if (name == "--rows") return ReadRange(value, o.rows);
  if (name == "--columns") return ReadRange(value, o.columns);
  if (name == "--rectangle") return ReadRectangle(value, o.rectangle);
  if (name == "--world-rectangle") return ReadRectangle(value, o.worldRectangle);
  if (name == "--cells") return ReadPackage(value, o.packageType);
  if (name == "--cells-file") return ReadText(value, o.cellsFile);
  if (name == "--starting-locations") return ReadText(value, o.startingLocations);
  if (name == "--face") return ReadFace(value, o);
  if (name == "--lattice") return ReadThreeCounts(value, 'x', kLatticeFields, o);
  if (name == "--circle") return ReadThreeCounts(value, ',', kCircleFields, o);
  if (name == "--colour") {
    const auto colour = ParseWholeNumber(value, 0, 0xFFFFFF);
    if (colour) o.colour = *colour;
    return colour.has_value();
  }
  if (name == "--retardation") {
    const auto retardation = ParseNumber(value);
    if (retardation) o.retardation = *retardation;
    return retardation.has_value();
  }
  return false;
}

int CellChoices(const ParticlesOptions& o) {
  return (o.rows || o.columns) + o.rectangle.has_value() + o.worldRectangle.has_value() + o.packageType.has_value() +
         !o.cellsFile.empty() + !o.startingLocations.empty();
}

bool ParseArguments(const Arguments& args, ParticlesOptions& o, std::ostream& err) {
  for (std::size_t n = 0; n < args.size(); ++n) {
    const std::string& arg = args[n];
    if (!arg.starts_with("--") && o.model.empty()) {
      o.model = arg;
      continue;
    }
    const bool hasValue = n + 1 < args.size();
    if (hasValue && ReadOption(arg, args[n + 1], o)) {
      ++n;
      continue;
    }
    err << "kestra-cli particles: " << (arg.starts_with("--") && hasValue ? "bad option or value: " : "unknown option ")
        << arg << (hasValue && arg.starts_with("--") ? " " + args[n + 1] : "") << "\n";
    return false;
  }
  if (o.model.empty() || o.out.empty()) {
    err << "kestra-cli particles: MODEL and --out are needed\n";
    return false;
  }
  if (CellChoices(o) > 1) {
    err << "kestra-cli particles: one choice of cells: --rows/--columns, --rectangle, --world-rectangle, --cells, "
           "--cells-file or --starting-locations\n";
    return false;
  }
  return true;
}

bool IsActive(const ModelState& model, CellIndex cell) {
  return model.Shape().Contains(cell.column, cell.row, cell.layer) &&
         model.IBOUND(cell.column, cell.row, cell.layer) > 0;
}

CellIndex Cell(int column, int row, int layer) {
  return {static_cast<std::int16_t>(column), static_cast<std::int16_t>(row), static_cast<std::int16_t>(layer)};
}

// The active cells of the layer within the ranges, rows outer, columns inner.
std::vector<CellIndex> CellsInRanges(const ModelState& model, const ParticlesOptions& o, int layer) {
  const CellRange rows = o.rows.value_or(CellRange{1, model.NROW});
  const CellRange columns = o.columns.value_or(CellRange{1, model.NCOL});
  std::vector<CellIndex> cells;
  for (int i = rows.first; i <= std::min(rows.last, model.NROW); ++i)
    for (int j = columns.first; j <= std::min(columns.last, model.NCOL); ++j)
      if (IsActive(model, Cell(j, i, layer))) cells.push_back(Cell(j, i, layer));
  return cells;
}

std::vector<CellIndex> CellsInWorldRectangle(const ModelState& model, PlanRectangle r, int layer) {
  const ModelOrigin origin = PlotOrigin(model);
  std::vector<CellIndex> cells;
  for (int i = 1; i <= model.NROW; ++i)
    for (int j = 1; j <= model.NCOL; ++j) {
      const WorldPoint centre = PlanToWorld(origin, model.XCENTER[j], model.YCENTER[i]);
      if (IsActive(model, Cell(j, i, layer)) && std::min(r.Xa, r.Xb) <= centre.x && centre.x <= std::max(r.Xa, r.Xb) &&
          std::min(r.Ya, r.Yb) <= centre.y && centre.y <= std::max(r.Ya, r.Yb))
        cells.push_back(Cell(j, i, layer));
    }
  return cells;
}

std::vector<CellIndex> PackageCells(const ModelState& model, int dataType, std::optional<int> onlyLayer) {
  const ModelFamily& family = FamilyOf(model);
  std::vector<CellIndex> cells;
  if (!family.SimulatesPackage(model, dataType)) return cells;
  for (int k = onlyLayer.value_or(1); k <= onlyLayer.value_or(model.NLAY); ++k) {
    LayerValues values;
    if (!family.ReadPackageLayer(dataType, k, 1, values)) continue;
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j)
        if (values(j, i) != 0 && IsActive(model, Cell(j, i, k))) cells.push_back(Cell(j, i, k));
  }
  return cells;
}

// The cells of a list "layer,row,column" a line (blanks also separate; a
// first line that is not a cell and lines starting with # are skipped).
// False, with the file and line on `err`, for a cell that is no cell of the grid.
bool ListedCells(const std::string& path, const ModelState& model, std::optional<int> onlyLayer,
                 std::vector<CellIndex>& cells, std::ostream& err) {
  const std::string prefix = "kestra-cli particles: ";
  if (const std::string problem = TextInputProblem(path, "a cell list"); !problem.empty()) {
    err << prefix << problem << "\n";
    return false;
  }
  const std::optional<std::string> text = ReadTextFile(path);
  int lineNumber = 0;
  for (const std::string& rawLine : SplitText(text.value_or(""), '\n')) {
    ++lineNumber;
    std::string line = Trimmed(rawLine);
    if (line.empty() || line.starts_with("#")) continue;
    // Blanks and tabs separate the numbers as commas do.
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; }, ',');
    std::vector<std::string> fields = SplitText(line, ',');
    std::erase(fields, std::string());
    const auto numbers = WholeNumbersOf(fields, 3, -kLargestIndex, kLargestIndex);
    const bool header = lineNumber == 1 && !std::isdigit(static_cast<unsigned char>(line.front()));
    if (header) continue;
    if (!numbers || !model.Shape().Contains((*numbers)[2], (*numbers)[1], (*numbers)[0])) {
      err << prefix << path << ", line " << lineNumber << ": '" << Trimmed(rawLine) << "' is no layer,row,column"
          << " within the grid's" << NumberText(model.NLAY) << " layers," << NumberText(model.NROW) << " rows and"
          << NumberText(model.NCOL) << " columns\n";
      return false;
    }
    const CellIndex cell = Cell((*numbers)[2], (*numbers)[1], (*numbers)[0]);
    if ((!onlyLayer || cell.layer == *onlyLayer) && IsActive(model, cell)) cells.push_back(cell);
  }
  return true;
}

bool ChosenCells(const ParticlesOptions& o, const ModelState& model, std::vector<CellIndex>& cells, std::ostream& err) {
  const int layer = o.layer.value_or(1);
  if (o.packageType)
    cells = PackageCells(model, *o.packageType, o.layer);
  else if (!o.cellsFile.empty())
    return ListedCells(o.cellsFile, model, o.layer, cells, err);
  else if (o.rectangle)
    cells = SelectedCells(model, *o.rectangle, layer);
  else if (o.worldRectangle)
    cells = CellsInWorldRectangle(model, *o.worldRectangle, layer);
  else
    cells = CellsInRanges(model, o, layer);
  return true;
}

// The placement of every cell, layer by layer in the order the cells came.
std::vector<ParticleRecord> PlaceOverCells(const Session& session, const ParticleSet& set,
                                           const std::vector<CellIndex>& cells, const PlacementCounts& counts) {
  std::vector<ParticleRecord> placed;
  for (std::size_t start = 0; start < cells.size();) {
    std::size_t end = start;
    while (end < cells.size() && cells[end].layer == cells[start].layer) ++end;
    const std::vector<CellIndex> run(cells.begin() + static_cast<std::ptrdiff_t>(start),
                                     cells.begin() + static_cast<std::ptrdiff_t>(end));
    const std::vector<ParticleRecord> particles =
        PlacementParticles(session.model, session.settings, set, run, counts, cells[start].layer);
    placed.insert(placed.end(), particles.begin(), particles.end());
    start = end;
  }
  return placed;
}

int Place(const ParticlesOptions& o, std::ostream& err) {
  const std::string prefix = "kestra-cli particles: ";
  const PlacementCheck check =
      CheckPlacementEntries(o.retardation, o.counts.circleCount, o.counts.circleRadius, o.counts.circlePlanes);
  if (!check.message.empty()) {
    err << prefix << check.message << "\n";
    return 2;
  }
  Session session;
  PrintingInterface ui(err, "particles");
  if (!OpenBatchModel(o.model, session, ui, o.open)) {
    err << prefix << o.model << " could not be opened\n";
    return 1;
  }
  if (o.layer && *o.layer > session.model.NLAY) {
    err << prefix << "--layer" << NumberText(*o.layer) << " lies beyond the" << NumberText(session.model.NLAY)
        << " layers of the model\n";
    return 2;
  }
  if (const std::string problem = OutputPathProblem(o.out, session); !problem.empty()) {
    err << prefix << problem << "\n";
    return 1;
  }
  ParticleSet set;
  set.DefaultParticleColor = o.colour;
  set.DefaultRetardation = o.retardation;
  std::string where;
  if (!o.startingLocations.empty()) {
    Mp7Labels labels;
    if (!ReadStartingLocationsFile(o.startingLocations, session, set, labels, err)) return 1;
    where = "from " + o.startingLocations;
  } else {
    std::vector<CellIndex> cells;
    if (!ChosenCells(o, session.model, cells, err)) return 1;
    set.Particles = PlaceOverCells(session, set, cells, o.counts);
    where = "in" + NumberText(static_cast<int>(cells.size())) + " active cells";
  }
  if (set.Particles.empty()) {
    err << prefix << "no particle was placed " << where << "; nothing was written\n";
    return 1;
  }
  if (!WriteParticleFile(o.out, set, ui)) return 1;
  err << "placed" << NumberText(set.ParticleCount()) << " particles " << where << "; particle file " << o.out << "\n";
  return 0;
}

}  // namespace

int ParticlesCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage << kOpenUsage << kExitStatus;
    return 0;
  }
  ParticlesOptions options;
  Arguments rest = args;
  if (!TakeOpenOptions(rest, options.open, err) || !ParseArguments(rest, options, err)) {
    err << kUsage << kOpenUsage << kExitStatus;
    return 2;
  }
  return Place(options, err);
}

}  // namespace kestra::cli
