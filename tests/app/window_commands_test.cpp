// The commands a new user reaches first: File, Open Model for both kinds of
// model and the recent models, the Run menu's Restart and Delete All
// Particles, the shortcuts, and the status panes that follow every change.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "app/recent_models.h"
#include "core/model_family.h"
#include "gui_model.h"

namespace kestra::test {
namespace {

QAction* Item(app::MainWindow& window, const char* name) { return window.findChild<QAction*>(name); }

TEST(OpenModel, OffersModelsAndNameFilesAndImportsANameFile) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  TempDir other;
  std::filesystem::copy(TestDataDir() / "mixed3d/modflow", other.path(), std::filesystem::copy_options::recursive);
  const QString nameFile = QString::fromStdString(other.File("mixed3d.nam"));
  AnswerNextDialog<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.nameFilters(),
              (QStringList{"Models (*.mdl *.nam)", "MODFLOW 6 simulations (mfsim.nam)", "All files (*)"}));
    // The folder of the model opened last.
    EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(w.dir.path().string()));
    dialog.selectFile(nameFile);
    static_cast<QDialog&>(dialog).accept();  // QFileDialog hides its accept
  });
  Item(w.window, "file_open_model")->trigger();
  EXPECT_EQ(w.window.model().NLAY, 3);
  EXPECT_EQ(FamilyOf(w.window.model()).Description(), "MODFLOW-2005 name file");
  EXPECT_EQ(app::LastModelFolder(), QString::fromStdString(other.path().string()));
  EXPECT_EQ(Item(w.window, "file_open_model")->shortcut(), QKeySequence::Open);
}

TEST(OpenModel, RecentModelsListTheNewestFirstAndReopen) {
  OpenWindow first("uniform1/lahey", "uniform1.mdl");
  OpenWindow second("mixed3d/lahey", "mixed3d.mdl");
  const QStringList recent = app::RecentModels();
  ASSERT_GE(recent.size(), 2);
  EXPECT_TRUE(recent[0].endsWith("mixed3d.mdl"));
  EXPECT_TRUE(recent[1].endsWith("uniform1.mdl"));

  // The first window opens the second's model from its menu.
  auto* menu = first.window.findChild<QMenu*>("file_recent_models");
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  ASSERT_FALSE(menu->actions().isEmpty());
  EXPECT_TRUE(menu->actions()[0]->text().endsWith("mixed3d.mdl"));
  menu->actions()[0]->trigger();
  EXPECT_EQ(first.window.model().NLAY, 3);

  // A model that is gone is said so and leaves the list.
  std::filesystem::remove_all(second.dir.path() / "mixed3d.mdl");
  CloseNextMessageBox();
  emit menu->aboutToShow();
  menu->actions()[0]->trigger();
  EXPECT_FALSE(app::RecentModels().contains(recent[0]));
}

// A model file dropped on the window opens; a drop of two files is refused.
TEST(OpenModel, AModelFileDroppedOnTheWindowOpens) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  OpenWindow other("mixed3d/lahey", "mixed3d.mdl");
  const auto drop = [&](const QList<QUrl>& urls) {
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&w.window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&w.window, &dropped);
    return true;
  };
  const QUrl model = QUrl::fromLocalFile(QString::fromStdString(other.modelPath));
  EXPECT_FALSE(drop({model, model}));
  EXPECT_EQ(w.window.model().NLAY, 1);
  EXPECT_TRUE(drop({model}));
  EXPECT_EQ(w.window.model().ModelPath, other.modelPath);
  EXPECT_EQ(w.window.model().NLAY, 3);
}

TEST(OpenModel, RecentModelsKeepEightAndEachOnce) {
  for (int n = 0; n < 10; ++n) app::RememberModel(QString("/models/m%1.mdl").arg(n % 9));
  const QStringList recent = app::RecentModels();
  ASSERT_EQ(recent.size(), app::kRecentModelCount);
  EXPECT_EQ(recent[0], "/models/m0.mdl");
  EXPECT_EQ(recent[1], "/models/m8.mdl");
  EXPECT_EQ(recent.count("/models/m0.mdl"), 1);
  EXPECT_EQ(app::LastModelFolder(), "/models");
}

TEST(RunMenu, RestartPutsParticlesBackAndDeleteAllEmptiesTheSetAndItsPane) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(5, 4));
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(6, 4));
  EXPECT_EQ(Pane(w.window, 7), "2");
  Item(w.window, "run_forward")->trigger();
  ASSERT_GT(w.window.particles().Particles[0].forward.time, 0);
  Item(w.window, "run_restart")->trigger();
  EXPECT_EQ(w.window.particles().Particles[0].forward.time, 0);
  EXPECT_EQ(w.window.particles().Particles[0].forward.cell, w.window.particles().Particles[0].startCell);

  Item(w.window, "run_delete_all_particles")->trigger();
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);
  EXPECT_EQ(Pane(w.window, 7), "0");
  EXPECT_FALSE(Item(w.window, "file_save_particles_as")->isEnabled());
}

TEST(Shortcuts, StandardKeysReachTheirCommands) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  EXPECT_EQ(Item(w.window, "file_save_plot_as")->shortcut(), QKeySequence::Save);
  EXPECT_EQ(Item(w.window, "file_print")->shortcut(), QKeySequence::Print);
  EXPECT_EQ(Item(w.window, "run_forward")->shortcut(), QKeySequence(Qt::Key_F5));
  EXPECT_EQ(Item(w.window, "run_backward")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
  EXPECT_EQ(w.window.ToolbarButton("stop")->shortcut(), QKeySequence(Qt::Key_Escape));

  // Ctrl+0 shows the whole grid again after a zoom.
  w.window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w.window));
  const ZoomWindow whole = w.window.layout().zoom;
  Wheel(w.window.View(0), w.CellCentre(5, 5), 2);
  ASSERT_LT(w.window.layout().zoom.width, whole.width);
  QTest::keyClick(&w.window, Qt::Key_0, Qt::ControlModifier);
  EXPECT_FLOAT_EQ(w.window.layout().zoom.width, whole.width);

  // F5 runs forward.
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(5, 4));
  QTest::keyClick(&w.window, Qt::Key_F5);
  EXPECT_GT(w.window.particles().Particles[0].forward.time, 0);
  QTest::keyClick(&w.window, Qt::Key_F5, Qt::ShiftModifier);
  EXPECT_GT(w.window.particles().Particles[0].backward.time, 0);
}

TEST(StatusPanes, HaveCaptionsUnitsAndFixedWidths) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  for (int pane = 0; pane < 8; ++pane) {
    auto* label = w.window.findChild<QLabel*>(QString("Status_pane%1").arg(pane));
    auto* caption = w.window.findChild<QLabel*>(QString("Status_caption%1").arg(pane));
    ASSERT_NE(caption, nullptr) << pane;
    EXPECT_FALSE(caption->text().isEmpty());
    EXPECT_FALSE(label->toolTip().isEmpty());
    EXPECT_EQ(label->minimumWidth(), label->maximumWidth()) << pane;
  }
  // The speeds name the model's time unit (days).
  EXPECT_TRUE(w.window.findChild<QLabel*>("Status_pane3")->toolTip().contains("days"));
  EXPECT_TRUE(w.window.findChild<QLabel*>("Status_pane0")->toolTip().contains("length unit"));
  // The widest read-out fits its pane.
  MovePointer(w.window.View(0), w.CellCentre(10, 10));
  auto* position = w.window.findChild<QLabel*>("Status_pane0");
  EXPECT_LE(position->fontMetrics().horizontalAdvance(position->text()), position->width());
}

TEST(StatusPanes, FollowALayerChangeAndAnotherModel) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  MovePointer(w.window.View(0), w.CellCentre(10, 10));
  EXPECT_EQ(Pane(w.window, 1), "10, 10, 1");
  const QString headLayer1 = Pane(w.window, 2);
  QTest::keyClick(w.window.View(0), Qt::Key_PageDown);
  EXPECT_EQ(Pane(w.window, 1), "10, 10, 2");
  EXPECT_NE(Pane(w.window, 2), headLayer1);

  // Another model: the old read-out is gone.
  w.window.SetCommandLine(QString::fromStdString(w.modelPath));
  w.window.Form_Activate();
  EXPECT_EQ(Pane(w.window, 1), "---");
  EXPECT_EQ(Pane(w.window, 7), "0");
}

TEST(RefusedEntries, SayWhyAndPutTheValidValueBack) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  auto* layerBox = w.window.findChild<QSpinBox*>("layer_spin_edit");
  auto* hint = w.window.findChild<QLabel*>("hint");
  layerBox->setFocus();
  layerBox->findChild<QLineEdit*>()->setText("7");
  const int beeps = w.window.ui().BeepCount();
  QTest::keyClick(layerBox, Qt::Key_Return);
  EXPECT_EQ(w.window.ui().BeepCount(), beeps + 1);
  EXPECT_TRUE(hint->text().contains("Layer 7")) << hint->text().toStdString();
  EXPECT_TRUE(hint->text().contains("1 to 3"));
  EXPECT_EQ(layerBox->value(), 1);
  EXPECT_EQ(w.window.model().CurrentLayer, 1);

  auto* position = w.window.findChild<QLineEdit*>("local_coordinate_edit");
  position->setFocus();
  position->setText("1.5");
  w.window.View(0)->setFocus();
  EXPECT_EQ(w.window.ui().BeepCount(), beeps + 2);
  EXPECT_TRUE(hint->text().contains("1.5")) << hint->text().toStdString();
  EXPECT_EQ(position->text(), "0.5");
  EXPECT_FLOAT_EQ(w.window.VerticalPosition(), 0.5f);
}

}  // namespace
}  // namespace kestra::test
