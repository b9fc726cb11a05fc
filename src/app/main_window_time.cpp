// The time control on the toolbar: stress period and time step of a
// transient model. A change loads that step's heads, flows and boundary
// cells and redraws contours, vectors and cells; pathlines tracked in
// another step stay, dimmed.
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>

#include "app/main_window.h"
#include "core/number_format.h"
#include "session/time_step_results.h"

namespace kestra::app {

void MainWindow::BuildTimeControl() {
  toolbar_->addWidget(new QLabel(tr("period"), this));
  periodBox_ = new QSpinBox(this);
  periodBox_->setObjectName("period_spin");
  periodBox_->setToolTip(tr("Stress period shown"));
  toolbar_->addWidget(periodBox_);
  toolbar_->addWidget(new QLabel(tr("step"), this));
  stepBox_ = new QSpinBox(this);
  stepBox_->setObjectName("step_spin");
  stepBox_->setToolTip(tr("Time step shown"));
  toolbar_->addWidget(stepBox_);
  for (QSpinBox* box : {periodBox_, stepBox_}) {
    box->setFocusPolicy(Qt::ClickFocus);  // as the layer box: the plan keeps the keys
    box->setKeyboardTracking(false);      // typing "12" loads step 12, not 1 first
    box->setEnabled(false);
    connect(box, &QSpinBox::valueChanged, this, &MainWindow::TimeControlChanged);
  }
}

// The ranges of the open model and its current step, without loading anything.
void MainWindow::SetUpTimeControl() {
  const StressPeriods& periods = session_.periods;
  const ModelState& m = session_.model;
  const QSignalBlocker quietPeriod(periodBox_), quietStep(stepBox_);
  periodBox_->setRange(1, periods.NPER);
  periodBox_->setValue(m.CurrentPeriod);
  stepBox_->setRange(1, periods.NSTP[static_cast<std::size_t>(m.CurrentPeriod)]);
  stepBox_->setValue(m.CurrentStep);
  const bool transient = periods.NPER > 1 || periods.NSTP[1] > 1;
  periodBox_->setEnabled(transient);
  stepBox_->setEnabled(transient);
}

void MainWindow::TimeControlChanged() {
  ModelState& m = session_.model;
  const int period = m.CurrentPeriod, step = m.CurrentStep;
  if (RefuseCommand()) {
    SetUpTimeControl();
    return;
  }
  m.CurrentPeriod = periodBox_->value();
  const int steps = session_.periods.NSTP[static_cast<std::size_t>(m.CurrentPeriod)];
  m.CurrentStep = std::min(stepBox_->value(), steps);
  if (m.CurrentPeriod == period && m.CurrentStep == step) return;
  ShowChangedTimeStep(period, step);
  if (!storedPaths_.Empty()) pathsStale_ = true;
  RedrawViews(false);
}

void MainWindow::ShowChangedTimeStep(int previousPeriod, int previousStep) {
  {
    Hourglass hourglass(ui_);
    LoadChangedTimeStep(session_, previousPeriod, previousStep, ui_);
  }
  ui_.SetStatusPane(5, IntegerMaskText(session_.model.CurrentPeriod));
  ui_.SetStatusPane(6, IntegerMaskText(session_.model.CurrentStep));
  SetUpTimeControl();
  ShowLoadedResults();
}

}  // namespace kestra::app
