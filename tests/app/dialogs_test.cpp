// The placement and tracking dialogs with their checks, and a placement
// drag over inactive cells on the real window.
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "app/placement_dialog.h"
#include "app/tracking_dialog.h"
#include "gui_model.h"
#include "support/recording_interface.h"

namespace kestra::test {
namespace {

TEST(PlacementDialog, RefusesRetardationZeroAndOneHundredAndOneCirclePlanes) {
  PlacementCounts counts;
  ParticleSet particles;
  RecordingInterface ui;
  app::ParticlePlacementDialog dialog(counts, particles, ui, nullptr);
  Field<QLineEdit>(dialog, "retardation_factor_edit")->setText("0");
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "The retardation factor is negative or zero");
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  Field<QLineEdit>(dialog, "retardation_factor_edit")->setText("2.5");
  Field<QSpinBox>(dialog, "particle_spin_edit_circle_count")->setValue(4);
  Field<QSpinBox>(dialog, "particle_spin_edit_circle_planes")->setValue(101);
  dialog.accept();
  EXPECT_EQ(ui.LastMessage(), "Valid range is 0  to 100.");
  EXPECT_EQ(counts.circleCount, 0);  // nothing stored while refused

  Field<QSpinBox>(dialog, "particle_spin_edit_circle_planes")->setValue(100);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(counts.circleCount, 4);
  EXPECT_EQ(counts.circlePlanes, 100);
  EXPECT_DOUBLE_EQ(particles.DefaultRetardation, 2.5);
}

TEST(PlacementDialog, DragOverInactiveCellsPlacesNothingAndShowsNoDialog) {
  OpenWindow w("mixed3d/lahey", "mixed3d.mdl");
  // Rows 1-5, columns 25-30 are inactive in every layer.
  QTest::mousePress(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(26, 2));
  QTest::mouseRelease(w.window.View(0), Qt::LeftButton, {}, w.CellCentre(29, 4));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(w.window.particles().ParticleCount(), 0);
}

struct TrackingDialogScene {
  StressPeriods periods;
  ModelState model;
  TrackingSettings tracking;
  RecordingInterface ui;

  TrackingDialogScene() {
    periods.NPER = 2;
    periods.timeUnit = 1;  // seconds
    periods.PERLEN = {0, 1, 1};
    periods.NSTP = {0, 1, 3};
    periods.TSMULT = {0, 1, 1};
  }
};

TEST(TrackingDialog, RefusesStressPeriodZero) {
  TrackingDialogScene s;
  app::TrackingDialog dialog(TrackingEntriesFrom(s.tracking, s.periods, s.model), s.periods, s.ui, nullptr);
  Field<QLineEdit>(dialog, "Stress_period")->setText("0");
  dialog.accept();
  EXPECT_EQ(s.ui.LastMessage(), "Please enter an integer between 1 and  2");
  EXPECT_EQ(s.ui.messages.back().title, "Error");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST(TrackingDialog, StepOfOneDayIsStoredAsSeconds) {
  TrackingDialogScene s;
  app::TrackingDialog dialog(TrackingEntriesFrom(s.tracking, s.periods, s.model), s.periods, s.ui, nullptr);
  Field<QComboBox>(dialog, "time_unit")->setCurrentIndex(4);  // days
  Field<QLineEdit>(dialog, "Step_length")->setText("1");
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << s.ui.LastMessage();
  StoreTrackingEntries(dialog.Entries(), s.periods, s.tracking, s.model);
  EXPECT_DOUBLE_EQ(s.tracking.StepLength, 86400);
  EXPECT_EQ(s.tracking.TimeUnit, 4);
}

TEST(TrackingDialog, ChangingTheUnitConvertsTheShownStep) {
  TrackingDialogScene s;
  s.tracking.StepLength = 172800;  // two days in seconds
  s.tracking.TimeUnit = 1;
  app::TrackingDialog dialog(TrackingEntriesFrom(s.tracking, s.periods, s.model), s.periods, s.ui, nullptr);
  Field<QComboBox>(dialog, "time_unit")->setCurrentIndex(4);
  EXPECT_EQ(Field<QLineEdit>(dialog, "Step_length")->text(), "2");
}


TEST(TrackingDialog, BoundaryCellRuleAndReleaseTimeAreStored) {
  TrackingDialogScene s;
  app::TrackingDialog dialog(TrackingEntriesFrom(s.tracking, s.periods, s.model), s.periods, s.ui, nullptr);
  EXPECT_TRUE(Field<QRadioButton>(dialog, "boundary_cells_option_1")->isChecked()) << "sinks by flow sign";
  Field<QRadioButton>(dialog, "boundary_cells_option_0")->setChecked(true);
  Field<QLineEdit>(dialog, "release_time")->setText("2.5");
  dialog.accept();
  EXPECT_EQ(s.ui.LastMessage(), std::string(kReleaseTimeMessage) + " 2");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  Field<QLineEdit>(dialog, "release_time")->setText("2");
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << s.ui.LastMessage();
  StoreTrackingEntries(dialog.Entries(), s.periods, s.tracking, s.model);
  EXPECT_EQ(s.tracking.BoundaryCells, BoundaryCellRule::AllAreSinks);
  EXPECT_EQ(s.tracking.ReleaseTime, 2.0);
}

TEST(TrackingDialog, PorosityPageRefusesAPorosityAboveOne) {
  TrackingDialogScene s;
  TrackingEntries entries = TrackingEntriesFrom(s.tracking, s.periods, s.model);
  entries.layerPorosity = {"0.2", ""};
  app::TrackingDialog dialog(entries, s.periods, s.ui, nullptr);
  EXPECT_EQ(Field<QLineEdit>(dialog, "porosity_edit_1")->text(), "0.2");
  Field<QLineEdit>(dialog, "porosity_edit_2")->setText("1.2");
  dialog.accept();
  EXPECT_EQ(s.ui.LastMessage(), kPorosityMessage);
  Field<QLineEdit>(dialog, "porosity_edit_2")->setText("0.35");
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(LayerPorosityOf(dialog.Entries()).Of(2), 0.35f);
}

}  // namespace
}  // namespace kestra::test
