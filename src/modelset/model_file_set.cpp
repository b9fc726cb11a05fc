#include "modelset/model_file_set.h"

#include "core/data_types.h"
#include "core/fixed_tables.h"
#include "core/model_paths.h"
#include "core/sink_codes.h"
#include "modelset/cell_values.h"
#include "modelset/layer_files.h"
#include "modelset/model_array.h"
#include "modelset/model_file.h"
#include "modelset/stress_period_file.h"

namespace kestra {
namespace {

constexpr std::int16_t kSimulated = 2;  // the DataFlags code of a package the model uses

// A boundary data type and the DataFlags entry that says its package is simulated.
struct PackageDataType {
  int type;
  int flagRow;
  int flagColumn;
  const char* packageKey;  // null for the data types that mark no sinks
  bool sinkWhenNegativeOnly;
};

constexpr PackageDataType kPackageDataTypes[] = {
    {data_type::kWells, 3, 2, "WEL", true},
    {data_type::kDrains, 3, 3, "DRN", false},
    {data_type::kRivers, 3, 4, "RIV", false},
    {data_type::kStreams, 3, 8, "STR", false},
    {data_type::kGeneralHead, 3, 6, "GHB", false},
    {data_type::kBarriers, 6, 4, nullptr, false},
    {data_type::kReservoirLocations, 6, 7, nullptr, false},
    {data_type::kReservoirLayers, 6, 7, nullptr, false},
};

const PackageDataType* FindDataType(int dataType) {
  for (const PackageDataType& entry : kPackageDataTypes)
    if (entry.type == dataType) return &entry;
  return nullptr;
}

bool Uses(const ModelState& state, const PackageDataType& entry) {
  return state.DataFlags(entry.flagRow, entry.flagColumn) == kSimulated;
}

// Marks the sinks of one data type in every layer; false at the first layer
// that cannot be read.
bool MarkSinks(ModelState& state, const ModelArraySource& source, const PackageDataType& entry, UserInterface& ui) {
  LayerGrid grid;
  grid.Dimension(state.NCOL, state.NROW);
  for (int k = 1; k <= state.NLAY; ++k) {
    if (!ReadModelArray(source, entry.type, state.CurrentPeriod, k, grid, 0.0f, ui)) return false;
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j) {
        const float value = grid(j, i);
        if (entry.sinkWhenNegativeOnly ? value < 0 : value != 0) state.SINKCODE(j, i, k) = kBoundarySink;
      }
  }
  return true;
}

// Reads layer `layer` of `type` (stress period 1, default 0) into every cell
// of `target`, through `convert`.
template <typename T, typename Convert>
bool ReadLayers(const ModelArraySource& source, int type, ModelState& model, CellArray<T>& target, Convert convert,
                UserInterface& ui) {
  LayerGrid grid;
  grid.Dimension(model.NCOL, model.NROW);
  for (int k = 1; k <= model.NLAY; ++k) {
    if (!ReadModelArray(source, type, 1, k, grid, 0.0f, ui)) return false;
    CopyLayer(grid, k, target, convert);
  }
  return true;
}

bool ReadGridWidths(const ModelArraySource& source, ModelState& model, UserInterface& ui, const OpenStage& stage) {
  LayerGrid widths, heights;
  widths.Dimension(model.NCOL, 1);
  if (!ReadModelArray(source, data_type::kColumnWidths, 1, 1, widths, 0.0f, ui)) return false;
  for (int j = 1; j <= model.NCOL; ++j) model.DELR[j] = widths(j, 1);
  stage(1);
  // The row heights are stored as one row of NROW values.
  heights.Dimension(model.NROW, 1);
  if (!ReadModelArray(source, data_type::kRowHeights, 1, 1, heights, 0.0f, ui)) return false;
  for (int i = 1; i <= model.NROW; ++i) model.DELC[i] = heights(i, 1);
  ComputeGridGeometry(model);
  if (!model.origin.isSet) SetDefaultOrigin(model);
  stage(2);
  return true;
}

// Grid widths, boundary codes, elevations and porosity: without any of them
// there is no model to show.
bool ReadGridArrays(const ModelArraySource& source, ModelState& model, UserInterface& ui, const OpenStage& stage) {
  if (!ReadGridWidths(source, model, ui, stage)) return false;
  if (!ReadLayers(source, data_type::kBoundary, model, model.IBOUND, BoundaryCode, ui)) return false;
  model.IBOUND0 = model.IBOUND;
  stage(3);
  if (!ReadLayers(source, data_type::kTop, model, model.TOP, AsRead, ui)) return false;
  stage(4);
  if (!ReadLayers(source, data_type::kBottom, model, model.BOT, AsRead, ui)) return false;
  stage(5);
  if (!ReadLayers(source, data_type::kPorosity, model, model.POROSITY, StoredPorosity, ui)) return false;
  stage(6);
  return true;
}

}  // namespace

std::string ModelFileSetFamily::SiblingPath(const std::string& extension) const {
  return ModelBasePath(modelPath_) + extension;
}

PackageKeys ModelFileSetFamily::ListedBoundaryPackages(const ModelState& state) const {
  PackageKeys listed;
  for (const PackageDataType& entry : kPackageDataTypes)
    if (entry.packageKey && Uses(state, entry)) listed.insert(entry.packageKey);
  return listed;
}

bool ModelFileSetFamily::MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui,
                                           bool showMessages) const {
  SilentInterface silent;
  UserInterface& messages = showMessages ? ui : silent;
  const ModelArraySource source{ModelBasePath(modelPath_), state.Shape()};
  bool allRead = true;
  for (const PackageDataType& entry : kPackageDataTypes)
    if (entry.packageKey && Uses(state, entry) && !skipped.contains(entry.packageKey))
      allRead = MarkSinks(state, source, entry, messages) && allRead;
  return allRead;
}

bool ModelFileSetFamily::SimulatesPackage(const ModelState& state, int dataType) const {
  const PackageDataType* entry = FindDataType(dataType);
  return entry && Uses(state, *entry);
}

// Arrays the model lacks are not worth a message while drawing.
bool ModelFileSetFamily::ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const {
  if (!FindDataType(dataType) || layer < 1 || layer > grid_.nlay) return false;
  const ModelArraySource source{ModelBasePath(modelPath_), grid_};
  LayerGrid grid;
  grid.Dimension(grid_.ncol, grid_.nrow);
  SilentInterface silent;
  if (!ReadModelArray(source, dataType, period, layer, grid, 0.0f, silent)) return false;
  values.Clear(grid_);
  for (int i = 1; i <= grid.nrow; ++i)
    for (int j = 1; j <= grid.ncol; ++j) values(j, i) = grid(j, i);
  return true;
}

BudgetArealTerms ModelFileSetFamily::ArealTermsInBudget(const ModelState& state) const {
  // DataFlags(3, 7) and (3, 5): the model simulates recharge or evapotranspiration.
  return {state.DataFlags(3, 7) == kSimulated, state.DataFlags(3, 5) == kSimulated};
}

namespace {

// The model file, the files named after it and the result files beside it.
std::vector<std::string> ModelFileSetInputs(const std::string& path, const ModelState& model) {
  const std::string base = ModelBasePath(path);
  std::vector<std::string> files = {path, base + ".LMK", base + ".TRA", base + ".L", base + ".RCD",
                                    model.BudgetPath, model.HeadPath, model.DrawdownPath};
  for (const std::string& extension : DataFileExtensions())
    if (!extension.empty()) files.push_back(base + extension);
  return files;
}

}  // namespace

bool OpenModelFileSet(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                      UserInterface& ui, const OpenStage& stage) {
  if (!FileExists(path)) {
    Complain(ui, "File " + path + " not found!", MessageIcon::Error, kErrorTitle);
    return false;
  }
  ModelFileValues values;
  if (!ReadModelFile(path, values, ui)) return false;
  OpenedModel read;
  ModelState& model = read.model;
  DimensionModel(model, values.NCOL, values.NROW, values.NLAY);
  model.DataFlags = values.DataFlags;
  model.ModelPath = path;
  model.ModelTitleName = FileNameOf(path);
  model.family = std::make_shared<ModelFileSetFamily>(path, model.Shape());
  const std::string base = ModelBasePath(path);
  ReadPositionFile(base + ".LMK", model.origin);
  // Default periods in place of a table that cannot be read would track in
  // the wrong time.
  if (!ReadStressPeriodFile(base + ".TRA", read.periods, ui)) return false;
  ReadLayerTypes(base + ".L", model.NLAY, model.LAYCON, ui);
  model.BudgetPath = BesideFile(path, "BUDGET.DAT");
  model.HeadPath = BesideFile(path, "HEADS.DAT");
  model.DrawdownPath = BesideFile(path, "DDOWN.DAT");
  model.InputFiles = ModelFileSetInputs(path, model);
  stage(0);
  const ModelArraySource source{base, model.Shape()};
  if (!ReadGridArrays(source, model, ui, stage)) return false;
  ApplyLayerPorosity(choices.layerPorosity, model.POROSITY);
  opened = std::move(read);
  return true;
}

}  // namespace kestra
