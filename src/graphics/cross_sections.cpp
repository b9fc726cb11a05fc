#include "graphics/cross_sections.h"

#include <vector>

#include "core/number_format.h"
#include "graphics/colour_flood.h"
#include "graphics/plot_device.h"

namespace kestra {
namespace {

// Heads from here up mark cells without a result.
constexpr float kNoHeadAbove = 1E+25f;

// Which section a cell belongs to; the row section's boxes are (x, z), the
// column section's (z, y).
enum class Section { Row, Column };

struct CutCell {
  int column = 0;
  int row = 0;
};

bool InGrid(const ModelState& m, int column, int row) {
  return column >= 1 && column <= m.NCOL && row >= 1 && row <= m.NROW;
}

// The cells a section cuts, in order along it.
std::vector<CutCell> CutCells(const ModelState& m, Section section, int column, int row) {
  std::vector<CutCell> cells;
  if (!InGrid(m, column, row)) return cells;
  if (section == Section::Row)
    for (int j = 1; j <= m.NCOL; ++j) cells.push_back({j, row});
  else
    for (int i = 1; i <= m.NROW; ++i) cells.push_back({column, i});
  return cells;
}

// The box of a cut cell in section coordinates.
PictureBox SectionBox(const ModelState& m, Section section, CutCell c, int layer) {
  const float bottom = m.BOT(c.column, c.row, layer);
  const float top = m.TOP(c.column, c.row, layer);
  if (section == Section::Row) return {m.XEDGE[c.column - 1], bottom, m.XEDGE[c.column], top};
  return {bottom, m.YEDGE[c.row - 1], top, m.YEDGE[c.row]};
}

ClipWindow SectionWindow(const PlotContext& context, Section section) {
  return section == Section::Row ? RowSectionClipWindow(context.layout) : ColumnSectionClipWindow(context.layout);
}

// Boxes cut to the section window and filled in one colour.
void FillSectionBoxes(PlotContext& context, Section section, std::vector<PictureBox> boxes, Colour colour) {
  std::vector<PictureBox> visible;
  const ClipWindow window = SectionWindow(context, section);
  for (PictureBox& b : boxes)
    if (ClipBox(b.x1, b.y1, b.x2, b.y2, window)) visible.push_back(b);
  if (section == Section::Row)
    FillBoxesRowSection(context, visible, colour);
  else
    FillBoxesColumnSection(context, visible, colour);
}

void DrawSectionSegment(PlotContext& context, Section section, float a1, float b1, float a2, float b2, Colour colour) {
  if (!ClipSegment(a1, b1, a2, b2, SectionWindow(context, section)).visible) return;
  if (section == Section::Row)
    DrawSegmentRowSection(context, a1, b1, a2, b2, colour, true);
  else
    DrawSegmentColumnSection(context, a1, b1, a2, b2, colour, true);
}

void DrawFrames(PlotContext& context) {
  const ViewWindow& v = context.layout.view;
  SelectPlotPen(context.device, kBlack);
  DrawSegmentRowSection(context, v.Xmin, v.Zmin, v.Xmax, v.Zmin, kBlack, true);
  DrawSegmentRowSection(context, v.Xmax, v.Zmin, v.Xmax, v.Zmax, kBlack, true);
  DrawSegmentRowSection(context, v.Xmax, v.Zmax, v.Xmin, v.Zmax, kBlack, true);
  DrawSegmentRowSection(context, v.Xmin, v.Zmax, v.Xmin, v.Zmin, kBlack, true);
  DrawSegmentColumnSection(context, v.Zmin, v.Ymin, v.Zmax, v.Ymin, kBlack, true);
  DrawSegmentColumnSection(context, v.Zmax, v.Ymin, v.Zmax, v.Ymax, kBlack, true);
  DrawSegmentColumnSection(context, v.Zmax, v.Ymax, v.Zmin, v.Ymax, kBlack, true);
  DrawSegmentColumnSection(context, v.Zmin, v.Ymax, v.Zmin, v.Ymin, kBlack, true);
}

// The head of the first layer from the top that has a valid one; false when none has.
bool WaterLevel(const ModelState& m, const Settings& s, CutCell c, float& level) {
  for (int k = 1; k <= m.NLAY; ++k) {
    const float head = m.HEAD(c.column, c.row, k);
    if (head != s.HNOFLO && head != s.HDRY && head < kNoHeadAbove && m.IBOUND(c.column, c.row, k) != 0) {
      level = head;
      return true;
    }
  }
  return false;
}

void DrawWaterTable(PlotContext& context, const Settings& s, Section section, const std::vector<CutCell>& cells) {
  const ModelState& m = context.model;
  for (std::size_t n = 0; n + 1 < cells.size(); ++n) {
    float level1 = 0, level2 = 0;
    if (!WaterLevel(m, s, cells[n], level1) || !WaterLevel(m, s, cells[n + 1], level2)) continue;
    if (section == Section::Row)
      DrawSectionSegment(context, section, m.XCENTER[cells[n].column], level1, m.XCENTER[cells[n + 1].column], level2,
                         s.waterTableColor);
    else
      DrawSectionSegment(context, section, level1, m.YCENTER[cells[n].row], level2, m.YCENTER[cells[n + 1].row],
                         s.waterTableColor);
  }
}

// The cut cells in the colours of the flood, under everything else.
void DrawSectionFlood(PlotContext& context, const Settings& s, const ColourFlood& flood, Section section,
                      const std::vector<CutCell>& cells) {
  const ModelState& m = context.model;
  std::vector<std::vector<PictureBox>> classes(kFloodClasses);
  for (int k = 1; k <= m.NLAY; ++k)
    for (CutCell c : cells) {
      const int n = FloodClass(flood, FloodCellValue(m, s, flood.quantity, c.column, c.row, k));
      if (n >= 0) classes[n].push_back(SectionBox(m, section, c, k));
    }
  DxfLayerScope dxfLayer(context.device, "FLOOD");
  for (int n = 0; n < kFloodClasses; ++n) {
    if (classes[n].empty()) continue;
    SelectPlotPen(context.device, FloodClassColour(n));
    FillSectionBoxes(context, section, classes[n], FloodClassColour(n));
  }
}

// Inactive and fixed-head fills first, then the edges of the active cells, so
// an edge shared with a filled neighbour stays visible.
void DrawSectionCells(PlotContext& context, const Settings& s, Section section, const std::vector<CutCell>& cells) {
  const ModelState& m = context.model;
  std::vector<PictureBox> inactive, fixedHead, active;
  for (int k = 1; k <= m.NLAY; ++k)
    for (CutCell c : cells) {
      const std::int16_t code = m.IBOUND(c.column, c.row, k);
      (code > 0 ? active : code == 0 ? inactive : fixedHead).push_back(SectionBox(m, section, c, k));
    }
  if (IsOn(s.showInactiveCells)) {
    SelectPlotPen(context.device, s.inactiveCellColor);
    FillSectionBoxes(context, section, inactive, s.inactiveCellColor);
  }
  if (IsOn(s.showFixedHeadCells)) {
    SelectPlotPen(context.device, s.fixedHeadCellColor);
    FillSectionBoxes(context, section, fixedHead, s.fixedHeadCellColor);
  }
  SelectPlotPen(context.device, s.meshColor);
  for (const PictureBox& b : active) {
    DrawSectionSegment(context, section, b.x1, b.y2, b.x2, b.y2, s.meshColor);
    DrawSectionSegment(context, section, b.x1, b.y1, b.x2, b.y1, s.meshColor);
    DrawSectionSegment(context, section, b.x1, b.y1, b.x1, b.y2, s.meshColor);
    DrawSectionSegment(context, section, b.x2, b.y1, b.x2, b.y2, s.meshColor);
  }
}

void DrawSectionPackages(PlotContext& context, const DrawInputs& inputs, const std::vector<CutCell>& rowCells,
                         const std::vector<CutCell>& columnCells) {
  const ModelState& m = context.model;
  for (const PackageGroup& group : PackageGroups(inputs.settings)) {
    if (!group.shown || !Simulates(m, group.dataType)) continue;
    std::vector<PictureBox> rowBoxes, columnBoxes;
    for (int k = 1; k <= m.NLAY; ++k) {
      LayerValues values;
      if (!ReadPackageLayer(inputs.packages, m, group.dataType, k, m.CurrentPeriod, values)) continue;
      for (CutCell c : rowCells)
        if (m.IBOUND(c.column, c.row, k) > 0 && group.marks(values(c.column, c.row)))
          rowBoxes.push_back(SectionBox(m, Section::Row, c, k));
      for (CutCell c : columnCells)
        if (m.IBOUND(c.column, c.row, k) > 0 && group.marks(values(c.column, c.row)))
          columnBoxes.push_back(SectionBox(m, Section::Column, c, k));
    }
    SelectPlotPen(context.device, group.colour);
    FillSectionBoxes(context, Section::Row, rowBoxes, group.colour);
    FillSectionBoxes(context, Section::Column, columnBoxes, group.colour);
  }
}

void DrawSectionBarriers(PlotContext& context, const DrawInputs& inputs, int column, int row) {
  const ModelState& m = context.model;
  const Colour colour = inputs.settings.barrierColor;
  SelectPlotPen(context.device, colour);
  for (int k = 1; k <= m.NLAY; ++k) {
    LayerValues codes;
    if (!ReadPackageLayer(inputs.packages, m, data_type::kBarriers, k, m.CurrentPeriod, codes)) continue;
    for (CutCell c : CutCells(m, Section::Row, column, row))
      if (const auto code = RoundToInt16(codes(c.column, c.row)))
        DrawBarrierRowCell(context, c.column, c.row, k, colour, *code);
    for (CutCell c : CutCells(m, Section::Column, column, row))
      if (const auto code = RoundToInt16(codes(c.column, c.row)))
        DrawBarrierColumnCell(context, c.column, c.row, k, colour, *code);
  }
}

void DrawSectionReservoirs(PlotContext& context, const DrawInputs& inputs, const std::vector<CutCell>& rowCells,
                           const std::vector<CutCell>& columnCells) {
  const ModelState& m = context.model;
  const Settings& s = inputs.settings;
  LayerValues locations, layers;
  if (!ReadReservoirArrays(inputs.packages, m, s.reservoirOption, locations, layers)) return;
  SelectPlotPen(context.device, s.reservoirColor);
  for (Section section : {Section::Row, Section::Column}) {
    std::vector<PictureBox> boxes;
    for (CutCell c : section == Section::Row ? rowCells : columnCells)
      for (int k = 1; k <= m.NLAY; ++k)
        if (locations(c.column, c.row) > 0 && ReservoirReachesLayer(m, s.reservoirOption, layers, c.column, c.row, k))
          boxes.push_back(SectionBox(m, section, c, k));
    FillSectionBoxes(context, section, boxes, s.reservoirColor);
  }
}

void PrepareSectionPicture(Picture& picture) {
  picture.SetVisible(true);
  picture.SetPersistent(true);
  picture.Clear();
}

void FinishSectionPicture(Picture& picture) {
  picture.SetPersistent(false);
  picture.Refresh();
}

// Where a barrier face lies relative to a section: crossing it at the low or
// the high end of the cell along the section, or in the section's plane.
enum class FacePlace { Low, High, InPlane, None };

void FillBarrier(PlotContext& context, Section section, CutCell c, int layer, Colour colour, FacePlace place) {
  if (place == FacePlace::None) return;
  PictureBox box = SectionBox(context.model, section, c, layer);
  const float strip = kStripPixels * context.layout.PixelSize;
  float& low = section == Section::Row ? box.x1 : box.y1;
  float& high = section == Section::Row ? box.x2 : box.y2;
  if (place == FacePlace::Low) high = low + strip;
  if (place == FacePlace::High) low = high - strip;
  FillSectionBoxes(context, section, {box}, colour);
}

}  // namespace

void DrawBarrierRowCell(PlotContext& context, int column, int row, int layer, Colour colour, int code) {
  // Faces 1 and 2 (left, right) cross a row section; 3 and 4 lie along it.
  constexpr FacePlace kPlaces[] = {FacePlace::None, FacePlace::Low, FacePlace::High, FacePlace::InPlane,
                                   FacePlace::InPlane};
  if (InGrid(context.model, column, row) && code >= 1 && code <= 4)
    FillBarrier(context, Section::Row, {column, row}, layer, colour, kPlaces[code]);
}

void DrawBarrierColumnCell(PlotContext& context, int column, int row, int layer, Colour colour, int code) {
  // Faces 3 and 4 (upper, lower) cross a column section; 1 and 2 lie along it.
  constexpr FacePlace kPlaces[] = {FacePlace::None, FacePlace::InPlane, FacePlace::InPlane, FacePlace::Low,
                                   FacePlace::High};
  if (InGrid(context.model, column, row) && code >= 1 && code <= 4)
    FillBarrier(context, Section::Column, {column, row}, layer, colour, kPlaces[code]);
}

void DrawCrossSections(PlotContext& context, const DrawInputs& inputs) {
  const Settings& s = inputs.settings;
  const ModelState& m = context.model;
  if (!context.layout.sectionsShown) return;
  Hourglass hourglass(inputs.ui);
  PrepareSectionPicture(context.rowSection);
  PrepareSectionPicture(context.columnSection);
  DrawFrames(context);
  const std::vector<CutCell> rowCells = CutCells(m, Section::Row, s.sectionColumn, s.sectionRow);
  const std::vector<CutCell> columnCells = CutCells(m, Section::Column, s.sectionColumn, s.sectionRow);
  if (inputs.flood && !inputs.flood->Empty()) {
    DrawSectionFlood(context, s, *inputs.flood, Section::Row, rowCells);
    DrawSectionFlood(context, s, *inputs.flood, Section::Column, columnCells);
  }
  if (IsOn(s.showWaterTable) && inputs.headsLoaded) {
    SelectPlotPen(context.device, s.waterTableColor);
    DrawWaterTable(context, s, Section::Row, rowCells);
    DrawWaterTable(context, s, Section::Column, columnCells);
  }
  if (IsOn(s.sectionGrid)) {
    DrawSectionCells(context, s, Section::Row, rowCells);
    DrawSectionCells(context, s, Section::Column, columnCells);
  }
  DrawSectionPackages(context, inputs, rowCells, columnCells);
  if (Simulates(m, data_type::kBarriers) && IsOn(s.showBarriers)) DrawSectionBarriers(context, inputs, s.sectionColumn, s.sectionRow);
  if (Simulates(m, data_type::kReservoirLocations) && IsOn(s.showReservoirs)) DrawSectionReservoirs(context, inputs, rowCells, columnCells);
  FinishSectionPicture(context.rowSection);
  FinishSectionPicture(context.columnSection);
}

}  // namespace kestra
