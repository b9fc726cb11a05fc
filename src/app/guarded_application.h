// The application object of the window. Every window event (a click on a
// menu, the toolbar or a view, a key, a timer) enters the program through
// `notify`: no exception may leave a command, so one that a handler did not
// foresee is caught there and reported instead of ending the program.
#pragma once

#include <QApplication>
#include <functional>
#include <string>

namespace kestra::app {

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv);

  // Called with the description of a failure that left a handler; without
  // a handler the failure is only dropped.
  void SetFailureHandler(std::function<void(const std::string& what)> handler);

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void Report(const std::string& what);

  std::function<void(const std::string&)> failureHandler_;
  bool reporting_ = false;
};

}  // namespace kestra::app
