// Velocity vectors, DXF base maps and capture zones over the plan, and the
// maps dialog.
#include <QCoreApplication>
#include <QTimer>

#include "app/main_window.h"
#include "app/maps_dialog.h"
#include "app/model_position_dialog.h"
#include "export/capture_zone_drawing.h"
#include "export/dxf_maps.h"
#include "graphics/velocity_vectors.h"
#include "session/time_step_results.h"
#include "settings/settings_file.h"

namespace kestra::app {

void MainWindow::LoadMapFont() {
  const auto path = FindStrokeFontFile(QCoreApplication::applicationDirPath().toStdString());
  std::string error;
  // Without the font, map texts are not drawn; everything else is.
  if (!path.empty()) LoadStrokeFont(path, strokeFont_, error);
}

// Both loops let window events run between their steps: other commands are
// refused meanwhile, and a redraw asked for meanwhile follows at the end.
void MainWindow::DrawOverlays(PlotContext& context) {
  session_.busy.redraw = true;
  if (IsOn(session_.settings.vectorsVisible)) CellVelocitiesReady(session_);
  DrawVelocityVectors(context, {session_.settings, ui_, session_.loaded.maxSpeed});
  DrawDxfMaps(context, {session_.settings, ui_, strokeFont_, mapCache_});
  DrawCaptureZones(context, session_.settings, captureZones_);
  session_.busy.redraw = false;
  if (redrawAgain_ && particles_.Particles.empty()) {
    redrawAgain_ = false;
    QTimer::singleShot(0, this, [this] { RedrawViews(true); });
  }
}

void MainWindow::DrawSectionVectors(PlotContext& context) {
  if (IsOn(session_.settings.vectorsVisible)) CellVelocitiesReady(session_);
  const VectorInputs inputs{session_.settings, ui_, session_.loaded.maxSpeed};
  DrawRowSectionVectors(context, inputs);
  DrawColumnSectionVectors(context, inputs);
}

// The position moves base maps and plots with it; the settings file keeps it.
void MainWindow::options_model_position_Click() {
  if (RefuseCommand()) return;
  ModelPositionDialog dialog(PositionOf(session_.model), session_.model.lengthUnit, ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  ApplyPositionChoice(dialog.Choice(), session_.model);
  WriteModelPosition(session_.settingsPath, dialog.Choice(), ui_);
  RedrawViews(false);
}

void MainWindow::options_maps_Click() {
  if (RefuseCommand()) return;
  MapsDialog dialog(session_.settings.dxfMaps, ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  WriteSettings(session_.settingsPath, session_.settings, ui_);
  RedrawViews(false);
}

}  // namespace kestra::app
