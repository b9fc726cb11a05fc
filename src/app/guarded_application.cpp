#include "app/guarded_application.h"

#include <exception>
#include <utility>

namespace kestra::app {

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

void GuardedApplication::SetFailureHandler(std::function<void(const std::string&)> handler) {
  failureHandler_ = std::move(handler);
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& failure) {
    Report(failure.what());
  } catch (...) {
    Report("unknown failure");
  }
  return false;
}

// The handler's message box runs events of its own; a failure among them
// is not reported again from inside the report.
void GuardedApplication::Report(const std::string& what) {
  if (reporting_ || !failureHandler_) return;
  reporting_ = true;
  try {
    failureHandler_(what);
  } catch (...) {
    // Nothing more can be said about it.
  }
  reporting_ = false;
}

}  // namespace kestra::app
