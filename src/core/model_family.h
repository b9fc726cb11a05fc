// The family of file formats the open model was read from (the model file
// set, the pre-processor's name file, a MODFLOW-2005 name file, ...) and what
// it alone knows beyond ModelState: the boundary cells of each stress period,
// the areal flows that do not come from the budget file, and where the
// model's own files are. Each family folder implements it; generic code asks
// the family and never which family it is.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/cell_connections.h"
#include "core/model_state.h"
#include "core/stress_periods.h"
#include "core/user_interface.h"

namespace kestra {

// Boundary packages by their name-file keys ("WEL", "DRN", "RIV", "GHB", "STR").
using PackageKeys = std::set<std::string>;

// One layer of values indexed (column, row), both from 1.
struct LayerValues {
  int ncol = 0;
  int nrow = 0;
  std::vector<float> values;

  float operator()(int column, int row) const { return values[Index(column, row)]; }
  float& operator()(int column, int row) { return values[Index(column, row)]; }

  // Sized for the columns and rows of `grid`, every value 0.
  void Clear(const GridShape& grid) {
    ncol = grid.ncol;
    nrow = grid.nrow;
    values.assign(static_cast<std::size_t>(grid.ncol) * static_cast<std::size_t>(grid.nrow), 0.0f);
  }

 private:
  std::size_t Index(int column, int row) const {
    return static_cast<std::size_t>(row - 1) * ncol + static_cast<std::size_t>(column - 1);
  }
};

// Which areal flow terms the flow terms reader takes from the budget file.
struct BudgetArealTerms {
  bool recharge = false;
  bool evapotranspiration = false;
};

class ModelFamily {
 public:
  virtual ~ModelFamily() = default;

  // What the model was read from, for the batch tool's report: "model file
  // set", "name file", "MODFLOW-2005 name file".
  virtual std::string Description() const = 0;

  // The file beside the model named after it with `extension` (".ini",
  // ".ctr", ".lyp").
  virtual std::string SiblingPath(const std::string& extension) const = 0;

  // The boundary packages the model lists, whatever their cells.
  virtual PackageKeys ListedBoundaryPackages(const ModelState& state) const = 0;

  // Marks SINKCODE kBoundarySink at the sink cells of CurrentPeriod of the
  // listed packages not in `skipped` (SINKCODE is dimensioned for the grid)
  // and applies the period's fixed-head cells to IBOUND where the family has
  // such lists. False when a data set could not be read (with its message
  // when `showMessages`); what was read is marked.
  virtual bool MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui,
                                 bool showMessages) const = 0;

  // True when the model simulates the boundary package that holds the data
  // type `dataType` (core/data_types.h); the views draw no other.
  virtual bool SimulatesPackage(const ModelState& state, int dataType) const = 0;

  // Fills `values` with layer `layer` of the boundary data type `dataType`
  // (core/data_types.h) in stress period `period`, for the views. Reads
  // silently; false when the model has no such data.
  virtual bool ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const = 0;

  // The areal terms the budget file holds for this model.
  virtual BudgetArealTerms ArealTermsInBudget(const ModelState& state) const = 0;

  // Recharge and evapotranspiration of CurrentPeriod that the budget file
  // does not give, placed into QRECH and QET after the budget terms are read
  // (HEAD is loaded).
  virtual void PlaceArealFlows(ModelState& state) const = 0;

  // Gives the cells that carry flow without a head of their own (MODFLOW
  // 6's vertical pass-through cells) a head and an active code after the
  // heads of a time step are loaded, so that particles pass through them.
  virtual void AdjustLoadedHeads(ModelState&) const {}

  // The connections of the cells when the budget file gives the face flows
  // as one flow per connection (FLOW-JA-FACE) instead of the three face
  // terms; null for the three face terms.
  virtual const CellConnections* FaceFlowConnections() const { return nullptr; }

  // The face that the flows of the budget term `label` (its TEXT, upper
  // case, without leading or trailing blanks) take where the term's records
  // carry no IFACE: the model's default IFACE entries; 0 (inside the cell)
  // for a label without one.
  virtual int DefaultFace(const std::string& label) const {
    (void)label;
    return 0;
  }

  // True when the POROSITY section of the model's settings file sets the
  // porosity of its layers (the model's own porosity is not kept elsewhere).
  virtual bool TakesLayerPorosityFromSettings() const = 0;
};

// What a family's open reads: the model (grid arrays, paths, family), its
// stress periods and the no-flow and dry-cell heads of its own input, which
// replace those of the settings file.
struct OpenedModel {
  ModelState model;
  StressPeriods periods;
  std::optional<float> HNOFLO;
  std::optional<float> HDRY;
};

// Reports the open's progress: stage 0 when the reading of the model's data
// begins (the loading display appears), then stages 1..6 (the meter's first
// half).
using OpenStage = std::function<void(int stage)>;

}  // namespace kestra
