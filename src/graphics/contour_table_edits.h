// The changes the options dialogs and the batch tool make to a contour level
// table: new levels over a range, colours spread over a spectrum, labels
// every so many levels, one value for a whole column.
#pragma once

#include <optional>

#include "graphics/contour_table.h"
#include "graphics/picture.h"

namespace kestra {

// Length of the grid's diagonal: label sizes of new levels follow it.
float GridDiagonal(const ModelState& model);

// The range the default levels span: the heads of CurrentLayer (DataSource
// 0), or the drawdowns (DataSource 1; 0 to 0 when they are not loaded).
ValueRange DefaultLevelRange(const ModelState& model, const Settings& settings, bool drawdownsLoaded);

// The number of levels less one that minimum, maximum and interval give
// ((maximum - minimum) / interval rounded, halves to even); empty when the
// interval is not above 0, the minimum is above the maximum, or the table
// would hold more than 32 767 levels.
std::optional<int> LevelCountOfRange(float minimum, float maximum, float interval);

// Levels minimum, minimum + interval, ... (count + 1 of them), colour 0,
// labelled, label height diagonal/100 and spacing diagonal/10. False, table
// unchanged, when LevelCountOfRange refuses the range.
bool RebuildLevels(ContourTable& table, float minimum, float maximum, float interval, float diagonal);

// Level 0 gets the minimum colour, the last level the maximum colour, the
// levels between evenly spread channel by channel (rounded, halves to even).
// Nothing happens to a table of one level.
void SpreadContourColors(ContourTable& table, Colour minimum, Colour maximum);

// Labels the level at position `first` (level 0 is position 1) and every
// `frequency`-th after it, and unlabels every other level. First 0 labels
// none; frequency 0 labels only the first.
void SetLabelRule(ContourTable& table, int first, int frequency);

void SetLabelHeights(ContourTable& table, float height);
void SetLabelSpacings(ContourTable& table, float spacing);

}  // namespace kestra
