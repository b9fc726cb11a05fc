// The one record of the open model: grid, per-cell arrays, world position,
// file names and the current time step. Plain data; the open and import fill
// it, the result readers refill the result arrays when the time step changes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/cell_array.h"
#include "core/face_flows.h"
#include "core/world_position.h"

namespace kestra {

// World position of the grid: (X0, Y0) is the world point of the upper-left
// grid corner, angle in radians counter-clockwise.
struct ModelOrigin {
  float X0 = 0;
  float Y0 = 0;
  float angle = 0;
  float cosAngle = 1;
  float sinAngle = 0;
  bool isSet = false;
};

// The 15 x 15 table of data-set codes of the model file, indexed (0..14, 0..14).
struct DataFlagTable {
  std::array<std::array<std::int16_t, 15>, 15> codes{};
  std::int16_t& operator()(int a, int b) { return codes[a][b]; }
  std::int16_t operator()(int a, int b) const { return codes[a][b]; }
};

// One layer property record (24 bytes in the layer property file).
struct LayerProperty {
  std::array<std::uint8_t, 24> bytes{};
};

class ModelFamily;

struct ModelState {
  // Grid dimensions. Widths, edges and centres are indexed 0..NCOL (0..NROW);
  // XEDGE(0) = YEDGE(0) = 0. Lengths are in model units.
  int NCOL = 0;
  int NROW = 0;
  int NLAY = 0;
  std::vector<float> DELR, DELC, XEDGE, YEDGE, XCENTER, YCENTER;

  CellArray<std::int16_t> IBOUND;   // boundary code: <0 fixed head, 0 inactive, >0 active
  CellArray<std::int16_t> IBOUND0;  // IBOUND exactly as read at open
  CellArray<float> TOP, BOT, POROSITY;
  CellArray<float> HEAD, DRAWDOWN;
  // Flows in model volume per time, positive into the groundwater system for
  // QRECH and QET; QRIGHT from column j to j+1, QFRONT from row i to i+1,
  // QLOWER from layer k to k+1 (downwards).
  CellArray<float> QRIGHT, QFRONT, QLOWER, QRECH, QET;
  CellArray<float> VX, VY, VZ;
  CellArray<std::int16_t> SINKCODE;  // -1 for a cell with an internal sink this stress period
  // The flows of the time step that cross a face of their cell (IFACE):
  // of the boundary packages, which then count in no cell's SINKCODE, and
  // of the recharge and evapotranspiration terms, which then are not in
  // QRECH and QET.
  AssignedFaceFlows BoundaryFaceFlows, ArealFaceFlows;

  std::vector<std::int16_t> LAYCON;             // layer type code per layer, 0..NLAY
  std::vector<LayerProperty> LayerProperties;   // 0..NLAY

  ModelOrigin origin;
  // The position in double precision and the coordinate reference system,
  // where the model or the user gave them; `origin` follows it.
  std::optional<WorldPosition> position;
  LengthUnit lengthUnit = LengthUnit::Undefined;
  DataFlagTable DataFlags;

  std::string ModelPath;       // empty while no model is loaded
  std::string ModelTitleName;  // the file name shown in the window title
  std::string BudgetPath, HeadPath, DrawdownPath;
  // Every file of the model's own input that the open read or its file lists
  // name (name files, packages, grid and result files): no output may
  // replace one.
  std::vector<std::string> InputFiles;
  // The format the model was read from, with what it alone knows (boundary
  // cells, areal flows, its own files); shared by copies of the state, never
  // changed after the open.
  std::shared_ptr<const ModelFamily> family;

  int CurrentStep = 1;
  int CurrentPeriod = 1;
  int CurrentLayer = 1;
  bool flowTermsLoaded = false;

  GridShape Shape() const { return {NCOL, NROW, NLAY}; }
  bool HasModel() const { return !ModelPath.empty(); }
};

// The family of `state`; for a state built without one (in tests), a family
// that lists no boundary cells, places no areal flows and takes no areal
// terms from the budget.
const ModelFamily& FamilyOf(const ModelState& state);

// Sizes every array of `state` for the given grid, discarding all contents.
// Dimensions below 1 are the caller's to refuse.
void DimensionModel(ModelState& state, int ncol, int nrow, int nlay);

// XEDGE, YEDGE, XCENTER and YCENTER from DELR and DELC, in 32-bit arithmetic.
void ComputeGridGeometry(ModelState& state);

// The smallest of `widths` 1..count (DELR with NCOL, DELC with NROW).
double SmallestWidth(const std::vector<float>& widths, int count);

// The default world position: lower-left grid corner at world (0, 0), no rotation.
void SetDefaultOrigin(ModelState& state);

// Sets the angle (radians) and its cosine and sine.
void SetOriginAngle(ModelOrigin& origin, float angle);

}  // namespace kestra
