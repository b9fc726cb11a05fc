// The cells of a contaminant source drawn as polygons in a GIS file or as a
// rectangle on the plan: the cell of every column whose centre the drawing
// holds, in the uppermost layer that carries water there.
#pragma once

#include <string>
#include <vector>

#include "core/model_state.h"
#include "export/zone_mask.h"
#include "tracking/particle_set.h"

namespace kestra {

// The source cells of the polygons of the first layer of `path` (any vector
// format GDAL reads, in the model's world coordinates), rows outer, columns
// inner. False, with the reason in `error`, when the file cannot be read,
// holds no polygon or covers no cell centre.
bool SourceCellsOfPolygons(const ModelState& state, const std::string& path, std::vector<CellIndex>& cells,
                           std::string& error);

// The source cells of the plan rectangle with corners `a` and `b`, rows
// outer, columns inner; empty when it holds no centre of a wet cell.
std::vector<CellIndex> SourceCellsInRectangle(const ModelState& state, PlanXY a, PlanXY b);

}  // namespace kestra
