// GUI tests run without a display unless one is asked for. The window's
// preferences (recent models, last folder) go to a test folder of their own
// for each test program run and are removed at the end.
#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "app/guarded_application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  kestra::app::GuardedApplication application(argc, argv);
  QApplication::setOrganizationName(QString("kestra-gui-tests-%1").arg(QApplication::applicationPid()));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  QSettings().clear();
  return result;
}
