// The views of the main window: layout, the redraw after a view change, the
// release points of the particles and the pathlines of their runs.
#include <QAction>
#include <QApplication>
#include <QSpinBox>

#include "app/main_window.h"
#include "app/recent_models.h"
#include "app/status_panes.h"
#include "app/tracking_dialog.h"
#include "graphics/contours.h"
#include "graphics/particle_redraw.h"
#include "graphics/plan_view.h"
#include "session/package_layer_source.h"

namespace kestra::app {
namespace {

constexpr const char* kStalePathlinesHint = "The pathlines no longer match the options; Run, Restart to track again.";

}  // namespace

PlotContext MainWindow::Context() {
  return {pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection], device_, session_.model, layout_};
}

DrawInputs MainWindow::Inputs() {
  DrawInputs inputs(session_.settings, packages_, ui_);
  inputs.headsLoaded = session_.loaded.headsLoaded;
  inputs.gridPlotSwitch = gridPlotSwitch_;
  UpdateFlood();
  if (floodQuantity_) inputs.flood = &flood_;
  // Contours first, then vectors and maps over them.
  inputs.drawOverlays = [this](PlotContext& context) {
    const LoadStatus& loaded = session_.loaded;
    const CellArray<float>* values =
        ContourSource(session_.model, session_.settings, loaded.headsLoaded, loaded.drawdownsLoaded);
    if (values) DrawContours(context, {session_.settings, session_.contours, strokeFont_, ui_, session_.busy}, *values);
    DrawOverlays(context);
  };
  return inputs;
}

void MainWindow::SetUpViewScales(const Session& session) {
  SetUpModelViews(layout_, session.model);
  packages_ = MakePackageLayerReader(session);
}

// The state a freshly opened model starts in: no particles, "set particle"
// mode, layer 1, the layout for the whole grid.
void MainWindow::ShowModel(Session& session) {
  particles_.Particles.clear();
  particleHistory_.Clear();
  inspected_ = {};
  ResetRuns();
  captureZones_.clear();
  captureChoice_ = {};
  if (zonePick_ != ZonePick::None) StopPicking();
  particles_.DefaultRetardation = 1.0;
  particles_.DefaultParticleColor = session.settings.particleColor;
  ShowParticleColour();
  EnableParticleItems();
  ToolbarButton("set particle")->setChecked(true);
  SetModelControlsEnabled(true);
  for (const char* name : {"file_load_particles", "run_forward", "run_backward", "run_step_forward",
                           "run_step_backward", "run_restart", "run_delete_all_particles", "run_results",
                           "run_capture_zone", "run_source_zone", "run_clear_capture_zones",
                           "options_particle_tracking", "options_environment", "options_maps",
                           "file_save_heads_as", "file_save_drawdowns_as", "file_save_velocity_as",
                           "file_save_plot_as", "file_export_results", "file_print", "file_copy_picture",
                           "options_model_position"})
    findChild<QAction*>(name)->setEnabled(true);
  layerBox_->setValue(session.model.CurrentLayer);
  SetUpTimeControl();
  RememberModel(QString::fromStdString(session.model.ModelPath));
  FillRecentModels();
  DescribeStatusPanes(statusPanes_, TimeUnitName(session.periods.timeUnit));
  ClearPointerReadout();
  // The plan takes the keys, so that the boxes are not left in an edit.
  views_[kPlan]->setFocus();
  RedrawViews(true);
  ShowLoadedResults();
}

void MainWindow::KeepModel(Session&) { RedrawViews(false); }

void MainWindow::ArrangeViews() {
  for (RasterPicture& picture : pictures_) {
    picture.SetDevicePixelRatio(devicePixelRatioF());
    picture.SetAntialiased(true);
  }
  placement_ = kestra::ArrangeViews(layout_, pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection],
                                    session_.settings, viewArea_->width(), viewArea_->height());
  const bool sections = layout_.planShown && layout_.sectionsShown;
  views_[kPlan]->setGeometry(0, 0, placement_.planWidth, placement_.planHeight);
  views_[kRowSection]->setGeometry(0, placement_.rowSectionTop, placement_.planWidth, placement_.sectionPixels);
  views_[kColumnSection]->setGeometry(placement_.columnSectionLeft, 0, placement_.sectionPixels,
                                      placement_.planHeight);
  views_[kPlan]->setVisible(layout_.planShown);
  views_[kRowSection]->setVisible(sections);
  views_[kColumnSection]->setVisible(sections);
}

void MainWindow::RedrawViews(bool arrange) {
  if (!session_.model.HasModel() || isMinimized()) return;
  if (session_.busy.particleRedraw || session_.busy.redraw) {
    redrawAgain_ = true;
    return;
  }
  if (arrange) ArrangeViews();
  ShowParticleCount();
  // The marks on the surface go with the old pictures.
  marker_.shown = false;
  drag_.RubberShown = false;
  PlotContext context = Context();
  DrawModel(context, Inputs(), session_.model.CurrentLayer);
  RefreshViews();
  // The read-out follows the new layer or model under a pointer that did not move.
  if (pointerOnPlan_) ShowPointerReadout(lastPointer_);
  RedrawParticles();
  DrawStoredPathlines();
  // A resize while the contours were drawn stopped them: draw again at the new size.
  if (redrawAgain_ && !session_.busy.Any()) {
    redrawAgain_ = false;
    RedrawViews(true);
  }
}

// Dots at the release points, drawn between window events so that the stop
// button can end a long redraw.
void MainWindow::RedrawParticles() {
  if (isMinimized() || IsBusy(session_.model, session_.busy) || particles_.Particles.empty()) return;
  PlotContext context = Context();
  ParticleRedraw redraw{context, session_.settings, session_.tracking, particles_, session_.busy, ui_, runControl_};
  SetRunButtonsRunning(true);
  kestra::RedrawParticles(redraw, kScreenReleaseDotFactor);
  SetRunButtonsRunning(false);
  RefreshViews();
  ShowPointerReadout(lastPointer_);
  if (redrawAgain_) {
    redrawAgain_ = false;
    RedrawViews(true);
  }
}

void MainWindow::SetUpScreenPathlines(PathlineDrawing& drawing) const {
  drawing.SetBackwardColour(session_.settings.backwardPathColor);
  drawing.SetMarkSpacing(true);
}

// The paths as the runs drew them, dimmed when they no longer match.
void MainWindow::DrawStoredPathlines() {
  if (storedPaths_.Empty() || session_.busy.Any()) return;
  PlotContext context = Context();
  PathlineDrawing drawing(context, session_.tracking, false);
  SetUpScreenPathlines(drawing);
  drawing.SetDimmed(pathsStale_);
  storedPaths_.DrawOnto(drawing);
  RefreshViews();
  if (pathsStale_) ui_.SetHint(kStalePathlinesHint);
}

void MainWindow::ResetRuns() {
  ResetParticleTimes(particles_);
  ResetParticlePositions(particles_);
  storedPaths_.Clear();
  pathsStale_ = false;
  endpoints_.emplace(session_.model, particles_.ParticleCount());
  emit ResultsChanged();
}

void MainWindow::RefreshViews() {
  for (PictureView* view : views_) view->update();
}

// A run or contour drawing ends when the window changes size; a redraw
// going on is repeated when it ends.
void MainWindow::Form_Resize() {
  if (session_.busy.trackingRun || session_.busy.contourDrawing) {
    session_.busy.trackingRun = false;
    session_.busy.contourDrawing = false;
    runControl_.breakRequested = true;
    redrawAgain_ = true;  // the run redraws once it has ended
    return;
  }
  RedrawViews(true);
}

}  // namespace kestra::app
