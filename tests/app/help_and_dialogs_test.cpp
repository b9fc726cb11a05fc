// The guide describes what the window offers and only that; the dialogs
// open wide enough, with the model's values, headings and units.
#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/placement_dialog.h"
#include "app/program_files.h"
#include "app/tracking_dialog.h"
#include "gui_model.h"

namespace kestra::test {
namespace {

QString Guide() {
  QFile file(app::ProgramFile("kestra-help.html"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  // One line per paragraph, so that phrases broken over lines are found.
  return QString::fromUtf8(file.readAll()).simplified();
}

// Menu text without its accelerator and dots: "&Open Model..." -> "Open Model".
QString Plain(QString text) { return text.remove('&').remove("...").trimmed(); }

TEST(Guide, DescribesEveryCommandThatWorksAndNoneThatDoesNot) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  // With a particle, and an edit undone, every command that can work does.
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(5, 4));
  QTest::mouseClick(w.window.View(0), Qt::RightButton, {}, w.CellCentre(6, 4));
  w.window.findChild<QAction*>("edit_undo")->trigger();
  const QString guide = Guide();
  for (QMenu* menu : w.window.menuBar()->findChildren<QMenu*>()) {
    for (QAction* item : menu->actions()) {
      if (item->isSeparator() || (item->menu() == nullptr && item->objectName().isEmpty())) continue;
      const QString text = Plain(item->text());
      // Commands still to come are disabled with a model open and not described.
      EXPECT_EQ(guide.contains(text), item->isEnabled() || item->menu() != nullptr)
          << text.toStdString() << (item->isEnabled() ? " works but is not described" : " is described but off");
    }
  }
  for (const char* gesture : {"Right click", "Left drag (set particles tool)", "Left drag (delete particles tool)",
                              "Left drag (zoom tool)", "Ctrl + left click", "Mouse wheel", "Middle drag",
                              "Space + left drag", "Dialog: Add New Particles",
                              "Dialog: Particle Tracking (Time) Properties"})
    EXPECT_TRUE(guide.contains(gesture)) << gesture;
  // Every shortcut of the window is in the keys table.
  for (QAction* action : w.window.findChildren<QAction*>()) {
    if (!action->shortcut().isEmpty() && action->isEnabled()) {
      EXPECT_TRUE(guide.contains(action->shortcut().toString())) << action->shortcut().toString().toStdString();
    }
  }
}

TEST(TrackingDialogLayout, ShowsEveryTabHeadingHeadingsOverTheOptionsAndTheModelsPorosity) {
  OpenWindow w("mixed3d/modflow", "mixed3d.nam");
  AnswerNextDialog<app::TrackingDialog>([](app::TrackingDialog& dialog) {
    auto* tabs = dialog.findChild<QTabWidget*>();
    EXPECT_EQ(tabs->count(), 5);
    EXPECT_FALSE(tabs->usesScrollButtons());
    // Wide enough for all five headings side by side.
    int headings = 0;
    for (int tab = 0; tab < tabs->count(); ++tab) headings += tabs->tabBar()->tabRect(tab).width();
    EXPECT_GE(dialog.width(), headings);
    for (const char* group : {"simulation_mode_option_group", "Recharge_assignment_group",
                              "Evapotranspiration_assignment_group", "particle_stop_group"})
      EXPECT_FALSE(dialog.findChild<QGroupBox*>(group)->title().isEmpty()) << group;
    // The model's porosity by layer: 0.2, 0.25 and 0.3 from the .mpbas file.
    EXPECT_EQ(dialog.findChild<QLineEdit*>("porosity_edit_1")->text(), "0.2");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("porosity_edit_3")->text(), "0.3");
    dialog.findChild<QLineEdit*>("porosity_edit_2")->setText("0.4");
    dialog.accept();
  });
  w.window.findChild<QAction*>("options_particle_tracking")->trigger();
  // Only the changed layer goes into the settings file.
  const std::string ini = ReadWholeFile(w.dir.File("mixed3d.ini"));
  EXPECT_NE(ini.find("Layer2= .4"), std::string::npos) << ini;
  EXPECT_EQ(ini.find("Layer1="), std::string::npos) << ini;
  EXPECT_EQ(ini.find("Layer3="), std::string::npos) << ini;
  EXPECT_NE(ini.find("BackwardPaths="), std::string::npos) << ini;
}

TEST(PlacementDialogDefaults, OkAloneAddsFourParticlesInEachSelectedCell) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  AnswerNextDialog<app::ParticlePlacementDialog>([](app::ParticlePlacementDialog& dialog) {
    // Units beside the radius and the retardation factor.
    bool radiusUnit = false;
    for (QLabel* label : dialog.findChildren<QLabel*>()) radiusUnit = radiusUnit || label->text().contains("length units");
    EXPECT_TRUE(radiusUnit);
    dialog.accept();
  });
  // Cells (3, 3) to (4, 4): four cells.
  QTest::mousePress(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(3, 3) - QPoint(2, 2));
  QTest::mouseRelease(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(4, 4) + QPoint(2, 2));
  ASSERT_EQ(w.window.particles().ParticleCount(), 16);
  EXPECT_FLOAT_EQ(w.window.particles().Particles[0].startLocal.x, 0.25f);
  EXPECT_FLOAT_EQ(w.window.particles().Particles[0].startLocal.z, 0.5f);
}

// The dialog counts what it would place as the counts change, and refuses
// OK over the limit while it is still open to change them.
TEST(PlacementDialogDefaults, ShowsTheCountToPlaceAndRefusesOverTheLimitBeforeClosing) {
  OpenWindow w("uniform1/lahey", "uniform1.mdl");
  std::string before, after, refusal;
  bool stayedOpen = false;
  AnswerNextDialog<app::ParticlePlacementDialog>([&](app::ParticlePlacementDialog& dialog) {
    auto* placed = Field<QLabel>(dialog, "placed_count");
    before = placed->text().toStdString();
    Field<QSpinBox>(dialog, "particle_spin_edit_lattice_columns")->setValue(40);
    Field<QSpinBox>(dialog, "particle_spin_edit_lattice_rows")->setValue(40);
    after = placed->text().toStdString();
    QTimer::singleShot(0, [&] {
      if (QWidget* box = QApplication::activeModalWidget(); box != &dialog && box != nullptr) box->close();
    });
    dialog.accept();
    stayedOpen = dialog.isVisible();
  });
  QTest::mousePress(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(3, 3) - QPoint(2, 2));
  QTest::mouseRelease(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(4, 4) + QPoint(2, 2));
  EXPECT_EQ(before, "This places 16 particles; 0 are set, 5000 at most.");
  EXPECT_EQ(after, "This places 6400 particles; 0 are set, 5000 at most.");
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);
}

}  // namespace
}  // namespace kestra::test
