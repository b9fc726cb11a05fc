// The window's last line of defence: an exception from any event handler is
// reported, not the end of the program.
#include <QEvent>
#include <QObject>
#include <gtest/gtest.h>

#include <stdexcept>

#include "app/guarded_application.h"

namespace kestra::app {
namespace {

class ThrowingObject : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw std::runtime_error("filesystem error: cannot open: Is a directory");
    if (event->type() == QEvent::User + 1) throw 42;
    return QObject::event(event);
  }
};

GuardedApplication& Application() { return *static_cast<GuardedApplication*>(QCoreApplication::instance()); }

TEST(GuardedApplication, AnExceptionFromAHandlerIsReportedAndTheProgramGoesOn) {
  std::vector<std::string> reports;
  Application().SetFailureHandler([&reports](const std::string& what) { reports.push_back(what); });
  ThrowingObject object;
  QEvent failing(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &failing));
  QEvent unknown(static_cast<QEvent::Type>(QEvent::User + 1));
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &unknown));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[0], "filesystem error: cannot open: Is a directory");
  EXPECT_EQ(reports[1], "unknown failure");
  // Events that do not fail are delivered as before.
  QEvent ordinary(QEvent::DynamicPropertyChange);
  QCoreApplication::sendEvent(&object, &ordinary);
  EXPECT_EQ(reports.size(), 2u);
  Application().SetFailureHandler(nullptr);
}

TEST(GuardedApplication, AHandlerThatFailsWhileReportingEndsTheReportOnly) {
  int calls = 0;
  Application().SetFailureHandler([&calls](const std::string&) {
    ++calls;
    throw std::runtime_error("the report failed too");
  });
  ThrowingObject object;
  QEvent failing(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &failing));
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &failing));
  EXPECT_EQ(calls, 2);
  Application().SetFailureHandler(nullptr);
}

}  // namespace
}  // namespace kestra::app
