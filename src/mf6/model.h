// A MODFLOW 6 groundwater-flow model on a structured grid (DIS), read from
// its simulation name file (or its own name file): grid, layer types,
// periods, result files, boundary cells of every stress period and
// porosity. Copied into ModelState by the open.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/cell_array.h"
#include "core/face_flows.h"
#include "core/cell_connections.h"
#include "core/model_family.h"
#include "core/model_state.h"
#include "core/stress_periods.h"
#include "core/user_interface.h"
#include "core/zeroed_pages.h"
#include "settings/layer_porosity.h"
#include "settings/open_choices.h"

namespace kestra {

// One boundary of a list package in one stress period. `value` decides
// whether the cell is a sink: the rate of a well (negative when pumping),
// the conductance of a river, drain or general-head cell, the head of a
// fixed-head cell. `iface` is the IFACE (or IFLOWFACE) auxiliary value, 0
// without one.
struct Mf6BoundaryCell {
  int layer = 0;
  int row = 0;
  int column = 0;
  float value = 0;
  int iface = 0;
};

// A list package by its kind ("WEL", "RIV", "DRN", "GHB", "CHD") and its
// cells per stress period, 1..NPER (0 unused).
struct Mf6BoundaryPackage {
  std::string kind;
  std::string name;  // the package name (its file name when the name file gives none)
  std::vector<std::vector<Mf6BoundaryCell>> periods;

  const std::vector<Mf6BoundaryCell>* CellsOf(int period) const {
    return period >= 1 && period < static_cast<int>(periods.size()) ? &periods[period] : nullptr;
  }
};

struct Mf6Grid {
  int NCOL = 0;
  int NROW = 0;
  int NLAY = 0;
  PagedVector<double> DELR, DELC;  // NCOL, NROW values
  PagedVector<double> TOP;         // NCOL x NROW, the top of layer 1
  PagedVector<double> BOTM;        // NCOL x NROW x NLAY
  PagedVector<int> IDOMAIN;        // NCOL x NROW x NLAY; 1 everywhere when not given
  double XORIGIN = 0;              // world position of the lower-left corner
  double YORIGIN = 0;
  double ANGROT = 0;               // degrees counter-clockwise
  std::string lengthUnits;         // as given, upper case; empty when not given
  std::string crs;                 // the coordinate reference system as given; empty when not given

  std::size_t CellCount() const {
    return static_cast<std::size_t>(NCOL) * static_cast<std::size_t>(NROW) * static_cast<std::size_t>(NLAY);
  }
};


struct Mf6Model {
  std::string simulationPath;  // the file opened: mfsim.nam or the model's name file
  std::string nameFilePath;    // the GWF model's name file
  std::string modelName;
  Mf6Grid grid;
  CellConnections connections;  // from the binary grid file or built from DIS and IDOMAIN
  bool gridFromBinaryFile = false;
  std::vector<std::int16_t> LAYCON;  // 0..NLAY, from ICELLTYPE
  CellArray<float> POROSITY;
  StressPeriods stressPeriods;
  std::vector<bool> steadyState;  // 1..NPER
  std::string HeadPath, BudgetPath;
  // The simulation and model name files, the files they list, the binary
  // grid file and the MODPATH basic data file read.
  std::vector<std::string> inputFiles;
  std::vector<Mf6BoundaryPackage> boundaryPackages;
  bool hasRecharge = false;            // an RCH package: its budget term gives QRECH
  bool hasEvapotranspiration = false;  // an EVT package: its budget term gives QET
  // Packages whose cells take water in or out beside the face flows, whose
  // budget terms tell sinks by flow sign: "MAW", "SFR", "LAK", "UZF".
  std::vector<std::string> advancedPackages;
  std::vector<std::string> unreadPackages;  // package types of the name file not taken into account
  std::vector<std::string> notes;           // what the open tells the user (choices made, values not read)
  bool porosityFromMpbas = false;
  std::vector<DefaultFace> defaultIface;  // from the MODPATH basic data file

  GridShape Shape() const { return {grid.NCOL, grid.NROW, grid.NLAY}; }
};

inline constexpr float kMf6DefaultPorosity = 0.25f;

// Reads the model of a simulation name file (mfsim.nam, the first GWF model
// unless `modelName` names another) or of a GWF name file, with the MODPATH
// basic data file named like the model; the layers `layerPorosity` sets take
// its porosity instead. False with `problem` (naming file and line) when a
// needed file is missing, unreadable or damaged; `model` is then unspecified.
bool ReadMf6Model(const std::string& path, const std::string& modelName, const LayerPorosity& layerPorosity,
                  Mf6Model& model, std::string& problem);

// True when `path` is a MODFLOW 6 simulation or GWF name file (it holds
// BEGIN blocks).
bool IsMf6NameFile(const std::string& path);

// Dimensions the state of `opened` for the model and fills grid, origin,
// IBOUND/IBOUND0 (IDOMAIN above 0 and pass-through cells, below 0, active, else
// inactive), TOP, BOT,
// POROSITY, LAYCON, the paths and the family; the periods go to `opened`.
// The family takes over the model's cell connections (millions of entries
// on a large grid) instead of copying them.
void CopyMf6Model(Mf6Model&& model, OpenedModel& opened);

// True for a cell that ends particles whatever its flow: a pumping well, or
// a river, drain or general-head cell with a conductance.
bool IsMf6SinkCell(const std::string& kind, const Mf6BoundaryCell& cell);

// A MODFLOW 6 model as a model family.
class Mf6Family final : public ModelFamily {
 public:
  // Takes over the model's connections and package lists.
  explicit Mf6Family(Mf6Model&& model);
  std::string Description() const override { return "MODFLOW 6 simulation, model " + modelName_; }
  std::string SiblingPath(const std::string& extension) const override;
  PackageKeys ListedBoundaryPackages(const ModelState& state) const override;
  bool MarkBoundarySinks(ModelState& state, const PackageKeys& skipped, UserInterface& ui,
                         bool showMessages) const override;
  bool SimulatesPackage(const ModelState&, int) const override { return true; }
  bool ReadPackageLayer(int dataType, int layer, int period, LayerValues& values) const override;
  BudgetArealTerms ArealTermsInBudget(const ModelState&) const override {
    return {hasRecharge_, hasEvapotranspiration_};
  }
  void PlaceArealFlows(ModelState&) const override {}
  // A pass-through cell (IDOMAIN below 0) gets its top as its head: the whole
  // cell carries the vertical flow between the cells above and below.
  void AdjustLoadedHeads(ModelState& state) const override;
  bool TakesLayerPorosityFromSettings() const override { return true; }
  const CellConnections* FaceFlowConnections() const override { return &connections_; }
  // The default IFACE entries of the MODPATH basic data file.
  int DefaultFace(const std::string& label) const override { return FaceOfLabel(defaultIface_, label); }
  // The list packages' cells per period with their IFACE values.
  const std::vector<Mf6BoundaryPackage>& BoundaryPackages() const { return boundaryPackages_; }

 private:
  std::string basePath_;
  std::string modelName_;
  GridShape grid_;
  CellConnections connections_;
  std::vector<Mf6BoundaryPackage> boundaryPackages_;
  std::vector<std::string> advancedPackages_;
  std::vector<std::size_t> passThroughCells_;  // cell numbers (layer 1 first) of IDOMAIN below 0
  std::vector<kestra::DefaultFace> defaultIface_;  // the type, not the member function
  bool hasRecharge_;
  bool hasEvapotranspiration_;
};

// Reads the model of `path` into `opened` (ReadMf6Model of the choices' GWF
// model, with the layer porosities of the model's settings file under those
// of the choices). False,
// with a message (exclamation icon, title "KESTRA"), when it cannot.
bool OpenMf6Model(const std::string& path, const OpenChoices& choices, OpenedModel& opened, UserInterface& ui,
                  const OpenStage& stage);

}  // namespace kestra
