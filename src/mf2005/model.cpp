#include "mf2005/model.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "mf2005/flopy_header.h"
#include "mf2005/name_file_kinds.h"
#include "mf2005/packages.h"

namespace kestra {
namespace {

constexpr const char* kDefaultPorosityNote =
    "No MODPATH basic data file (.mpbas) lies beside the name file: the porosity is 0.25 wherever no layer "
    "porosity is set.";
constexpr const char* kListPackages[] = {"WEL", "RIV", "DRN", "GHB", "STR", "CHD"};
constexpr const char* kConstantHead = "CHD";
constexpr const char* kFlowPackages[] = {"LPF", "UPW", "BCF6"};

bool OpenPackage(const Mf2005Files& files, const std::string& fileType, PackageInput& input, std::string& problem) {
  const NameFileEntry* entry = FindFileType(files.nameFile, fileType);
  if (entry == nullptr) {
    problem = "the name file lists no " + fileType + " file.";
    return false;
  }
  if (!LoadTextFile(entry->path, input.file)) {
    problem = "the " + fileType + " file " + entry->path + " is missing or cannot be read.";
    return false;
  }
  input.unit = entry->unit;
  return true;
}

const char* FlowPackageOf(const Mf2005NameFile& nameFile) {
  for (const char* fileType : kFlowPackages)
    if (FindFileType(nameFile, fileType) != nullptr) return fileType;
  return nullptr;
}

// The path of a result file's unit; false when the unit is not in the name file.
bool ResultPath(const Mf2005NameFile& nameFile, int unit, std::string& path) {
  const NameFileEntry* entry = unit > 0 ? FindUnit(nameFile, unit) : nullptr;
  if (entry == nullptr) return false;
  path = entry->path;
  return true;
}

bool ReadGridAndLayers(Mf2005Files& files, Mf2005Model& model, bool& freeFormat, int& budgetUnit,
                       std::string& problem) {
  PackageInput dis;
  PackageInput bas;
  if (!OpenPackage(files, "DIS", dis, problem) || !ReadDiscretization(dis, files, model, problem) ||
      !OpenPackage(files, "BAS6", bas, problem) || !ReadBasic(bas, files, model, freeFormat, problem))
    return false;
  float gridLength = 0;  // as the grid's row edges add the widths up
  for (int i = 1; i <= model.NROW; ++i) gridLength += model.DELC[i];
  const FlopyPlace place = ReadFlopyPlace(files.nameFile.headerComments, gridLength);
  model.position = place.position;
  if (model.lengthUnit == LengthUnit::Undefined) model.lengthUnit = place.lengthUnit;
  const char* flowPackage = FlowPackageOf(files.nameFile);
  if (flowPackage == nullptr) {
    problem = "the name file lists no flow package (LPF, UPW or BCF6).";
    return false;
  }
  PackageInput flow;
  if (!OpenPackage(files, flowPackage, flow, problem) ||
      !ReadFlowPackage(flowPackage, flow, freeFormat, model, budgetUnit, problem))
    return false;
  if (!ResultPath(files.nameFile, budgetUnit, model.BudgetPath)) {
    problem = std::string("the ") + flowPackage + " file saves no cell-by-cell budget to a file of the name file.";
    return false;
  }
  return true;
}

bool ReadResultPaths(Mf2005Files& files, bool freeFormat, Mf2005Model& model, std::string& problem) {
  PackageInput oc;
  int headUnit = 0;
  int drawdownUnit = 0;
  if (!OpenPackage(files, "OC", oc, problem) ||
      !ReadOutputControl(oc, freeFormat, headUnit, drawdownUnit, problem))
    return false;
  if (!ResultPath(files.nameFile, headUnit, model.HeadPath)) {
    problem = "the output control saves no heads to a file of the name file.";
    return false;
  }
  ResultPath(files.nameFile, drawdownUnit, model.DrawdownPath);
  return true;
}

bool ReadStressPackages(Mf2005Files& files, bool freeFormat, int budgetUnit, Mf2005Model& model,
                        std::string& problem) {
  for (const char* fileType : kListPackages) {
    if (FindFileType(files.nameFile, fileType) == nullptr) continue;
    PackageInput input;
    BoundaryPackage package;
    package.fileType = fileType;
    if (!OpenPackage(files, fileType, input, problem) || !ReadListPackage(input, files, freeFormat, model, package, problem))
      return false;
    model.boundaryPackages.push_back(std::move(package));
  }
  PackageInput input;
  if (FindFileType(files.nameFile, "RCH") != nullptr &&
      !(OpenPackage(files, "RCH", input, problem) && ReadRecharge(input, files, freeFormat, model, problem)))
    return false;
  int evapotranspirationUnit = 0;
  if (FindFileType(files.nameFile, "EVT") != nullptr &&
      !(OpenPackage(files, "EVT", input, problem) &&
        ReadEvapotranspiration(input, files, freeFormat, model, evapotranspirationUnit, problem)))
    return false;
  // With IEVTCB 0 (or another file) the budget holds no ET: it is computed.
  model.hasEvapotranspiration = evapotranspirationUnit > 0 && evapotranspirationUnit == budgetUnit;
  if (model.hasEvapotranspiration) model.evapotranspiration.clear();
  return true;
}

// The MODPATH basic data file named like the name file, in any letter case.
std::string FindMpbasFile(const std::string& nameFilePath) {
  const std::filesystem::path nameFile(nameFilePath);
  const std::string wanted = UpperCase(nameFile.stem().string() + ".mpbas");
  const std::filesystem::path folder = nameFile.has_parent_path() ? nameFile.parent_path() : ".";
  // The error-code forms throughout: an unreadable folder entry ends the
  // search instead of the program.
  std::error_code error;
  for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error))
    if (entry->is_regular_file(error) && UpperCase(entry->path().filename().string()) == wanted)
      return entry->path().string();
  return {};
}

bool ReadPorosity(Mf2005Files& files, Mf2005Model& model, std::string& problem) {
  const std::string mpbasPath = FindMpbasFile(files.nameFile.path);
  if (mpbasPath.empty()) {
    model.POROSITY.Dimension(model.Shape());
    std::fill(model.POROSITY.values.begin(), model.POROSITY.values.end(), kDefaultPorosity);
    model.porosityFromMpbas = false;
    return true;
  }
  PackageInput input;
  if (!LoadTextFile(mpbasPath, input.file)) {
    problem = "the MODPATH basic data file " + mpbasPath + " cannot be read.";
    return false;
  }
  model.porosityFromMpbas = true;
  model.inputFiles.push_back(mpbasPath);
  return ReadMpbasPorosity(input, files, model, problem);
}

bool ReadModel(const std::string& nameFilePath, Mf2005Model& model, std::string& problem) {
  Mf2005Files files;
  if (!ReadMf2005NameFile(nameFilePath, files.nameFile, problem)) return false;
  if (!IsMf2005NameFile(files.nameFile)) {
    problem = "the name file must list a DIS and a BAS6 file.";
    return false;
  }
  model.nameFilePath = nameFilePath;
  model.unreadPackages = UnreadPackages(files.nameFile);
  model.otherLetterCase = files.nameFile.otherLetterCase;
  model.inputFiles = {nameFilePath};
  for (const NameFileEntry& entry : files.nameFile.entries) model.inputFiles.push_back(entry.path);
  bool freeFormat = false;
  int budgetUnit = 0;
  return ReadGridAndLayers(files, model, freeFormat, budgetUnit, problem) &&
         ReadResultPaths(files, freeFormat, model, problem) &&
         ReadStressPackages(files, freeFormat, budgetUnit, model, problem) && ReadPorosity(files, model, problem);
}

}  // namespace

bool ReadMf2005Model(const std::string& nameFilePath, Mf2005Model& model, UserInterface& ui,
                     const LayerPorosity& layerPorosity) {
  Hourglass hourglass(ui);
  Mf2005Model read;
  std::string problem;
  if (!ReadModel(nameFilePath, read, problem)) {
    Complain(ui, "The MODFLOW model " + nameFilePath + " cannot be imported:\n" + problem, MessageIcon::Exclamation,
             kApplicationTitle);
    return false;
  }
  if (ApplyLayerPorosity(layerPorosity, read.POROSITY) && !read.porosityFromMpbas)
    ui.ShowMessage(kDefaultPorosityNote, MessageIcon::Information, kApplicationTitle);
  if (!read.unreadPackages.empty())
    ui.ShowMessage(UnreadPackagesText(read.unreadPackages), MessageIcon::Exclamation, kApplicationTitle);
  if (!read.otherLetterCase.empty())
    ui.ShowMessage(OtherLetterCaseText(read.otherLetterCase), MessageIcon::Information, kApplicationTitle);
  model = std::move(read);
  return true;
}

namespace {

// MODFLOW makes a cell listed by CHD fixed-head from that stress period on,
// for the rest of the run; an inactive cell stays inactive.
void FixConstantHeadCells(const BoundaryPackage& package, ModelState& state) {
  for (int period = 1; period <= state.CurrentPeriod; ++period) {
    const auto* cells = package.CellsOf(period);
    if (cells == nullptr) continue;
    for (const auto& cell : *cells) {
      std::int16_t& code = state.IBOUND(cell.column, cell.row, cell.layer);
      code = static_cast<std::int16_t>(-std::abs(code));
    }
  }
}

// MODFLOW's ET flow of one cell (negative: out of the groundwater) at `head`.
float EvapotranspirationFlow(const EvapotranspirationPeriod& et, std::size_t n, float head) {
  const float surface = et.surface[n];
  const float extinction = surface - et.extinctionDepth[n];
  if (head <= extinction) return 0.0f;
  if (head >= surface) return -et.maxFlow[n];
  return -et.maxFlow[n] * (head - extinction) / et.extinctionDepth[n];
}

}  // namespace

bool IsSinkCell(const std::string& fileType, const BoundaryCell& cell) {
  // An injection well (positive rate) is a source, not a sink; a
  // constant-head cell is a fixed-head cell instead.
  if (fileType == kConstantHead) return false;
  return fileType == "WEL" ? cell.value < 0 : cell.value != 0;
}

void CopyMf2005Model(Mf2005Model model, OpenedModel& opened) {
  ModelState& state = opened.model;
  DimensionModel(state, model.NCOL, model.NROW, model.NLAY);
  state.DELR = std::move(model.DELR);
  state.DELC = std::move(model.DELC);
  ComputeGridGeometry(state);
  SetDefaultOrigin(state);
  if (model.position) SetWorldPosition(state, *model.position);
  state.lengthUnit = model.lengthUnit;
  state.IBOUND0 = model.IBOUND;
  state.IBOUND = std::move(model.IBOUND);
  state.TOP = std::move(model.TOP);
  state.BOT = std::move(model.BOT);
  state.POROSITY = std::move(model.POROSITY);
  state.LAYCON = std::move(model.LAYCON);
  state.ModelPath = model.nameFilePath;
  state.ModelTitleName = std::filesystem::path(model.nameFilePath).filename().string();
  state.HeadPath = model.HeadPath;
  state.DrawdownPath = model.DrawdownPath;
  state.BudgetPath = model.BudgetPath;
  state.family = std::make_shared<Mf2005Family>(model);
  state.InputFiles = std::move(model.inputFiles);
  opened.HNOFLO = model.HNOFLO;
  opened.HDRY = model.HDRY;
  opened.periods = model.stressPeriods;
}

bool MarkMf2005Sinks(ModelState& state, const std::vector<BoundaryPackage>& packages, const PackageKeys& skipped) {
  bool allHeld = true;
  for (const auto& package : packages) {
    if (package.fileType == kConstantHead) FixConstantHeadCells(package, state);
    const auto* cells = package.CellsOf(state.CurrentPeriod);
    allHeld = allHeld && cells != nullptr;
    if (cells == nullptr || skipped.contains(package.fileType)) continue;
    for (const auto& cell : *cells)
      if (IsSinkCell(package.fileType, cell)) state.SINKCODE(cell.column, cell.row, cell.layer) = -1;
  }
  return allHeld;
}

namespace {

// Zeroes `target`, then hands the data of CurrentPeriod to `place` for every
// column and row with its index in the per-period vectors. True without
// data; false, with `target` all 0, when CurrentPeriod is not one of them.
template <typename Period, typename Place>
bool PlaceCurrentPeriod(const ModelState& state, const std::vector<Period>& periods, CellArray<float>& target,
                        const Place& place) {
  std::fill(target.values.begin(), target.values.end(), 0.0f);
  const int period = state.CurrentPeriod;
  if (periods.empty()) return true;
  if (period < 1 || period >= static_cast<int>(periods.size())) return false;
  for (int i = 1; i <= state.NROW; ++i)
    for (int j = 1; j <= state.NCOL; ++j)
      place(periods[period], j, i, static_cast<std::size_t>(i - 1) * state.NCOL + j - 1);
  return true;
}

}  // namespace

bool PlaceMf2005Recharge(ModelState& state, const std::vector<RechargePeriod>& recharge) {
  return PlaceCurrentPeriod(state, recharge, state.QRECH,
                            [&](const RechargePeriod& recharge, int j, int i, std::size_t n) {
                              if (recharge.layer[n] > 0) state.QRECH(j, i, recharge.layer[n]) = recharge.flow[n];
                            });
}

bool PlaceMf2005Evapotranspiration(ModelState& state, const std::vector<EvapotranspirationPeriod>& periods) {
  return PlaceCurrentPeriod(
      state, periods, state.QET,
      [&](const EvapotranspirationPeriod& et, int j, int i, std::size_t n) {
        const int layer = ArealLayer(state.IBOUND, et.layer[n] == 0 ? 3 : 2, et.layer[n], j, i);
        if (layer > 0) state.QET(j, i, layer) = EvapotranspirationFlow(et, n, state.HEAD(j, i, layer));
      });
}

}  // namespace kestra
