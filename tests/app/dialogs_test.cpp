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
  EXPECT_EQ(Submit(dialog, ui, {{"retardation_factor_edit", "0"}}), "The retardation factor is negative or zero");
  EXPECT_EQ(ui.beeps, 1);
  EXPECT_NE(dialog.result(), QDialog::Accepted);

  Field<QSpinBox>(dialog, "particle_spin_edit_circle_count")->setValue(4);
  Field<QSpinBox>(dialog, "particle_spin_edit_circle_planes")->setValue(101);
  EXPECT_EQ(Submit(dialog, ui, {{"retardation_factor_edit", "2.5"}}), "Valid range is 0  to 100.");
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

// Two stress periods of one second, the second of three steps.
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
  TrackingEntries Entries() const { return TrackingEntriesFrom(tracking, periods, model); }
  // Stores what the accepted dialog holds.
  void Store(const app::TrackingDialog& dialog) { StoreTrackingEntries(dialog.Entries(), periods, tracking, model); }
};

TEST(TrackingDialog, ChangingTheUnitConvertsTheShownStepAndAStepOfOneDayIsStoredAsSeconds) {
  TrackingDialogScene s;
  s.tracking.StepLength = 172800;  // two days in seconds
  s.tracking.TimeUnit = 1;
  app::TrackingDialog dialog(s.Entries(), s.periods, s.ui, nullptr);
  Field<QComboBox>(dialog, "time_unit")->setCurrentIndex(4);  // days
  EXPECT_EQ(Field<QLineEdit>(dialog, "Step_length")->text(), "2");
  Submit(dialog, s.ui, {{"Step_length", "1"}});
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << s.ui.LastMessage();
  s.Store(dialog);
  EXPECT_DOUBLE_EQ(s.tracking.StepLength, 86400);
  EXPECT_EQ(s.tracking.TimeUnit, 4);
}

TEST(TrackingDialog, RefusesStressPeriodZeroAndStoresTheBoundaryCellRuleAndReleaseTime) {
  TrackingDialogScene s;
  app::TrackingDialog dialog(s.Entries(), s.periods, s.ui, nullptr);
  EXPECT_EQ(Submit(dialog, s.ui, {{"Stress_period", "0"}}), "Please enter an integer between 1 and  2");
  EXPECT_EQ(s.ui.messages.back().title, "Error");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(Field<QRadioButton>(dialog, "boundary_cells_option_1")->isChecked()) << "sinks by flow sign";
  Field<QRadioButton>(dialog, "boundary_cells_option_0")->setChecked(true);
  EXPECT_EQ(Submit(dialog, s.ui, {{"Stress_period", "1"}, {"release_time", "2.5"}}),
            std::string(kReleaseTimeMessage) + " 2");
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  Submit(dialog, s.ui, {{"release_time", "2"}});
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << s.ui.LastMessage();
  s.Store(dialog);
  EXPECT_EQ(s.tracking.BoundaryCells, BoundaryCellRule::AllAreSinks);
  EXPECT_EQ(s.tracking.ReleaseTime, 2.0);
}

TEST(TrackingDialog, PorosityPageRefusesAPorosityAboveOne) {
  TrackingDialogScene s;
  TrackingEntries entries = s.Entries();
  entries.layerPorosity = {"0.2", ""};
  app::TrackingDialog dialog(entries, s.periods, s.ui, nullptr);
  EXPECT_EQ(Field<QLineEdit>(dialog, "porosity_edit_1")->text(), "0.2");
  EXPECT_EQ(Submit(dialog, s.ui, {{"porosity_edit_2", "1.2"}}), kPorosityMessage);
  Submit(dialog, s.ui, {{"porosity_edit_2", "0.35"}});
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FLOAT_EQ(LayerPorosityOf(dialog.Entries()).Of(2), 0.35f);
}

}  // namespace
}  // namespace kestra::test
