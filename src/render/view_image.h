// The three pictures put together as the main window lays them out: the plan
// in the upper left, the row section below it, the column section to its right.
#pragma once

#include <QImage>

#include "graphics/view_arrangement.h"
#include "render/raster_picture.h"

namespace kestra {

// One image of the plan and, when they are shown, both sections, on white.
// An empty image when the plan is not shown.
QImage ComposeViews(const RasterPicture& plan, const RasterPicture& rowSection, const RasterPicture& columnSection,
                    const ViewLayout& layout, const ViewPlacement& placement);

// The plan with the sections chosen, as far as they are shown: the right
// (column) section widens the image, the lower (row) section heightens it.
QImage ComposeViews(const RasterPicture& plan, const RasterPicture& rowSection, const RasterPicture& columnSection,
                    const ViewLayout& layout, const ViewPlacement& placement, bool lowerSection, bool rightSection);

}  // namespace kestra
