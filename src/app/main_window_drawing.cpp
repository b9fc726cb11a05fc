// The views of the main window: layout, the redraw after a view change and
// the release points of the particles.
#include <QAction>
#include <QApplication>
#include <QSpinBox>

#include "app/main_window.h"
#include "core/number_format.h"
#include "graphics/plan_view.h"
#include "graphics/zoom_rules.h"
#include "input/layer_files.h"
#include "tracking/placement.h"

namespace kestra::app {
namespace {

// Release points are drawn as dots this many pixels across.
constexpr int kReleaseDotFactor = 2;

}  // namespace

PlotContext MainWindow::Context() {
  return {pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection], device_, session_.model, layout_};
}

DrawInputs MainWindow::Inputs() {
  DrawInputs inputs(session_.settings, packages_, ui_);
  inputs.headsLoaded = session_.loaded.headsLoaded;
  return inputs;
}

void MainWindow::SetUpViewScales(const Session& session) {
  layout_.zoom = WholeGridZoom(session.model);
  SetModelElevationRange(layout_, session.model);
}

// The state a freshly opened model starts in: no particles, "set particle"
// mode, layer 1, the layout for the whole grid.
void MainWindow::ShowModel(Session& session) {
  particles_.Particles.clear();
  particles_.DefaultRetardation = 1.0;
  particles_.DefaultParticleColor = session.settings.particleColor;
  ShowParticleColour();
  findChild<QAction*>("file_save_particles_as")->setEnabled(false);
  ToolbarButton("set particle")->setChecked(true);
  SetModelControlsEnabled(true);
  for (const char* name : {"file_load_particles", "run_forward", "run_backward", "run_step_forward",
                           "run_step_backward", "options_particle_tracking"})
    findChild<QAction*>(name)->setEnabled(true);
  layerBox_->setValue(session.model.CurrentLayer);
  // The plan takes the keys, so that the boxes are not left in an edit.
  views_[kPlan]->setFocus();
  RedrawViews(true);
}

void MainWindow::KeepModel(Session&) { RedrawViews(false); }

void MainWindow::ArrangeViews() {
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
  if (session_.busy.redraw) {
    redrawAgain_ = true;
    return;
  }
  if (arrange) ArrangeViews();
  ResetParticleTimes(particles_);
  ResetParticlePositions(particles_);
  // The marks on the surface go with the old pictures.
  marker_.shown = false;
  drag_.RubberShown = false;
  PlotContext context = Context();
  DrawModel(context, Inputs(), session_.model.CurrentLayer);
  RefreshViews();
  RedrawParticles();
}

// Dots at the release points on the plan and both sections, drawn between
// window events so that the stop button can end a long redraw.
void MainWindow::RedrawParticles() {
  if (isMinimized() || IsBusy(session_.model, session_.busy) || particles_.Particles.empty()) return;
  ui_.SetStatusPane(7, IntegerMaskText(particles_.ParticleCount()));
  SetViewWindow(layout_);
  session_.busy.redraw = true;
  runControl_.breakRequested = false;
  SetRunButtonsRunning(true);
  {
    Hourglass hourglass(ui_);
    for (const ParticleRecord& particle : particles_.Particles) {
      ui_.ProcessEvents();
      if (runControl_.breakRequested || !session_.busy.redraw) break;
      DrawReleasePoint(particle, kReleaseDotFactor);
    }
  }
  session_.busy.redraw = false;
  SetRunButtonsRunning(false);
  RefreshViews();
  ShowPointerReadout(lastPointer_);
  if (redrawAgain_) {
    redrawAgain_ = false;
    RedrawViews(true);
  }
}

void MainWindow::DrawReleasePoint(const ParticleRecord& particle, int dotFactor) {
  const ModelState& m = session_.model;
  const CellIndex c = particle.startCell;
  const float x = m.XEDGE[c.column - 1] + particle.startLocal.x * m.DELR[c.column];
  const float y = m.YEDGE[c.row - 1] + particle.startLocal.y * m.DELC[c.row];
  const float z = ElevationOfLocalHeight(m, session_.settings, c, particle.startLocal.z);
  const ViewWindow& w = layout_.view;
  if (x < w.Xmin || x > w.Xmax || y < w.Ymin || y > w.Ymax || z < w.Zmin || z > w.Zmax) return;
  const Colour colour = IsOn(session_.tracking.UseLayerColors) && c.layer < static_cast<int>(m.LayerProperties.size())
                            ? LayerColor(m.LayerProperties[c.layer])
                            : particle.ParticleColor;
  // Half the dot's width in model units across, and along the stretched elevation axis.
  const float half = layout_.PixelSize * static_cast<float>(particle.PenWidth * dotFactor) / 2;
  const float halfZ = half / layout_.Exaggeration;
  PlotContext context = Context();
  if (layout_.planShown) FillBox(context, x - half, y - half, x + half, y + half, colour);
  if (layout_.sectionsShown) {
    FillBoxRowSection(context, x - half, z - halfZ, x + half, z + halfZ, colour);
    FillBoxColumnSection(context, z - halfZ, y - half, z + halfZ, y + half, colour);
  }
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
