#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstring>
#include <iostream>

#include "app/guarded_application.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "core/version.h"

namespace {

constexpr int kStartupPictureMilliseconds = 3000;

}  // namespace

int main(int argc, char** argv) {
  // Answered before the application starts, so that it needs no display.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::cout << kestra::VersionLine("kestra") << "\nQt " << qVersion() << "\n";
    return 0;
  }
  kestra::app::GuardedApplication application(argc, argv);
  QApplication::setOrganizationName("kestra");
  QApplication::setApplicationName("kestra");
  QApplication::setApplicationVersion(kestra::ProgramVersion());
  const auto instanceLock = kestra::app::LockSingleInstance();
  if (!instanceLock) return 0;  // another instance runs: end silently

  const QStringList arguments = QApplication::arguments();
  const QString modelPath = arguments.size() > 1 ? arguments.at(1) : QString();

  kestra::app::MainWindow window;
  application.SetFailureHandler([&window](const std::string& what) { window.CommandFailed(what); });
  window.SetCommandLine(modelPath);
  // Sized to the screen first, for window systems that do not maximise.
  window.setGeometry(QApplication::primaryScreen()->availableGeometry());
  window.showMaximized();
  QApplication::processEvents();
  if (modelPath.isEmpty()) kestra::app::ShowStartupPicture(kStartupPictureMilliseconds);
  const int status = QApplication::exec();
  application.SetFailureHandler(nullptr);  // the window goes before the application
  return status;
}
