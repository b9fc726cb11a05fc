// Capture zones in the window: Run, Capture Zone... waits for a click on a
// well's cell on the plan, asks for the travel times, tracks backward from
// the faces of the well's cells and draws the zones on the views, where they
// stay across redraws until Run, Clear Capture Zones or another model.
#include <QAction>
#include <algorithm>
#include <cctype>

#include "app/main_window.h"
#include "core/number_format.h"
#include "session/flow_terms.h"
#include "session/time_step_results.h"
#include "tracking/thread_count.h"
#include "tracking/well_screens.h"

namespace kestra::app {
namespace {

constexpr const char* kPickWellHint = "Click the cell of a pumping well on the plan; Esc cancels.";

std::string Sentence(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text + ".";
}

// Which zones stopped short of their time, for the user to judge them.
std::string IncompleteZonesText(const std::vector<CaptureZone>& zones, int timeUnit) {
  std::string text;
  for (const CaptureZone& zone : zones)
    if (!zone.Complete())
      text += "\n" + ZoneTimeText(zone, timeUnit) + ":" + NumberText(zone.stoppedShort) + " of" +
              NumberText(zone.particles) + " particles";
  return text.empty() ? "" : "Particles stopped before reaching the time, so these zones may reach farther:" + text;
}

}  // namespace

void MainWindow::run_capture_zone_Click() {
  if (RefuseCommand()) return;
  pickingWell_ = true;
  views_[kPlan]->setCursor(Qt::CrossCursor);
  views_[kPlan]->setFocus();
  ui_.SetHint(kPickWellHint);
}

void MainWindow::StopPickingWell() {
  pickingWell_ = false;
  views_[kPlan]->unsetCursor();
  ui_.SetHint("");
}

void MainWindow::run_clear_capture_zones_Click() {
  if (RefuseCommand()) return;
  captureZones_.clear();
  RedrawViews(false);
}

void MainWindow::CaptureZoneOfCell(CellIndex cell) {
  StopPickingWell();
  ModelState& m = session_.model;
  std::string problem;
  const auto well = PumpingWellAt(m, m.CurrentPeriod, cell, problem);
  if (!well) return Complain(ui_, Sentence(problem), MessageIcon::Exclamation);
  const int timeUnit = session_.periods.timeUnit;
  CaptureZoneDialog dialog(WellName(*well), captureChoice_, timeUnit, NarrowestCellWidth(m), ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  captureChoice_ = dialog.Choice();
  SavedSteps held;
  if (!LoadFlowTerms(m, ui_, true) || !CheckUnsavedSteps(session_, -1, ui_, held)) return;

  Hourglass hourglass(ui_);
  ui_.SetHint("Tracking backward from well " + WellName(*well));
  std::int64_t particles = 1;
  ModelStepLoader loader(session_.settings, session_.tracking, ui_);
  CaptureRun run{m,
                 session_.settings,
                 session_.tracking,
                 session_.periods,
                 session_.busy,
                 ui_,
                 loader,
                 ThreadsToUse(0),
                 [&](int count) { particles = std::max(1, count); },
                 [&](const BatchCounts& counts) {
                   ui_.SetMeter(static_cast<int>(100 * counts.particlesDone / particles));
                   ui_.ProcessEvents();
                 }};
  const ZoneSettings settings{dialog.Times(), captureChoice_.pixel, captureChoice_.gap, false};
  WellRelease release;
  release.divisions = captureChoice_.faceDivisions;
  CaptureTracks tracks;
  std::vector<CaptureZone> zones;
  const bool built = CaptureZonesOfWells(run, {*well}, release, settings, tracks, zones, problem);
  ui_.SetMeter(0);
  ui_.SetHint("");
  if (!built) return Complain(ui_, Sentence("The zones cannot be built: " + problem), MessageIcon::Exclamation);
  // A well chosen again replaces its zones.
  std::erase_if(captureZones_, [&](const CaptureZone& z) { return z.well == WellName(*well); });
  captureZones_.insert(captureZones_.end(), zones.begin(), zones.end());
  RedrawViews(false);
  if (const std::string incomplete = IncompleteZonesText(zones, timeUnit); !incomplete.empty())
    ui_.ShowMessage(incomplete, MessageIcon::Information, kApplicationTitle);
}

}  // namespace kestra::app
