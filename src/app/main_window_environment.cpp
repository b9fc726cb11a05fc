// Options, Environment: the display settings of the open model.
#include "app/environment_dialog.h"
#include "app/main_window.h"

namespace kestra::app {

void MainWindow::options_environment_Click() {
  if (RefuseCommand()) return;
  EnvironmentDialog dialog(session_, layout_.modelZmin, layout_.modelZmax, ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  gridPlotSwitch_ = IsOn(session_.settings.showMesh);
  layout_.modelZmin = dialog.MinElevation();
  layout_.modelZmax = dialog.MaxElevation();
  RedrawViews(true);
}

}  // namespace kestra::app
