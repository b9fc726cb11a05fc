// The DXF entities of plot files, already in world coordinates. Only the
// ENTITIES section is written; every group code and value is a line of its own.
#pragma once

#include "graphics/plot_device.h"
#include "graphics/world_transform.h"

namespace kestra {

void WriteDxfHeader(PlotDevice& device);
// Ends an open polyline, then the section and the file.
void WriteDxfTrailer(PlotDevice& device);

// Corners in the order (x1, y1), (x2, y1), (x1, y2), (x2, y2) of the box.
void WriteDxfSolid(PlotDevice& device, const WorldPoint corners[4]);
void WriteDxfLine(PlotDevice& device, WorldPoint start, WorldPoint end);
// The POLYLINE head with its vertices-follow flag and the start point as its
// first VERTEX, so the first segment is part of the line. The SEQEND follows
// before the next entity that is no VERTEX.
void WriteDxfPolylineHead(PlotDevice& device, WorldPoint start);
void WriteDxfVertex(PlotDevice& device, WorldPoint point);
void WriteDxfCircle(PlotDevice& device, WorldPoint centre, float radius);

}  // namespace kestra
