#include "mf6/model.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <utility>

#include "core/model_paths.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "mf6/input_file.h"
#include "mf6/readers.h"

namespace kestra {
namespace {

constexpr const char* kListPackages[] = {"WEL", "RIV", "DRN", "GHB", "CHD"};
// Packages whose GWF budget terms tell by their sign where water leaves or
// enters the aquifer in their cells.
constexpr const char* kAdvancedPackages[] = {"MAW", "SFR", "LAK", "UZF"};
// Read for the open, or without effect on where particles go: their effect
// is in the face flows (HFB, GNC), they only observe or move water between
// packages whose terms are read, or they change density or viscosity that
// the flows already include.
const std::set<std::string> kAccountedPackages = {"DIS", "IC",  "NPF", "STO", "OC",  "RCH", "EVT", "HFB", "GNC",
                                                  "OBS", "MVR", "BUY", "VSC", "API", "CSUB"};

// The file of a name-file entry found case-insensitively in `folder`: "name.mpbas" for "NAME.MPBAS".
std::string FindInFolder(const std::string& folder, const std::string& fileName) {
  const std::string wanted = UpperCase(fileName);
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
    if (entry->is_regular_file(error) && UpperCase(entry->path().filename().string()) == wanted)
      return entry->path().string();
  return {};
}

// The MODPATH basic data file named like the model or its name file, or
// the one a MODPATH name file of that name lists.
std::string FindMpbas(const Mf6Model& model) {
  const std::string folder = FolderOf(model.nameFilePath);
  const std::string stem = std::filesystem::path(model.nameFilePath).stem().string();
  for (const std::string& base : {stem, model.modelName}) {
    if (std::string found = FindInFolder(folder, base + ".mpbas"); !found.empty()) return found;
  }
  for (const std::string& base : {stem, model.modelName}) {
    const std::string mpnam = FindInFolder(folder, base + ".mpnam");
    Mf6InputFile listing;
    std::string ignored;
    if (mpnam.empty() || !LoadMf6Lines(mpnam, listing, ignored)) continue;
    for (const Mf6Line& line : listing.lines) {
      const auto words = Mf6Words(line.text);
      if (words.size() >= 2 && UpperCase(words[0]) == "MPBAS") return Mf6Path(FolderOf(mpnam), words[1]);
    }
  }
  return {};
}

const Mf6FileEntry* FindPackage(const std::vector<Mf6FileEntry>& packages, const std::string& type) {
  const auto found =
      std::find_if(packages.begin(), packages.end(), [&](const Mf6FileEntry& e) { return e.type == type; });
  return found == packages.end() ? nullptr : &*found;
}

bool ChooseModel(const std::string& path, const std::string& wanted, Mf6Model& model, std::string& tdisPath,
                 std::string& problem) {
  std::vector<Mf6FileEntry> models;
  if (!ReadSimulationNameFile(path, tdisPath, models, problem)) return false;
  auto chosen = models.begin();
  if (!wanted.empty()) {
    chosen = std::find_if(models.begin(), models.end(),
                          [&](const Mf6FileEntry& m) { return UpperCase(m.name) == UpperCase(wanted); });
    if (chosen == models.end()) {
      problem = "the simulation holds no GWF model named " + wanted + ".";
      return false;
    }
  } else if (models.size() > 1) {
    std::string names;
    for (const auto& m : models) names += (names.empty() ? "" : ", ") + m.name;
    model.notes.push_back("The simulation holds" + NumberText(static_cast<int>(models.size())) +
                          " GWF models (" + names + "); the first, " + models.front().name + ", is opened.");
  }
  model.nameFilePath = chosen->path;
  model.modelName = chosen->name;
  return true;
}

// The simulation name file beside a GWF name file opened directly, for its TDIS file.
bool SimulationOfNameFile(const std::string& nameFilePath, Mf6Model& model, std::string& tdisPath,
                          std::string& problem) {
  const std::string simulation = FindInFolder(FolderOf(nameFilePath), "mfsim.nam");
  if (simulation.empty()) {
    problem = "no mfsim.nam lies beside the GWF name file " + nameFilePath + " to give its time discretization.";
    return false;
  }
  std::vector<Mf6FileEntry> models;
  if (!ReadSimulationNameFile(simulation, tdisPath, models, problem)) return false;
  model.nameFilePath = nameFilePath;
  model.modelName = std::filesystem::path(nameFilePath).stem().string();
  for (const auto& m : models)
    if (std::filesystem::path(m.path).filename() == std::filesystem::path(nameFilePath).filename()) model.modelName = m.name;
  return true;
}

bool ReadGrid(const std::vector<Mf6FileEntry>& packages, Mf6Model& model, PagedVector<int>& cellTypes,
              std::string& problem) {
  const Mf6FileEntry* dis = FindPackage(packages, "DIS");
  if (dis == nullptr) {
    problem = FindPackage(packages, "DISV") || FindPackage(packages, "DISU")
                  ? "the model's grid is not structured (DISV or DISU); only DIS grids are read."
                  : "the name file lists no DIS6 file.";
    return false;
  }
  const std::string grb = dis->path + ".grb";
  std::error_code error;
  model.gridFromBinaryFile = std::filesystem::exists(grb, error);
  if (model.gridFromBinaryFile) {
    model.inputFiles.push_back(grb);
    if (!ReadGridFile(grb, model.grid, model.connections, cellTypes, problem)) return false;
    // The place of the grid on the earth is only in the DIS file; without it the model is still usable.
    std::string placeProblem;
    ReadDiscretizationPlace(dis->path, model.grid, placeProblem);
    return true;
  }
  if (!ReadDiscretization(dis->path, model.grid, problem)) return false;
  model.connections = CellConnections(model.Shape(), model.grid.IDOMAIN);
  return true;
}

// LAYCON of each layer: convertible (3) when its first active cell is
// convertible (ICELLTYPE not 0), else confined.
void SetLayerTypes(const PagedVector<int>& cellTypes, Mf6Model& model) {
  const Mf6Grid& grid = model.grid;
  const std::size_t layerCells = static_cast<std::size_t>(grid.NCOL) * static_cast<std::size_t>(grid.NROW);
  model.LAYCON.assign(static_cast<std::size_t>(grid.NLAY) + 1, 0);
  for (int k = 1; k <= grid.NLAY; ++k) {
    for (std::size_t n = (k - 1) * layerCells; n < k * layerCells; ++n) {
      if (CellConnections::RoleOf(grid.IDOMAIN[n]) != CellConnections::Role::Inside) continue;
      model.LAYCON[k] = cellTypes[n] != 0 ? 3 : 0;
      break;
    }
  }
}

bool ReadStressPackages(const std::vector<Mf6FileEntry>& packages, Mf6Model& model, std::string& problem) {
  const int nper = model.stressPeriods.NPER;
  for (const Mf6FileEntry& entry : packages) {
    const std::string& type = entry.type;
    if (std::find(std::begin(kListPackages), std::end(kListPackages), type) != std::end(kListPackages)) {
      Mf6BoundaryPackage package;
      package.name = entry.name.empty() ? std::filesystem::path(entry.path).filename().string() : entry.name;
      if (!ReadListPackage(entry.path, type, model.grid, nper, package, model.notes, problem)) return false;
      model.boundaryPackages.push_back(std::move(package));
    } else if (std::find(std::begin(kAdvancedPackages), std::end(kAdvancedPackages), type) !=
               std::end(kAdvancedPackages)) {
      if (std::find(model.advancedPackages.begin(), model.advancedPackages.end(), type) == model.advancedPackages.end())
        model.advancedPackages.push_back(type);
    } else if (!kAccountedPackages.contains(type) &&
               std::find(model.unreadPackages.begin(), model.unreadPackages.end(), type) == model.unreadPackages.end()) {
      model.unreadPackages.push_back(type);
    }
  }
  model.hasRecharge = FindPackage(packages, "RCH") != nullptr;
  model.hasEvapotranspiration = FindPackage(packages, "EVT") != nullptr;
  return true;
}

bool ReadPorosity(Mf6Model& model, std::string& problem) {
  const std::string mpbas = FindMpbas(model);
  model.POROSITY.Dimension(model.Shape());
  model.porosityFromMpbas = !mpbas.empty();
  if (model.porosityFromMpbas) {
    model.inputFiles.push_back(mpbas);
    return ReadMpbas(mpbas, model.grid, model.defaultIface, model.POROSITY, problem);
  }
  const Mf6Grid& grid = model.grid;
  for (int k = 1; k <= grid.NLAY; ++k)
    for (int i = 1; i <= grid.NROW; ++i)
      for (int j = 1; j <= grid.NCOL; ++j) model.POROSITY(j, i, k) = kMf6DefaultPorosity;
  return true;
}

bool ReadModel(const std::string& path, const std::string& modelName, Mf6Model& model, std::string& problem) {
  model.simulationPath = path;
  std::string tdisPath;
  Mf6InputFile opened;
  if (!LoadMf6Input(path, opened, problem)) return false;
  const bool simulation = FindBlock(opened, "MODELS") != nullptr;
  if (!(simulation ? ChooseModel(path, modelName, model, tdisPath, problem)
                   : SimulationOfNameFile(path, model, tdisPath, problem)))
    return false;
  const std::string folder = FolderOf(simulation ? path : model.nameFilePath);
  std::vector<Mf6FileEntry> packages;
  PagedVector<int> cellTypes;
  if (!ReadGwfNameFile(model.nameFilePath, folder, packages, problem) ||
      !ReadTimeDiscretization(tdisPath, model.stressPeriods, problem))
    return false;
  model.inputFiles = {path, model.nameFilePath, tdisPath};
  for (const Mf6FileEntry& package : packages) model.inputFiles.push_back(package.path);
  if (!ReadGrid(packages, model, cellTypes, problem)) return false;
  const Mf6FileEntry* npf = FindPackage(packages, "NPF");
  if (npf == nullptr) {
    problem = "the name file lists no NPF6 file.";
    return false;
  }
  if (cellTypes.empty() && !ReadCellTypes(npf->path, model.grid, cellTypes, problem)) return false;
  SetLayerTypes(cellTypes, model);
  model.steadyState.assign(static_cast<std::size_t>(model.stressPeriods.NPER) + 1, true);
  if (const Mf6FileEntry* sto = FindPackage(packages, "STO");
      sto != nullptr && !ReadStorage(sto->path, model.stressPeriods.NPER, model.steadyState, problem))
    return false;
  const Mf6FileEntry* oc = FindPackage(packages, "OC");
  if (oc == nullptr || !ReadOutputControl(oc->path, folder, model.HeadPath, model.BudgetPath, problem)) {
    if (problem.empty()) problem = "the name file lists no OC6 file.";
    return false;
  }
  if (model.HeadPath.empty() || model.BudgetPath.empty()) {
    problem = "the output control saves no " + std::string(model.HeadPath.empty() ? "head" : "budget") +
              " file (HEAD FILEOUT, BUDGET FILEOUT).";
    return false;
  }
  return ReadStressPackages(packages, model, problem) && ReadPorosity(model, problem);
}

}  // namespace

bool IsMf6NameFile(const std::string& path) {
  Mf6InputFile file;
  std::string ignored;
  return LoadMf6Lines(path, file, ignored) && !file.lines.empty() &&
         UpperCase(Mf6Words(file.lines[0].text)[0]) == "BEGIN";
}

bool ReadMf6Model(const std::string& path, const std::string& modelName, const LayerPorosity& layerPorosity,
                  Mf6Model& model, std::string& problem) {
  Mf6Model read;
  if (!ReadModel(path, modelName, read, problem)) return false;
  if (ApplyLayerPorosity(layerPorosity, read.POROSITY) && !read.porosityFromMpbas)
    read.notes.push_back("No MODPATH basic data file (.mpbas) is named like the model: the porosity is 0.25 "
                         "wherever no layer porosity is set.");
  if (!read.unreadPackages.empty()) {
    std::string names;
    for (const auto& type : read.unreadPackages) names += (names.empty() ? "" : ", ") + type;
    read.notes.push_back("These packages of the name file are not read: " + names +
                         ". Flows they add to or take from cells are not taken into account (only the face flows "
                         "of the budget file are).");
  }
  model = std::move(read);
  return true;
}

bool IsMf6SinkCell(const std::string& kind, const Mf6BoundaryCell& cell) {
  if (kind == "CHD") return false;
  return kind == "WEL" ? cell.value < 0 : cell.value != 0;
}

void CopyMf6Model(Mf6Model&& model, OpenedModel& opened) {
  ModelState& state = opened.model;
  const Mf6Grid& grid = model.grid;
  DimensionModel(state, grid.NCOL, grid.NROW, grid.NLAY);
  for (int j = 1; j <= grid.NCOL; ++j) state.DELR[j] = static_cast<float>(grid.DELR[j - 1]);
  for (int i = 1; i <= grid.NROW; ++i) state.DELC[i] = static_cast<float>(grid.DELC[i - 1]);
  ComputeGridGeometry(state);
  SetWorldPosition(state, {grid.XORIGIN, grid.YORIGIN, grid.ANGROT, grid.crs});
  state.lengthUnit = LengthUnitNamed(grid.lengthUnits);
  std::size_t n = 0;
  const std::size_t layerCells = static_cast<std::size_t>(grid.NCOL) * static_cast<std::size_t>(grid.NROW);
  for (int k = 1; k <= grid.NLAY; ++k)
    for (int i = 1; i <= grid.NROW; ++i)
      for (int j = 1; j <= grid.NCOL; ++j, ++n) {
        const std::size_t above = n - layerCells;
        state.TOP(j, i, k) = static_cast<float>(k == 1 ? grid.TOP[n] : grid.BOTM[above]);
        state.BOT(j, i, k) = static_cast<float>(grid.BOTM[n]);
        state.IBOUND(j, i, k) = CellConnections::RoleOf(grid.IDOMAIN[n]) != CellConnections::Role::Outside ? 1 : 0;
      }
  state.IBOUND0 = state.IBOUND;
  state.POROSITY = std::move(model.POROSITY);
  state.LAYCON = model.LAYCON;
  state.ModelPath = model.simulationPath;
  state.ModelTitleName = std::filesystem::path(model.simulationPath).filename().string();
  state.HeadPath = model.HeadPath;
  state.BudgetPath = model.BudgetPath;
  state.InputFiles = model.inputFiles;
  opened.periods = model.stressPeriods;
  state.family = std::make_shared<Mf6Family>(std::move(model));
  // MODFLOW 6 writes 1E+30 outside the model and -1E+30 for dry cells.
  opened.HNOFLO = 1.0E+30f;
  opened.HDRY = -1.0E+30f;
}

}  // namespace kestra
