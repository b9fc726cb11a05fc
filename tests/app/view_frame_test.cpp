// The sections carry their captions and elevation axes; the edge between
// the plan and the sections is dragged to deepen them, and a zoom enlarges
// the plan without letting the sections grow over it.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/view_area.h"
#include "core/round_numbers.h"
#include "gui_model.h"

namespace kestra::test {
namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(ViewFrame, SectionsAreCaptionedAndTheDraggedEdgeDeepensThemButAZoomDoesNot) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  app::MainWindow& window = w.window;
  const Settings& settings = window.session().settings;
  const auto* area = window.findChild<app::ViewArea*>("view_area");
  ASSERT_NE(area, nullptr);
  const app::ViewFrame& frame = area->Frame();
  EXPECT_EQ(frame.rowCaption, "Row " + std::to_string(settings.sectionRow) + ", vertical exaggeration 3.3");
  EXPECT_EQ(frame.columnCaption, "Column " + std::to_string(settings.sectionColumn));
  EXPECT_EQ(frame.elevationTitle, "Elevation (m)");
  // The elevation axis lies left of the row section, so the views stand in from the left.
  EXPECT_GT(window.View(1)->x(), 20);

  const int depth = window.View(1)->height();
  const QPoint edge(window.View(0)->geometry().center().x(), window.View(0)->geometry().bottom() + 2);
  QTest::mousePress(const_cast<app::ViewArea*>(area), Qt::LeftButton, {}, edge);
  QTest::mouseRelease(const_cast<app::ViewArea*>(area), Qt::LeftButton, {}, edge - QPoint(0, 60));
  EXPECT_GT(settings.exaggeration, 3.3f);
  EXPECT_NEAR(window.View(1)->height(), depth + 60, 3);
  EXPECT_NE(FileText(window.session().settingsPath).find("EXAGGERATION= " + TrimmedText(settings.exaggeration, 2)),
            std::string::npos);
  EXPECT_NE(frame.rowCaption.find(ExaggerationText(settings.exaggeration)), std::string::npos);

  const QSize plan = window.View(0)->size();
  const int deepened = window.View(1)->height();
  Wheel(window.View(0), w.CellCentre(10, 10), 2);
  EXPECT_GE(window.View(0)->width(), plan.width() - 1);
  EXPECT_GE(window.View(0)->height(), plan.height() - 1);
  EXPECT_EQ(window.View(1)->height(), deepened);
  // Zoomed in, the same depth shows a flatter section, and the caption says so.
  EXPECT_LT(window.layout().Exaggeration, settings.exaggeration);
  EXPECT_NE(frame.rowCaption.find(ExaggerationText(window.layout().Exaggeration)), std::string::npos);
}

TEST(ViewFrame, APlanThatTheHeightLimitsLeavesItsSpareWidthToThePanels) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  w.window.resize(1366, 768);
  OpenWindow::WaitFor([&] { return w.window.width() == 1366; });
  w.window.OpenModelPath(w.modelPath);
  QApplication::processEvents();
  const auto* area = w.window.findChild<app::ViewArea*>("view_area");
  const int spare = area->width() - w.window.View(2)->geometry().right();
  EXPECT_GT(spare, 0);
  EXPECT_LE(spare, 12);
}

}  // namespace
}  // namespace kestra::test
