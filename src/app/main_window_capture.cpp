// Capture zones in the window. Run, Capture Zone... waits for a click on a
// well's cell on the plan and tracks backward from the faces of the well's
// cells; Run, Source Zone... waits for a rectangle dragged over a source and
// tracks forward from the top faces of its cells. Either asks for the travel
// times and draws the zones on the views, where they stay across redraws
// until Run, Clear Capture Zones or another model.
#include <QAction>

#include "app/main_window.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "export/source_cells.h"
#include "session/flow_terms.h"
#include "session/time_step_results.h"
#include "tracking/thread_count.h"
#include "tracking/well_screens.h"

namespace kestra::app {
namespace {

constexpr const char* kPickWellHint = "Click the cell of a pumping well on the plan; Esc cancels.";
constexpr const char* kPickSourceHint = "Drag a rectangle over the source on the plan; Esc cancels.";
constexpr const char* kSourceName = "source";

std::string Sentence(const std::string& text) { return Capitalised(text) + "."; }

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
  StartPicking(ZonePick::Well, kPickWellHint);
}

void MainWindow::run_source_zone_Click() {
  if (RefuseCommand()) return;
  StartPicking(ZonePick::Source, kPickSourceHint);
}

void MainWindow::StartPicking(ZonePick pick, const char* hint) {
  zonePick_ = pick;
  views_[kPlan]->setCursor(Qt::CrossCursor);
  views_[kPlan]->setFocus();
  ui_.SetHint(hint);
}

void MainWindow::StopPicking() {
  zonePick_ = ZonePick::None;
  views_[kPlan]->unsetCursor();
  ui_.SetHint("");
}

void MainWindow::run_clear_capture_zones_Click() {
  if (RefuseCommand()) return;
  captureZones_.clear();
  RedrawViews(false);
}

void MainWindow::CaptureZoneOfCell(CellIndex cell) {
  StopPicking();
  const ModelState& m = session_.model;
  std::string problem;
  const auto well = PumpingWellAt(m, m.CurrentPeriod, cell, problem);
  if (!well) return Complain(ui_, Sentence(problem), MessageIcon::Exclamation);
  const std::string name = WellName(*well);
  BuildZones(*well, false, "Well " + name + ", tracked backward from its cells' faces.");
}

void MainWindow::SourceZoneOfRectangle(QPointF a, QPointF b) {
  StopPicking();
  WellScreen source{SourceCellsInRectangle(session_.model, {a.x(), a.y()}, {b.x(), b.y()}), kSourceName};
  if (source.cells.empty())
    return Complain(ui_, "The rectangle holds the centre of no active, wet cell.", MessageIcon::Exclamation);
  const std::size_t count = source.cells.size();
  BuildZones(source, true,
             "Source of " + std::to_string(count) + (count == 1 ? " cell" : " cells") +
                 ", tracked forward from the top faces.");
}

void MainWindow::BuildZones(const WellScreen& start, bool fromSource, const std::string& description) {
  ModelState& m = session_.model;
  const int timeUnit = session_.periods.timeUnit;
  CaptureZoneDialog dialog(description, captureChoice_, timeUnit, NarrowestCellWidth(m), ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  captureChoice_ = dialog.Choice();
  SavedSteps held;
  if (!LoadFlowTerms(m, ui_, true) || !CheckUnsavedSteps(session_, fromSource ? 1 : -1, ui_, held)) return;

  Hourglass hourglass(ui_);
  ui_.SetHint(description);
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
  release.fromSource = fromSource;
  CaptureTracks tracks;
  std::vector<CaptureZone> zones;
  std::string problem;
  const bool built = CaptureZonesOfWells(run, {start}, release, settings, tracks, zones, problem);
  ui_.SetMeter(0);
  ui_.SetHint("");
  if (!built) return Complain(ui_, Sentence("The zones cannot be built: " + problem), MessageIcon::Exclamation);
  // A well chosen again, or a new source, replaces the zones it had.
  std::erase_if(captureZones_, [&](const CaptureZone& z) { return z.well == zones.front().well; });
  captureZones_.insert(captureZones_.end(), zones.begin(), zones.end());
  RedrawViews(false);
  if (const std::string incomplete = IncompleteZonesText(zones, timeUnit); !incomplete.empty())
    ui_.ShowMessage(incomplete, MessageIcon::Information, kApplicationTitle);
}

}  // namespace kestra::app
