// The views of the main window: layout, the redraw after a view change, the
// release points of the particles and the pathlines of their runs.
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QFontMetricsF>
#include <QSpinBox>

#include "app/main_window.h"
#include "app/recent_models.h"
#include "app/status_panes.h"
#include "app/tracking_dialog.h"
#include "core/round_numbers.h"
#include "core/world_position.h"
#include "export/plot_annotation.h"
#include "render/view_marks.h"
#include "settings/settings_file.h"
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
    if (values) {
      ContourInputs contours{session_.settings, session_.contours, strokeFont_, ui_, session_.busy};
      contours.cache = &contourLines_;
      DrawContours(context, contours, *values);
    }
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
  floodSource_ = {};  // the results may have changed on disk
  stepTerms_ = {};
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
  GiveSpareWidthToPanels();
  ShowLoadedResults();
}

// A plan that the height limits leaves white space at the right of the
// views: the panels beside them take it, up to a share of the window.
void MainWindow::GiveSpareWidthToPanels() {
  constexpr int kMargin = 8;
  constexpr double kLargestPanelShare = 0.4;
  const int used = views_[layout_.sectionsShown ? kColumnSection : kPlan]->geometry().right();
  const int spare = viewArea_->width() - used - kMargin;
  QDockWidget* panel = nullptr;
  for (QDockWidget* dock : findChildren<QDockWidget*>())
    if (dock->isVisible() && !dock->isFloating() && dockWidgetArea(dock) == Qt::RightDockWidgetArea) panel = dock;
  if (spare <= 0 || panel == nullptr) return;
  const int wanted = std::min(panel->width() + spare, static_cast<int>(width() * kLargestPanelShare));
  if (wanted > panel->width()) resizeDocks({panel}, {wanted}, Qt::Horizontal);
}

void MainWindow::KeepModel(Session&) { RedrawViews(false); }

void MainWindow::ArrangeViews() {
  for (RasterPicture& picture : pictures_) {
    picture.SetDevicePixelRatio(devicePixelRatioF());
    picture.SetAntialiased(true);
  }
  // The sections' axes and captions take a strip left of the views and one
  // under them: as wide as the most the corner beside the row section can
  // need first, then as the sections drawn need.
  const bool framed = IsOn(session_.settings.sectionsVisible);
  const int left = framed ? viewArea_->LeftMargin(layout_.modelZmin, layout_.modelZmax, viewArea_->height() / 4) : 0;
  int bottom = framed ? viewArea_->BottomMargin(0) : 0;
  const auto arrange = [&] {
    viewSpace_ = QSize(viewArea_->width() - left, viewArea_->height() - bottom);
    placement_ = kestra::ArrangeViews(layout_, pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection],
                                      session_.settings, viewSpace_.width(), viewSpace_.height());
  };
  arrange();
  if (framed && viewArea_->BottomMargin(placement_.sectionPixels) < bottom) {
    bottom = viewArea_->BottomMargin(placement_.sectionPixels);
    arrange();
  }
  const bool sections = layout_.planShown && layout_.sectionsShown;
  views_[kPlan]->setGeometry(left, 0, placement_.planWidth, placement_.planHeight);
  views_[kRowSection]->setGeometry(left, placement_.rowSectionTop, placement_.planWidth, placement_.sectionPixels);
  views_[kColumnSection]->setGeometry(left + placement_.columnSectionLeft, 0, placement_.sectionPixels,
                                      placement_.planHeight);
  views_[kPlan]->setVisible(layout_.planShown);
  views_[kRowSection]->setVisible(sections);
  views_[kColumnSection]->setVisible(sections);
  FrameViews();
}

// The sections' captions and axes as the views are now placed and scaled.
void MainWindow::FrameViews() {
  ViewFrame frame;
  frame.sectionsShown = layout_.planShown && layout_.sectionsShown;
  if (frame.sectionsShown) {
    frame.plan = views_[kPlan]->geometry();
    const FigureFacts facts = FactsOfFigure(session_.model, session_.settings, session_.periods, layout_, "");
    frame.rowSection = {views_[kRowSection]->geometry(), pictures_[kRowSection].Record().Corners()};
    frame.columnSection = {views_[kColumnSection]->geometry(), pictures_[kColumnSection].Record().Corners()};
    frame.elevationTitle = facts.elevationTitle;
    frame.rowCaption = facts.rowCaption;
    frame.columnCaption = facts.columnCaption;
  }
  viewArea_->SetFrame(std::move(frame));
}

// The edge between the plan and the sections was dragged: the exaggeration
// that gives the sections that depth goes into the settings and their file.
void MainWindow::ResizeSections(float pixels) {
  if (RefuseCommand()) return;
  const float exaggeration =
      ExaggerationForSectionPixels(layout_, pixels, viewSpace_.width(), viewSpace_.height());
  if (exaggeration <= 0 || exaggeration == session_.settings.exaggeration) return;
  session_.settings.exaggeration = exaggeration;
  WriteSettings(session_.settingsPath, session_.settings, ui_);
  RedrawViews(true);
}

// A scale bar, and the arrow to north of a model placed in the world, in
// the lower left corner of the plan on a ground that keeps them readable.
void MainWindow::DrawPlanMarks(QPainter& painter) {
  if (!session_.model.HasModel() || !layout_.planShown) return;
  constexpr double kMostBarPixels = 320;
  constexpr double kInset = 6;
  const double pixels = std::min<double>(kMostBarPixels, views_[kPlan]->width() - 2 * kInset);
  const double span = pixels * layout_.PixelSize;
  const double length = ScaleBarLength(span);
  if (!(length > 0) || !(span > 0)) return;
  const QFontMetricsF metrics(painter.font());
  const std::string unit = LengthUnitSymbol(session_.model.lengthUnit);
  const bool north = session_.model.position.has_value();
  const double barWidth = length / span * pixels;
  const double labelWidth = metrics.horizontalAdvance(QString::fromStdString(PlainText(length) + " " + unit));
  const double width = barWidth + labelWidth / 2 + (north ? kNorthArrowHeight + 12 : 0) + 2 * kInset;
  const double height = std::max(kNorthArrowHeight, 8 + metrics.height()) + 2 * kInset;
  const QRectF ground(0, views_[kPlan]->height() - height, width, height);
  painter.fillRect(ground, QColor(255, 255, 255, 200));
  const QPointF barTop(ground.left() + kInset + 4, ground.top() + kInset + 2);
  DrawScaleBar(painter, barTop, pixels, span, unit, 1);
  if (north)
    DrawNorthArrow(painter, QPointF(barTop.x() + barWidth + labelWidth / 2 + 12, ground.center().y()),
                   -session_.model.position->rotation, 1);
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
  UpdateLegend();
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
