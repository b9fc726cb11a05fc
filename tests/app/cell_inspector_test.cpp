// The Cell panel follows the pointer over the plan and names the cell's
// values with the model's units and its boundary packages.
#include <gtest/gtest.h>

#include "core/number_format.h"
#include "gui_model.h"

namespace kestra::test {
namespace {

TEST(CellInspector, ShowsTheCellUnderThePointerWithUnitsPackagesAndTheirBudgetTerms) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  auto* table = w.window.findChild<QTableWidget*>("cell_inspector");
  ASSERT_NE(table, nullptr);
  ASSERT_TRUE(table->isVisible());
  w.window.session().model.CurrentLayer = 2;
  MovePointer(w.window.View(0), w.CellCentre(15, 8));
  EXPECT_EQ(InspectedLine(table, "Cell"), "layer 2, row 8, column 15");
  EXPECT_EQ(InspectedLine(table, "Boundary packages"), "pumping well");
  EXPECT_EQ(InspectedLine(table, "Budget terms"), "WELLS -1500 m\u00b3/day");
  const ModelState& m = w.window.model();
  EXPECT_EQ(InspectedLine(table, "Head"), GeneralNumberText(m.HEAD(15, 8, 2)) + " m");
  EXPECT_NE(InspectedLine(table, "Velocity to higher columns").find(" m/day"), std::string::npos);

  MovePointer(w.window.View(0), w.CellCentre(3, 3));
  EXPECT_EQ(InspectedLine(table, "Cell"), "layer 2, row 3, column 3");
  EXPECT_EQ(InspectedLine(table, "Boundary packages"), "none");
  EXPECT_EQ(InspectedLine(table, "Budget terms"), "none");
  MovePointer(w.window.View(0), w.PlanPixel(-50.0f, -50.0f));
  EXPECT_EQ(table->rowCount(), 0) << "outside the grid";
}

TEST(CellInspector, APathlineUnderThePointerNamesItsParticleTimeAndEnd) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  auto* table = w.window.findChild<QTableWidget*>("cell_inspector");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(10, 10));
  MovePointer(w.window.View(0), w.CellCentre(10, 10));
  EXPECT_EQ(InspectedLine(table, "Pathline"), "(no line Pathline)") << "not yet tracked";
  w.window.ToolbarButton("forward")->trigger();
  // The release point is the start of the pathline: the time there is the release time.
  MovePointer(w.window.View(0), w.CellCentre(10, 10));
  EXPECT_EQ(InspectedLine(table, "Pathline"), "particle 1, forward");
  EXPECT_EQ(InspectedLine(table, "Time there"), "0 days");
  const std::string end = InspectedLine(table, "Run ended");
  EXPECT_EQ(end.rfind("(no line", 0), std::string::npos) << end;
  EXPECT_FALSE(end.empty());
}

}  // namespace
}  // namespace kestra::test
