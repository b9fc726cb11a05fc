#include "export/vtk_files.h"

#include <array>
#include <cstdint>

#include "core/atomic_file.h"
#include "core/number_format.h"
#include "core/world_position.h"
#include "export/vtk_xml.h"

namespace kestra {
namespace {

constexpr std::int64_t kHexahedron = 12;  // VTK_HEXAHEDRON
constexpr int kHexahedronCorners = 8;
constexpr const char* kPieceIndent = "    ";
constexpr const char* kArrayIndent = "        ";

// Where the grid lies and how a plan point or direction turns into the world.
struct WorldFrame {
  WorldPosition position;
  double gridLength = 0;

  explicit WorldFrame(const ModelState& state) : position(PositionOf(state)), gridLength(GridLengthOf(state)) {}

  WorldXY Point(double planX, double planY) const { return PlanToWorldXY(position, gridLength, planX, planY); }
  // A plan vector in world directions: with the origin at 0 and no grid
  // length PlanToWorldXY is the turn alone, and no world offset of millions
  // swamps a small velocity. +plan y (down the rows) comes out south in an
  // unturned grid.
  WorldXY Direction(double planX, double planY) const {
    return PlanToWorldXY({0, 0, position.rotation, ""}, 0, planX, planY);
  }
};

// The arrays of the grid file, filled cell by cell.
struct GridArrays {
  VtkDataArray points{VtkType::Float64, "", 3};
  VtkDataArray connectivity{VtkType::Int64, "connectivity"};
  VtkDataArray offsets{VtkType::Int64, "offsets"};
  VtkDataArray types{VtkType::UInt8, "types"};
  VtkDataArray ibound{VtkType::Int32, "IBOUND"};
  VtkDataArray head{VtkType::Float64, "head"};
  VtkDataArray porosity{VtkType::Float64, "porosity"};
  VtkDataArray layer{VtkType::Int32, "layer"};
  VtkDataArray row{VtkType::Int32, "row"};
  VtkDataArray column{VtkType::Int32, "column"};
  VtkDataArray velocity{VtkType::Float64, "velocity", 3};
  std::int64_t cellCount = 0;
};

// The eight corners of cell (j, i, k) in VTK's hexahedron order: the bottom
// face counter-clockwise seen from above, then the top face above it. Plan
// y grows down the rows, so the world's counter-clockwise runs from the
// cell's lower row edge (YEDGE[i]) to its upper one (YEDGE[i-1]); a rotation
// keeps that sense. Each cell has points of its own: neighbours' TOP and BOT
// differ, so shared corners would not sit on both cells.
void AddCellCorners(const ModelState& state, const WorldFrame& frame, int j, int i, int k, GridArrays& arrays) {
  const std::array<WorldXY, 4> plan = {
      frame.Point(state.XEDGE[j - 1], state.YEDGE[i]), frame.Point(state.XEDGE[j], state.YEDGE[i]),
      frame.Point(state.XEDGE[j], state.YEDGE[i - 1]), frame.Point(state.XEDGE[j - 1], state.YEDGE[i - 1])};
  for (const float z : {state.BOT(j, i, k), state.TOP(j, i, k)})
    for (const WorldXY& corner : plan) {
      arrays.points.AddDouble(corner.x);
      arrays.points.AddDouble(corner.y);
      arrays.points.AddFloat(z);
    }
}

// VX runs along +plan x (the columns), VY along +plan y (down the rows) and
// VZ upward, as GetFaceVelocities gives them.
void AddCellData(const ModelState& state, const WorldFrame& frame, int j, int i, int k, GridArrays& arrays) {
  arrays.ibound.AddInteger(state.IBOUND(j, i, k));
  arrays.head.AddFloat(state.HEAD(j, i, k));
  arrays.porosity.AddFloat(state.POROSITY(j, i, k));
  arrays.layer.AddInteger(k);
  arrays.row.AddInteger(i);
  arrays.column.AddInteger(j);
  const WorldXY velocity = frame.Direction(state.VX(j, i, k), state.VY(j, i, k));
  arrays.velocity.AddDouble(velocity.x);
  arrays.velocity.AddDouble(velocity.y);
  arrays.velocity.AddDouble(state.VZ(j, i, k));
}

void AddCell(const ModelState& state, const WorldFrame& frame, int j, int i, int k, GridArrays& arrays) {
  AddCellCorners(state, frame, j, i, k, arrays);
  for (int corner = 0; corner < kHexahedronCorners; ++corner)
    arrays.connectivity.AddInteger(arrays.cellCount * kHexahedronCorners + corner);
  ++arrays.cellCount;
  arrays.offsets.AddInteger(arrays.cellCount * kHexahedronCorners);
  arrays.types.AddInteger(kHexahedron);
  AddCellData(state, frame, j, i, k, arrays);
}

std::string CountAttribute(const char* name, std::int64_t count) {
  return std::string(" ") + name + "=\"" + IntegerMaskText(count) + "\"";
}

std::string Section(const char* tag, const std::string& attributes, const std::vector<const VtkDataArray*>& arrays) {
  std::string text = std::string(kPieceIndent) + "  <" + tag + attributes + ">\n";
  for (const VtkDataArray* array : arrays) text += array->Element(kArrayIndent);
  return text + kPieceIndent + "  </" + tag + ">\n";
}

std::string GridFile(const GridArrays& a) {
  const std::int64_t pointCount = a.cellCount * kHexahedronCorners;
  return VtkFileStart("UnstructuredGrid") + kPieceIndent + "<Piece" + CountAttribute("NumberOfPoints", pointCount) +
         CountAttribute("NumberOfCells", a.cellCount) + ">\n" + Section("Points", "", {&a.points}) +
         Section("Cells", "", {&a.connectivity, &a.offsets, &a.types}) +
         Section("CellData", " Scalars=\"head\" Vectors=\"velocity\"",
                 {&a.ibound, &a.head, &a.porosity, &a.layer, &a.row, &a.column, &a.velocity}) +
         kPieceIndent + "</Piece>\n" + VtkFileEnd("UnstructuredGrid");
}

// The arrays of the pathline file, filled path by path.
struct PathArrays {
  VtkDataArray points{VtkType::Float64, "", 3};
  VtkDataArray connectivity{VtkType::Int64, "connectivity"};
  VtkDataArray offsets{VtkType::Int64, "offsets"};
  VtkDataArray time{VtkType::Float64, "time"};
  VtkDataArray pointParticle{VtkType::Int32, "particle"};
  VtkDataArray pointDirection{VtkType::Int32, "direction"};
  VtkDataArray lineParticle{VtkType::Int32, "particle"};
  VtkDataArray lineDirection{VtkType::Int32, "direction"};
  std::int64_t pointCount = 0;
  std::int64_t lineCount = 0;
};

void AddPathPoint(const WorldFrame& frame, const RecordedPath& path, const PathPoint& point, PathArrays& arrays) {
  const WorldXY world = frame.Point(point.point.X, point.point.Y);
  arrays.points.AddDouble(world.x);
  arrays.points.AddDouble(world.y);
  arrays.points.AddDouble(point.point.Z);
  arrays.time.AddDouble(point.time);
  arrays.pointParticle.AddInteger(path.particle);
  arrays.pointDirection.AddInteger(path.direction);
  arrays.connectivity.AddInteger(arrays.pointCount++);
}

// VTK refuses a line of fewer than two points: the single point of a
// particle that never moved is written twice, so that its path keeps its
// line and its particle number. A path without points has no line.
void AddPath(const WorldFrame& frame, const RecordedPath& path, PathArrays& arrays) {
  if (path.points.empty()) return;
  for (const PathPoint& point : path.points) AddPathPoint(frame, path, point, arrays);
  if (path.points.size() == 1) AddPathPoint(frame, path, path.points.front(), arrays);
  arrays.offsets.AddInteger(arrays.pointCount);
  arrays.lineParticle.AddInteger(path.particle);
  arrays.lineDirection.AddInteger(path.direction);
  ++arrays.lineCount;
}

std::string PathFile(const PathArrays& a) {
  return VtkFileStart("PolyData") + kPieceIndent + "<Piece" + CountAttribute("NumberOfPoints", a.pointCount) +
         CountAttribute("NumberOfVerts", 0) + CountAttribute("NumberOfLines", a.lineCount) +
         CountAttribute("NumberOfStrips", 0) + CountAttribute("NumberOfPolys", 0) + ">\n" +
         Section("PointData", " Scalars=\"time\"", {&a.time, &a.pointParticle, &a.pointDirection}) +
         Section("CellData", " Scalars=\"particle\"", {&a.lineParticle, &a.lineDirection}) +
         Section("Points", "", {&a.points}) + Section("Lines", "", {&a.connectivity, &a.offsets}) + kPieceIndent +
         "</Piece>\n" + VtkFileEnd("PolyData");
}

}  // namespace

std::string VtkGridText(const ModelState& state) {
  const WorldFrame frame(state);
  GridArrays arrays;
  for (int k = 1; k <= state.NLAY; ++k)
    for (int i = 1; i <= state.NROW; ++i)
      for (int j = 1; j <= state.NCOL; ++j)
        if (state.IBOUND(j, i, k) != 0) AddCell(state, frame, j, i, k, arrays);
  return GridFile(arrays);
}

std::string VtkPathlineText(const ModelState& state, const std::vector<RecordedPath>& paths) {
  const WorldFrame frame(state);
  PathArrays arrays;
  for (const RecordedPath& path : paths) AddPath(frame, path, arrays);
  return PathFile(arrays);
}

bool WriteVtkGrid(const std::string& path, const ModelState& state, std::string& error) {
  return WriteFileAtomically(path, VtkGridText(state), error);
}

bool WriteVtkPathlines(const std::string& path, const ModelState& state, const std::vector<RecordedPath>& paths,
                       std::string& error) {
  return WriteFileAtomically(path, VtkPathlineText(state, paths), error);
}

}  // namespace kestra
