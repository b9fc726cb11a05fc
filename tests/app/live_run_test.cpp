// Runs seen on the screen while they go on: the plan widget repaints with
// new pathlines, the meter and hint show; the results table of the runs.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/results_window.h"
#include "gui_model.h"
#include "tracking/placement.h"

namespace kestra::test {
namespace {

// Four particles in each active cell of rows 6..20 of layer 1, tracked in
// short steps so that a run lasts many window events.
void AddManyParticles(OpenWindow& w, int steps) {
  app::MainWindow& window = w.window;
  const ModelState& m = window.model();
  std::vector<CellIndex> cells;
  for (int i = 6; i <= 20; ++i)
    for (int j = 2; j <= 24; ++j)
      if (m.IBOUND(j, i, 1) > 0) cells.push_back({static_cast<std::int16_t>(j), static_cast<std::int16_t>(i), 1});
  PlaceParticleGroups(m, window.session().settings, window.particles(), cells, SuggestedPlacementCounts(), 1,
                      window.ui());
  window.session().tracking.StepLength = 5;  // days
  window.session().tracking.MaximumSteps = steps;
}

// The plan as the screen shows it: what the window last put there, not a
// fresh rendering of the widget.
QImage OnScreen(app::MainWindow& window) {
  QWidget* plan = window.View(0);
  const QPoint origin = plan->mapTo(&window, QPoint(0, 0));
  return QGuiApplication::primaryScreen()
      ->grabWindow(window.winId(), origin.x(), origin.y(), plan->width(), plan->height())
      .toImage();
}

// What the plan widget painted during a run, and what the screen showed.
class PaintWatcher : public QObject {
 public:
  explicit PaintWatcher(app::MainWindow& window) : window_(window) { window.View(0)->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && window_.busy().trackingRun) {
      painted.push_back(window_.Raster(0).Image().copy());
      meterVisible = meterVisible || window_.findChild<QProgressBar*>("Meter")->isVisible();
      hints.push_back(window_.findChild<QLabel*>("hint")->text());
    }
    return false;
  }
  // Called by a timer while the run goes on.
  void SampleScreen() {
    if (!window_.busy().trackingRun) return;
    const QImage screen = OnScreen(window_);
    if (firstOnScreen.isNull()) firstOnScreen = screen;
    else if (screen != firstOnScreen) screenChanged = true;
  }
  std::vector<QImage> painted;
  std::vector<QString> hints;
  bool meterVisible = false;
  QImage firstOnScreen;
  bool screenChanged = false;

 private:
  app::MainWindow& window_;
};

TEST(LiveRun, PlanAndScreenShowNewPathlinesWhileTheRunGoesOn) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  AddManyParticles(w, 400);
  ASSERT_GT(w.window.particles().ParticleCount(), 200);
  PaintWatcher watcher(w.window);
  // The stop button ends the run once the plan and the screen have changed.
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    watcher.SampleScreen();
    if (watcher.painted.size() >= 4 && watcher.screenChanged) w.window.ToolbarButton("stop")->trigger();
  });
  sampler.start(20);
  w.window.run_forward_Click();
  sampler.stop();

  ASSERT_GE(watcher.painted.size(), 4u) << "the plan was not put on the screen during the run";
  int distinct = 0;
  for (std::size_t n = 1; n < watcher.painted.size(); ++n) distinct += watcher.painted[n] != watcher.painted[n - 1];
  EXPECT_GE(distinct, 2) << "the repaints showed no new pathlines";
  EXPECT_TRUE(watcher.screenChanged) << "the view did not change while the run went on";
  EXPECT_TRUE(watcher.meterVisible);
  EXPECT_TRUE(watcher.hints.front().startsWith("Tracking forward")) << watcher.hints.front().toStdString();
  // Over: no meter and no hint left behind.
  EXPECT_FALSE(w.window.findChild<QProgressBar*>("Meter")->isVisible());
  EXPECT_EQ(w.window.findChild<QLabel*>("hint")->text(), "");
}

TEST(ResultsTable, ListsEveryEndPointSortsByAColumnAndExportsTheCsv) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  AddManyParticles(w, 40);
  const int count = w.window.particles().ParticleCount();
  w.window.run_forward_Click();
  w.window.run_backward_Click();
  w.window.findChild<QAction*>("run_results")->trigger();
  auto* results = w.window.findChild<app::ResultsWindow*>("particle_results");
  ASSERT_NE(results, nullptr);
  EXPECT_TRUE(results->isVisible());
  auto* table = results->findChild<QTableWidget*>("results_table");
  ASSERT_EQ(table->rowCount(), 2 * count);  // forward and backward of each
  EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "particle");
  const int time = 17, end = 18;
  EXPECT_EQ(table->horizontalHeaderItem(time)->text(), "time");
  EXPECT_EQ(table->horizontalHeaderItem(end)->text(), "end");

  // Sorted by travel time, longest first: numbers, not texts.
  table->sortItems(time, Qt::DescendingOrder);
  for (int row = 1; row < table->rowCount(); ++row)
    ASSERT_GE(table->item(row - 1, time)->data(Qt::DisplayRole).toDouble(),
              table->item(row, time)->data(Qt::DisplayRole).toDouble());
  bool stoppedSomewhere = false;
  for (int row = 0; row < table->rowCount(); ++row)
    stoppedSomewhere = stoppedSomewhere || table->item(row, end)->text() != "reached its step limit";
  EXPECT_TRUE(stoppedSomewhere);
  // The reasons name the sink's cell and package, and the water table.
  std::set<std::string> reasons;
  for (int row = 0; row < table->rowCount(); ++row) reasons.insert(table->item(row, end)->text().toStdString());
  EXPECT_TRUE(reasons.contains("reached the water table (recharge)"));
  EXPECT_TRUE(std::any_of(reasons.begin(), reasons.end(), [](const std::string& reason) {
    return reason.starts_with("entered the ") && reason.find(" at layer ") != std::string::npos;
  })) << *reasons.begin();

  const std::string csv = w.dir.File("ends.csv");
  ASSERT_TRUE(results->ExportCsv(QString::fromStdString(csv)));
  const std::string text = ReadWholeFile(csv);
  EXPECT_EQ(text, EndpointCsvText(w.window.Endpoints()));
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2 * count + 1);

  // Restart puts the particles back: the table empties with them.
  w.window.findChild<QAction*>("run_restart")->trigger();
  EXPECT_EQ(table->rowCount(), 0);
}

}  // namespace
}  // namespace kestra::test

namespace kestra::test {
namespace {

// Many particles after two runs: a zoom, a layer down, the whole grid and
// the layer back give the picture of the runs again.
TEST(KeptRuns, RunsOfManyParticlesStayAcrossAZoomAndALayerChange) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  AddManyParticles(w, 40);
  w.window.ToolbarButton("zoom out")->trigger();  // their release points drawn
  w.window.run_forward_Click();
  w.window.run_backward_Click();
  // A redraw draws the release points over the paths, which the runs drew over them.
  w.window.ToolbarButton("zoom out")->trigger();
  const QImage tracked = w.window.Raster(0).Image();
  QWidget* plan = w.window.View(0);
  Wheel(plan, w.CellCentre(10, 10), 1);
  Wheel(plan, w.CellCentre(10, 10), 1);
  QTest::keyClick(plan, Qt::Key_PageDown);
  ASSERT_EQ(w.window.model().CurrentLayer, 2);
  w.window.ToolbarButton("zoom out")->trigger();
  QTest::keyClick(plan, Qt::Key_PageUp);
  ASSERT_EQ(w.window.model().CurrentLayer, 1);
  EXPECT_FALSE(w.window.session().busy.Any());
  EXPECT_EQ(ChangedPixels(tracked, w.window.Raster(0).Image()), 0);
}

}  // namespace
}  // namespace kestra::test
