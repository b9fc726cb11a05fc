// The end of a command that failed in a way it did not handle (reported by
// the application object): a message, and the window ready again.
#include "app/main_window.h"

namespace kestra::app {

void MainWindow::CommandFailed(const std::string& what) {
  session_.busy = BusyFlags{};
  if (session_.model.HasModel()) SetRunButtonsRunning(false);
  Complain(ui_, "The command could not be completed: " + what, MessageIcon::Error);
}

}  // namespace kestra::app
