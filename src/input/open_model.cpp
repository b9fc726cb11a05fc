#include "input/open_model.h"

#include "input/cell_values.h"
#include "input/layer_files.h"
#include "input/model_array.h"
#include "input/model_file.h"
#include "input/model_loading.h"
#include "input/model_paths.h"
#include "input/stress_period_file.h"
#include "settings/settings_file.h"

namespace kestra {
namespace {

// A fresh session for the model file: dimensions, flags, names, position,
// settings, stress periods, tracking time settings, layer types, result paths.
Session NewModelSession(const std::string& path, const ModelFileValues& values, UserInterface& ui) {
  Session loaded;
  ModelState& model = loaded.model;
  DimensionModel(model, values.NCOL, values.NROW, values.NLAY);
  model.DataFlags = values.DataFlags;
  model.ModelPath = path;
  model.ModelTitleName = FileNameOf(path);
  ResetModelDefaults(model, loaded.busy);
  const std::string base = ModelBasePath(path);
  ReadPositionFile(base + ".LMK", model.origin);
  loaded.settingsPath = base + ".ini";
  ReadSettings(loaded.settingsPath, loaded.settings, ui);
  ClampSectionsToGrid(loaded.settings, model.NCOL, model.NROW);
  ReadStressPeriodFile(base + ".TRA", loaded.periods, ui);
  ReadTimeSettings(loaded.settingsPath, loaded.periods.timeUnit, loaded.tracking);
  ReadLayerTypes(base + ".L", model.NLAY, model.LAYCON, ui);
  model.BudgetPath = BesideFile(path, "BUDGET.DAT");
  model.HeadPath = BesideFile(path, "HEADS.DAT");
  model.DrawdownPath = BesideFile(path, "DDOWN.DAT");
  return loaded;
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

bool ReadGridWidths(const ModelArraySource& source, ModelState& model, UserInterface& ui, LoadingDisplay& display) {
  LayerGrid widths, heights;
  widths.Dimension(model.NCOL, 1);
  if (!ReadModelArray(source, data_type::kColumnWidths, 1, 1, widths, 0.0f, ui)) return false;
  for (int j = 1; j <= model.NCOL; ++j) model.DELR[j] = widths(j, 1);
  display.Stage(1);
  // The row heights are stored as one row of NROW values.
  heights.Dimension(model.NROW, 1);
  if (!ReadModelArray(source, data_type::kRowHeights, 1, 1, heights, 0.0f, ui)) return false;
  for (int i = 1; i <= model.NROW; ++i) model.DELC[i] = heights(i, 1);
  ComputeGridGeometry(model);
  if (!model.origin.isSet) SetDefaultOrigin(model);
  display.Stage(2);
  return true;
}

// Grid widths, boundary codes, elevations and porosity: without any of them
// there is no model to show.
bool ReadGridArrays(const ModelArraySource& source, ModelState& model, UserInterface& ui, LoadingDisplay& display) {
  if (!ReadGridWidths(source, model, ui, display)) return false;
  if (!ReadLayers(source, data_type::kBoundary, model, model.IBOUND, BoundaryCode, ui)) return false;
  model.IBOUND0 = model.IBOUND;
  display.Stage(3);
  if (!ReadLayers(source, data_type::kTop, model, model.TOP, AsRead, ui)) return false;
  display.Stage(4);
  if (!ReadLayers(source, data_type::kBottom, model, model.BOT, AsRead, ui)) return false;
  display.Stage(5);
  if (!ReadLayers(source, data_type::kPorosity, model, model.POROSITY, StoredPorosity, ui)) return false;
  display.Stage(6);
  return true;
}

}  // namespace

bool OpenModelFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                   const LayerPorosity& layerPorosity) {
  if (RefuseWhenBusy(session, ui) || path.empty()) return false;
  if (!FileExists(path)) {
    Complain(ui, "File " + path + " not found!", MessageIcon::Error, kErrorTitle);
    KeepPreviousModel(session, ui, views);
    return false;
  }
  ModelFileValues values;
  if (!ReadModelFile(path, values, ui)) {
    KeepPreviousModel(session, ui, views);
    return false;
  }
  Session loaded = NewModelSession(path, values, ui);
  {
    LoadingDisplay display(ui, loaded.model.ModelTitleName);
    const ModelArraySource source{ModelBasePath(path), loaded.model.Shape()};
    if (!ReadGridArrays(source, loaded.model, ui, display)) {
      KeepPreviousModel(session, ui, views);
      return false;
    }
    ApplyLayerPorosity(layerPorosity, loaded.model.POROSITY);
    session = std::move(loaded);
    LoadFirstTimeStep(session, ui, views, display);
  }
  ShowLoadedModel(session, ui, views);
  return true;
}

}  // namespace kestra
