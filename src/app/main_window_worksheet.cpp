// The user's hands on the main window: the mouse on the plan (pointer
// read-out, particles, zoom, moving the sections), the layer box and the
// vertical-position box.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>

#include "app/main_window.h"
#include "app/placement_dialog.h"
#include "core/number_format.h"
#include "graphics/cross_sections.h"
#include "graphics/particle_redraw.h"
#include "graphics/plan_view.h"
#include "graphics/pointer_marks.h"
#include "graphics/zoom_rules.h"
#include "settings/settings_file.h"
#include "tracking/particle_deletion.h"
#include "tracking/pointer_readout.h"

namespace kestra::app {
namespace {

float X(QPointF p) { return static_cast<float>(p.x()); }
float Y(QPointF p) { return static_cast<float>(p.y()); }

bool InsideGrid(const ModelState& m, QPointF p) {
  return X(p) >= 0 && X(p) <= m.XEDGE[m.NCOL] && Y(p) >= 0 && Y(p) <= m.YEDGE[m.NROW];
}

}  // namespace

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == viewArea_ && type == QEvent::Resize) {
    Form_Resize();
  } else if ((watched == viewArea_ || watched == toolbar_) && type == QEvent::MouseMove) {
    // Outside the pictures nothing can be clicked on while a model is shown.
    if (watched == viewArea_) viewArea_->setCursor(session_.model.HasModel() ? Qt::ForbiddenCursor : Qt::ArrowCursor);
    ClearPointerReadout();
  } else if (watched == layerBox_ || watched == verticalPositionBox_) {
    bool& editFlag = watched == layerBox_ ? session_.busy.layerEdit : session_.busy.positionEdit;
    if (type == QEvent::FocusIn) return BoxGotFocus(editFlag);
    if (type == QEvent::MouseMove || type == QEvent::MouseButtonPress) ClearPointerReadout();
    if (watched == verticalPositionBox_ && type == QEvent::FocusOut) return local_coordinate_edit_Leave();
    if (watched == layerBox_ && type == QEvent::FocusOut) editFlag = false;
    if (type == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (watched == layerBox_) return layer_spin_edit_KeyDown(key);
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        views_[kPlan]->setFocus();
        return true;
      }
    }
  } else if (watched == views_[kPlan] && (type == QEvent::KeyPress || type == QEvent::KeyRelease)) {
    if (PanKey(static_cast<QKeyEvent*>(event))) return true;
    if (type == QEvent::KeyRelease) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape && zonePick_ != ZonePick::None) {
      StopPicking();
      return true;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) return layer_spin_edit_KeyDown(key);
  }
  return QMainWindow::eventFilter(watched, event);
}

// No edit while a run or redraw goes on (the stop button is enabled then).
bool MainWindow::BoxGotFocus(bool& editFlag) {
  if (ToolbarButton("stop")->isEnabled()) {
    ui_.Beep();
    QTimer::singleShot(0, views_[kPlan], [this] { views_[kPlan]->setFocus(); });
    return true;
  }
  editFlag = true;
  return false;
}

// Page Up goes one layer up (a lower number), Page Down one down; Enter
// takes the typed layer. Returns whether the key was used.
bool MainWindow::layer_spin_edit_KeyDown(int key) {
  if (QApplication::keyboardModifiers() & Qt::ShiftModifier) return false;
  ModelState& m = session_.model;
  if (!m.HasModel()) return false;
  const int before = m.CurrentLayer;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    const double typed = LeadingNumber(layerBox_->text().toStdString());
    if (typed < 1 || typed > m.NLAY) {
      RefuseEntry(tr("Layer %1 does not exist: the model has layers 1 to %2.")
                      .arg(layerBox_->text().trimmed())
                      .arg(m.NLAY));
      layerBox_->setValue(m.CurrentLayer);
      layerBox_->selectAll();
      return true;
    }
    m.CurrentLayer = RoundToInt16(typed).value_or(1);
  } else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
    const bool up = key == Qt::Key_PageUp;
    if (m.CurrentLayer == (up ? 1 : m.NLAY)) {
      RefuseEntry(up ? tr("Layer 1 is the top layer.") : tr("Layer %1 is the bottom layer.").arg(m.NLAY));
      return true;
    }
    m.CurrentLayer += up ? -1 : 1;
  } else {
    return false;
  }
  session_.busy.layerEdit = false;
  ui_.SetHint("");
  layerBox_->setValue(m.CurrentLayer);
  if (m.CurrentLayer != before) RedrawViews(false);
  else RefreshViews();
  return true;
}

// A vertical position outside 0..1 keeps the focus in the box.
bool MainWindow::local_coordinate_edit_Leave() {
  const double typed = LeadingNumber(verticalPositionBox_->text().toStdString());
  if (typed < 0 || typed > 1) {
    RefuseEntry(tr("The vertical position %1 lies outside 0 (cell bottom) to 1 (top of its saturated part).")
                    .arg(verticalPositionBox_->text().trimmed()));
    verticalPositionBox_->setText(QString::fromStdString(GeneralNumberText(verticalPosition_)));
    QTimer::singleShot(0, verticalPositionBox_, [this] { verticalPositionBox_->setFocus(); });
    return true;
  }
  verticalPosition_ = static_cast<float>(typed);
  session_.busy.positionEdit = false;
  ui_.SetHint("");
  return false;
}

// A refused entry beeps and says why in the hint line.
void MainWindow::RefuseEntry(const QString& reason) {
  ui_.Beep();
  ui_.SetHint(reason.toStdString());
}

void MainWindow::ClearPointerReadout() {
  RemoveSectionMarker();
  pointerOnPlan_ = false;
  if (!session_.model.HasModel()) return;
  for (int pane = 0; pane <= 4; ++pane) ui_.SetStatusPane(pane, kNoValueText);
}

void MainWindow::ShowPointerReadout(QPointF point) {
  if (!session_.model.HasModel()) return;
  const auto panes = PointerReadout(session_.model, session_.settings, session_.tracking, X(point), Y(point),
                                    session_.model.CurrentLayer, verticalPosition_);
  for (int pane = 0; pane < static_cast<int>(panes.size()); ++pane) ui_.SetStatusPane(pane, panes[pane]);
}

void MainWindow::RemoveSectionMarker() {
  if (!marker_.shown) return;
  PlotContext context = Context();
  ToggleSectionMarker(context, marker_.x, marker_.y, marker_.z);
  marker_.shown = false;
  views_[kRowSection]->update();
  views_[kColumnSection]->update();
}

void MainWindow::PlaceSectionMarker(float x, float y, float z) {
  RemoveSectionMarker();
  PlotContext context = Context();
  ToggleSectionMarker(context, x, y, z);
  marker_ = {x, y, z, true};
  views_[kRowSection]->update();
  views_[kColumnSection]->update();
}

void MainWindow::model_worksheet_MouseMove(Qt::MouseButtons buttons, QPointF point) {
  if (IsBusy(session_.model, session_.busy)) return;
  if (pan_.active) {
    MovePan(point);
    return;
  }
  lastPointer_ = point;
  pointerOnPlan_ = true;
  ShowPointerReadout(point);
  const ModelState& m = session_.model;
  const CellIndex cell = PointerCell(m, X(point), Y(point), m.CurrentLayer);
  if (buttons & Qt::LeftButton) {
    RemoveSectionMarker();
    if (drag_.DragActive && (drag_.zoom || drag_.RubberShown)) {
      ToggleRubberBand(pictures_[kPlan], X(drag_.anchor), Y(drag_.anchor), X(drag_.corner), Y(drag_.corner));
      drag_.corner = point;
      ToggleRubberBand(pictures_[kPlan], X(drag_.anchor), Y(drag_.anchor), X(drag_.corner), Y(drag_.corner));
      drag_.RubberShown = true;
      views_[kPlan]->update();
    }
  } else if (buttons == Qt::NoButton) {
    ShowCellInInspector(cell, point);
    if (cell.column > 0 && m.IBOUND(cell.column, cell.row, cell.layer) > 0 && layout_.sectionsShown) {
      const float z = ElevationOfLocalHeight(m, session_.settings, cell, verticalPosition_);
      PlaceSectionMarker(X(point), Y(point), z);
    } else {
      RemoveSectionMarker();
    }
  }
}

void MainWindow::model_worksheet_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF point) {
  if (IsBusy(session_.model, session_.busy) || StartPan(button, point)) return;
  const ModelState& m = session_.model;
  if (zonePick_ == ZonePick::Well) {
    const CellIndex cell = PointerCell(m, X(point), Y(point), m.CurrentLayer);
    if (button != Qt::LeftButton || cell.column <= 0) return ui_.Beep();
    CaptureZoneOfCell(cell);
    return;
  }
  if (zonePick_ == ZonePick::Source && button != Qt::LeftButton) return ui_.Beep();
  if (button == Qt::LeftButton && (modifiers & Qt::ControlModifier)) {
    const CellIndex cell = PointerCell(m, X(point), Y(point), m.CurrentLayer);
    if (cell.column > 0) MoveSections(cell);
  } else if (button == Qt::LeftButton) {
    drag_ = {true, false, zonePick_ == ZonePick::None && ToolbarButton("zoom")->isChecked(), point, point};
    // The pointer cannot leave the plan while the button is held.
    views_[kPlan]->grabMouse();
    if (!drag_.zoom) {
      ToggleRubberBand(pictures_[kPlan], X(point), Y(point), X(point), Y(point));
      drag_.RubberShown = true;
      views_[kPlan]->update();
    }
  } else if (button == Qt::RightButton) {
    if (!ToolbarButton("set particle")->isChecked() || !InsideGrid(m, point)) {
      ui_.Beep();
      return;
    }
    SetParticleAtPointer(point);
  }
}

void MainWindow::model_worksheet_MouseUp(Qt::MouseButton button, QPointF point) {
  if (IsBusy(session_.model, session_.busy)) return;
  if (pan_.active) {
    FinishPan(point);
    return;
  }
  if (button != Qt::LeftButton || !drag_.DragActive) return;
  drag_.DragActive = false;
  views_[kPlan]->releaseMouse();
  if (drag_.RubberShown) {
    ToggleRubberBand(pictures_[kPlan], X(drag_.anchor), Y(drag_.anchor), X(drag_.corner), Y(drag_.corner));
    drag_.RubberShown = false;
    views_[kPlan]->update();
  }
  if (drag_.zoom) FinishZoomDrag(point);
  else if (zonePick_ == ZonePick::Source) SourceZoneOfRectangle(drag_.anchor, point);
  else if (ToolbarButton("set particle")->isChecked()) PlaceParticlesInRectangle(drag_.anchor, point);
  else DeleteParticlesInRectangle(drag_.anchor, point);
}

void MainWindow::FinishZoomDrag(QPointF point) {
  const auto zoom = ZoomWindowFromDrag(session_.model, layout_.PixelSize, X(drag_.anchor), Y(drag_.anchor), X(point),
                                       Y(point));
  if (!zoom) return;
  layout_.zoom = *zoom;
  // One zoom per choice of the tool: the next drag places particles again.
  ToolbarButton("set particle")->setChecked(true);
  RedrawViews(true);
}

// The sections are cut through the clicked cell, and the settings file
// learns the new position at once.
void MainWindow::MoveSections(CellIndex cell) {
  Settings& s = session_.settings;
  if (cell.column == s.sectionColumn && cell.row == s.sectionRow) return;
  RemoveSectionMarker();
  PlotContext context = Context();
  ToggleSectionMarks(context, s.sectionColumn, s.sectionRow);
  s.sectionColumn = cell.column;
  s.sectionRow = cell.row;
  ToggleSectionMarks(context, s.sectionColumn, s.sectionRow);
  pictures_[kPlan].Refresh();
  DrawCrossSections(context, Inputs());
  DrawSectionVectors(context);
  RefreshViews();
  RedrawParticles();
  DrawStoredPathlines();
  FrameViews();
  WriteSettingsKey(session_.settingsPath, "CROSS_SECTIONS", "COLUMN", IntegerMaskText(s.sectionColumn), ui_);
  WriteSettingsKey(session_.settingsPath, "CROSS_SECTIONS", "ROW", IntegerMaskText(s.sectionRow), ui_);
}

// One particle at the pointer, at the vertical position in the cell.
void MainWindow::SetParticleAtPointer(QPointF point) {
  const ModelState& m = session_.model;
  const CellIndex cell = PointerCell(m, X(point), Y(point), m.CurrentLayer);
  if (cell.column == 0) return;
  const LocalPoint local{(X(point) - m.XEDGE[cell.column - 1]) / m.DELR[cell.column],
                         (Y(point) - m.YEDGE[cell.row - 1]) / m.DELC[cell.row], verticalPosition_};
  const float elevation = ElevationOfLocalHeight(m, session_.settings, cell, local.z);
  std::vector<ParticleRecord> before = particles_.Particles;
  if (!AddParticle(particles_, cell, local, elevation, ui_)) return;
  RecordParticleEdit(std::move(before));
  SetViewWindow(layout_);
  PlotContext context = Context();
  DrawReleasePoint(context, session_.settings, session_.tracking, particles_.Particles.back(), kScreenReleaseDotFactor);
  RefreshViews();
  PlaceSectionMarker(X(point), Y(point), elevation);
  ShowPointerReadout(point);
  ui_.SetStatusPane(7, IntegerMaskText(particles_.ParticleCount()));
}

void MainWindow::PlaceParticlesInRectangle(QPointF a, QPointF b) {
  const ModelState& m = session_.model;
  const auto cells = SelectedCells(m, {X(a), Y(a), X(b), Y(b)}, m.CurrentLayer);
  if (cells.empty()) return;
  const auto placed = [&](const PlacementCounts& counts) {
    return static_cast<int>(PlacementParticles(m, session_.settings, particles_, cells, counts, m.CurrentLayer).size());
  };
  ParticlePlacementDialog dialog(placementCounts_, particles_, ui_, this, placed);
  if (dialog.exec() != QDialog::Accepted) return;
  session_.settings.particleColor = particles_.DefaultParticleColor;
  WriteSettingsKey(session_.settingsPath, "COLOR", "Particles", NumberText(particles_.DefaultParticleColor), ui_);
  ShowParticleColour();
  std::vector<ParticleRecord> before = particles_.Particles;
  if (PlaceParticleGroups(m, session_.settings, particles_, cells, placementCounts_, m.CurrentLayer, ui_) > 0)
    RecordParticleEdit(std::move(before));
  RedrawViews(false);
}

}  // namespace kestra::app

namespace kestra::app {

void MainWindow::DeleteParticlesInRectangle(QPointF a, QPointF b) {
  const ModelState& m = session_.model;
  std::vector<ParticleRecord> before = particles_.Particles;
  ParticleRenumbering renumbering({});
  if (DeleteParticlesInside(particles_, m, {X(a), Y(a), X(b), Y(b)}, m.CurrentLayer, &renumbering) == 0) return;
  // The others keep where their runs took them, under their new numbers.
  storedPaths_.Renumber(renumbering);
  endpoints_->Renumber(renumbering);
  emit ResultsChanged();
  RecordParticleEdit(std::move(before));
  RedrawViews(false);
}

}  // namespace kestra::app
