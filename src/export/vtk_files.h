// The model grid and the pathlines as VTK XML files for ParaView: an
// UnstructuredGrid (.vtu) of the model's cells and a PolyData (.vtp) of the
// recorded paths, both in world coordinates (x east, y north, z the
// elevation, in the model's length unit).
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "tracking/recorded_paths.h"

namespace kestra {

// The UnstructuredGrid file of `state`: one hexahedron per cell with a
// non-zero IBOUND, from its BOT to its TOP, with the cell data IBOUND, head,
// porosity, layer, row, column and the cell-centre velocity in world
// directions.
std::string VtkGridText(const ModelState& state);

// The PolyData file of `paths`: one polyline per path in its order, with the
// point data time, particle and direction and the cell data particle and
// direction. A path of one point gives a line of that point twice; a path
// of none gives no line.
std::string VtkPathlineText(const ModelState& state, const std::vector<RecordedPath>& paths);

// VtkGridText(state) written to `path`, replacing the file whole. False
// with the reason in `error`; an old file then stays as it was.
bool WriteVtkGrid(const std::string& path, const ModelState& state, std::string& error);

// VtkPathlineText(state, paths) written to `path` as WriteVtkGrid writes.
bool WriteVtkPathlines(const std::string& path, const ModelState& state, const std::vector<RecordedPath>& paths,
                       std::string& error);

}  // namespace kestra
