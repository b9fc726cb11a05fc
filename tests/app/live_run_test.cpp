// Runs seen on the screen while they go on: the plan widget repaints with
// new pathlines, the meter and hint show; the results table of the runs.
#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

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

// What the plan widget put on the screen each time it painted during a run.
class PaintWatcher : public QObject {
 public:
  PaintWatcher(app::MainWindow& window) : window_(window) { window.View(0)->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && window_.busy().trackingRun) {
      // The picture the paint puts on the screen.
      shown.push_back(window_.Raster(0).Image().copy());
      meterVisible = meterVisible || window_.findChild<QProgressBar*>("Meter")->isVisible();
      hints.push_back(window_.findChild<QLabel*>("hint")->text());
    }
    return false;
  }
  std::vector<QImage> shown;
  std::vector<QString> hints;
  bool meterVisible = false;

 private:
  app::MainWindow& window_;
};

TEST(LiveRun, ThePlanWidgetRepaintsWithNewPathlinesWhileTheRunGoesOn) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  AddManyParticles(w, 400);
  ASSERT_GT(w.window.particles().ParticleCount(), 200);
  PaintWatcher watcher(w.window);
  // The stop button ends the run once the screen has changed a few times.
  QTimer stopper;
  QObject::connect(&stopper, &QTimer::timeout, [&] {
    if (watcher.shown.size() >= 4) w.window.ToolbarButton("stop")->trigger();
  });
  stopper.start(10);
  w.window.run_forward_Click();
  stopper.stop();

  ASSERT_GE(watcher.shown.size(), 4u) << "the plan was not put on the screen during the run";
  int distinct = 0;
  for (std::size_t n = 1; n < watcher.shown.size(); ++n) distinct += watcher.shown[n] != watcher.shown[n - 1];
  EXPECT_GE(distinct, 2) << "the repaints showed no new pathlines";
  EXPECT_TRUE(watcher.meterVisible);
  EXPECT_TRUE(watcher.hints.front().startsWith("Tracking forward")) << watcher.hints.front().toStdString();
  // Over: no meter and no hint left behind.
  EXPECT_FALSE(w.window.findChild<QProgressBar*>("Meter")->isVisible());
  EXPECT_EQ(w.window.findChild<QLabel*>("hint")->text(), "");
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

TEST(LiveRun, TheScreenShowsTheRunBeforeItEnds) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  AddManyParticles(w, 300);
  QImage blank;
  QImage midRun;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    if (!w.window.busy().trackingRun) return;
    const QImage screen = OnScreen(w.window);
    if (blank.isNull()) blank = screen;
    else if (midRun.isNull() && screen != blank) midRun = screen;
    if (!midRun.isNull()) w.window.ToolbarButton("stop")->trigger();
  });
  sampler.start(20);
  const QImage before = OnScreen(w.window);
  w.window.run_forward_Click();
  sampler.stop();
  EXPECT_FALSE(midRun.isNull()) << "the view did not change while the run went on";
  EXPECT_NE(midRun, before);
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
