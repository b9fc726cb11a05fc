// A standard MODFLOW-2005 / MODFLOW-NWT model read from its name file: the
// grid and layer data, the stress periods, the boundary cells and recharge
// of every stress period, and where the results are. Copied into ModelState
// by the import.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/cell_array.h"
#include "core/face_flows.h"
#include "core/model_family.h"
#include "core/model_state.h"
#include "core/stress_periods.h"
#include "core/world_position.h"
#include "core/user_interface.h"
#include "mf2005/boundary_cells.h"
#include "settings/layer_porosity.h"
#include "settings/open_choices.h"

namespace kestra {

struct Mf2005Model {
  std::string nameFilePath;
  int NCOL = 0;
  int NROW = 0;
  int NLAY = 0;
  std::vector<float> DELR, DELC;  // 0..NCOL, 0..NROW; entry 0 unused
  CellArray<std::int16_t> IBOUND;
  CellArray<float> TOP, BOT, POROSITY;
  std::vector<std::int16_t> LAYCON;  // 0..NLAY
  float HNOFLO = -999.99f;
  float HDRY = -1.0E+30f;
  StressPeriods stressPeriods;
  std::vector<bool> steadyState;  // 1..NPER
  LengthUnit lengthUnit = LengthUnit::Undefined;  // LENUNI, else FloPy's header
  std::optional<WorldPosition> position;         // from FloPy's header
  std::string HeadPath, DrawdownPath, BudgetPath;
  std::vector<std::string> inputFiles;  // the name file, every file it lists and the MODPATH basic data file
  std::vector<BoundaryPackage> boundaryPackages;
  std::vector<RechargePeriod> recharge;  // 1..NPER; empty without a recharge package
  bool hasEvapotranspiration = false;    // the budget holds the term "ET"
  // 1..NPER: the EVT package's data, used when the budget holds no "ET".
  std::vector<EvapotranspirationPeriod> evapotranspiration;
  // File types of the name file whose packages change flows or sinks but
  // are not read (upper case, in name-file order).
  std::vector<std::string> unreadPackages;
  // Files the name file lists in another letter case than on disk, as listed.
  std::vector<std::string> otherLetterCase;
  bool porosityFromMpbas = false;        // else kDefaultPorosity where no layer porosity is set
  std::vector<DefaultFace> defaultFaces;  // the default IFACE entries of the MODPATH basic data file

  GridShape Shape() const { return {NCOL, NROW, NLAY}; }
};

inline constexpr float kDefaultPorosity = 0.25f;

// Reads the model of a MODFLOW-2005 name file and the MODPATH basic data file
// beside it; the layers `layerPorosity` sets take its porosity instead. On
// any missing, unreadable or unsupported file: beeps, shows a message
// (exclamation icon, title "KESTRA") and returns false with `model`
// untouched. Says once when the default porosity is used, and names in one
// message the listed packages that are not read.
bool ReadMf2005Model(const std::string& nameFilePath, Mf2005Model& model, UserInterface& ui,
                     const LayerPorosity& layerPorosity = {});

// True for a cell that stops particles at sinks: a pumping well, or a river,
// drain, general-head or stream cell with a conductance.
bool IsSinkCell(const std::string& fileType, const BoundaryCell& cell);

// Dimensions the state of `opened` for the model (discarding everything it
// held) and fills the grid, IBOUND/IBOUND0, TOP, BOT, POROSITY, LAYCON, the
// model and result paths and its family (the boundary cells, recharge and ET
// of every stress period); HNOFLO, HDRY and the stress periods go to
// `opened` beside it. Takes the model by value: an open moves its arrays in.
void CopyMf2005Model(Mf2005Model model, OpenedModel& opened);

// Marks SINKCODE -1 at the sink cells `packages` list for CurrentPeriod
// (SINKCODE must be dimensioned for the grid) and makes the cells CHD lists
// in CurrentPeriod or before fixed-head (IBOUND < 0); the packages in
// `skipped` mark nothing. False when CurrentPeriod is not one of the model's.
bool MarkMf2005Sinks(ModelState& state, const std::vector<BoundaryPackage>& packages,
                     const PackageKeys& skipped = {});

// QRECH of CurrentPeriod: the recharge flows in their layers, 0 elsewhere.
// True without recharge data; false, with QRECH all 0, when CurrentPeriod is
// not one of the model's.
bool PlaceMf2005Recharge(ModelState& state, const std::vector<RechargePeriod>& recharge);

// QET of CurrentPeriod computed from the EVT package and HEAD as MODFLOW
// computes it: the full rate at or above the surface, none at or below the
// extinction depth, linear between; only variable-head cells lose water.
// False, with QET all 0, when CurrentPeriod is not one of the model's.
bool PlaceMf2005Evapotranspiration(ModelState& state, const std::vector<EvapotranspirationPeriod>& periods);

// A MODFLOW-2005 model as a model family: the boundary cells, recharge and
// evapotranspiration of every stress period as the import read them.
class Mf2005Family final : public ModelFamily {
 public:
  explicit Mf2005Family(const Mf2005Model& model);
  std::string Description() const override { return "MODFLOW-2005 name file"; }
  std::string SiblingPath(const std::string& extension) const override;
  PackageKeys ListedBoundaryPackages(const ModelState& state) const override;
  bool MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui,
                         bool showMessages) const override;
  // The package reader knows which packages the name file lists.
  bool SimulatesPackage(const ModelState&, int) const override { return true; }
  bool ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const override;
  // The budget's "ET" term when the EVT package saves it there; recharge
  // always comes from the RCH package.
  BudgetArealTerms ArealTermsInBudget(const ModelState&) const override { return {false, hasEvapotranspiration_}; }
  void PlaceArealFlows(ModelState& state) const override;
  bool TakesLayerPorosityFromSettings() const override { return true; }
  int DefaultFace(const std::string& label) const override { return FaceOfLabel(defaultFaces_, label); }

 private:
  std::string nameFilePath_;
  GridShape grid_;
  std::vector<BoundaryPackage> boundaryPackages_;
  std::vector<RechargePeriod> recharge_;
  std::vector<EvapotranspirationPeriod> evapotranspiration_;
  bool hasEvapotranspiration_;
  std::vector<kestra::DefaultFace> defaultFaces_;  // the type, not the member function
};

// Reads the model of the name file `path` into `opened`: ReadMf2005Model with
// the layer porosities of the model's settings file under those of `choices`.
// False, with a message, as ReadMf2005Model.
bool OpenMf2005Model(const std::string& path, const OpenChoices& choices, OpenedModel& opened,
                     UserInterface& ui, const OpenStage& stage);

}  // namespace kestra
