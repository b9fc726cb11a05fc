// Where the model lies on the earth: the world position of its grid, the
// coordinate reference system of those coordinates and the model's length
// unit. Every GIS and VTK export writes world coordinates: x east, y north,
// z the elevation, all in the model's length unit.
#pragma once

#include <optional>
#include <string>

namespace kestra {

struct ModelState;

// MODFLOW-2005 codes its length unit as LENUNI; MODFLOW 6 names it.
enum class LengthUnit { Undefined, Feet, Meters, Centimeters };

// The unit's short name as a figure or an attribute shows it ("ft", "m",
// "cm"); empty when undefined.
std::string LengthUnitSymbol(LengthUnit unit);
// LENUNI 0..3; any other code is undefined, as MODFLOW takes it.
LengthUnit LengthUnitFromCode(int lenuni);
// "FEET", "METERS", "CENTIMETERS" in any letter case, or their symbols and
// singular forms; undefined for anything else.
LengthUnit LengthUnitNamed(const std::string& name);

// The lower-left corner of the grid (the outer corner of its last row and
// first column) at (xOrigin, yOrigin), the grid turned about that corner by
// `rotation` degrees counter-clockwise, as MODFLOW 6 and FloPy give it.
struct WorldPosition {
  double xOrigin = 0;
  double yOrigin = 0;
  double rotation = 0;
  // "EPSG:32633", a WKT or a PROJ string, as the user or the model gave it;
  // empty when unknown.
  std::string crs;
};

struct WorldXY {
  double x = 0;
  double y = 0;
};

// Where the model lies: its position as read or set (in double precision),
// else the plot position of a model file set, else the lower-left corner at
// (0, 0) unturned.
WorldPosition PositionOf(const ModelState& state);

// Sets the position of `state` and the plot origin that follows from it.
void SetWorldPosition(ModelState& state, const WorldPosition& position);

// A plan point (x from the grid's left edge, y down from its upper edge, in
// model units) in world coordinates; `gridLength` is the total of the row widths.
WorldXY PlanToWorldXY(const WorldPosition& position, double gridLength, double x, double y);

// The total of the row widths, YEDGE(NROW); 0 without a grid.
double GridLengthOf(const ModelState& state);

}  // namespace kestra
