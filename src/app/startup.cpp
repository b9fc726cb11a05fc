#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

#include "app/program_files.h"

namespace kestra::app {

std::unique_ptr<QLockFile> LockSingleInstance() {
  const QString user = qEnvironmentVariable("USER", "user");
  // The lock holds the owner's process id: a lock left by a crashed instance is taken over.
  auto lock = std::make_unique<QLockFile>(QDir::temp().filePath("kestra-" + user + ".lock"));
  if (!lock->tryLock(0)) return nullptr;
  return lock;
}

void ShowStartupPicture(int milliseconds) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QPixmap picture(ProgramFile("kestra-intro.png"));
  if (!picture.isNull()) {
    QLabel intro;
    intro.setObjectName("intro");
    intro.setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    intro.setPixmap(picture);
    intro.resize(picture.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
      intro.move(screen->geometry().center() - intro.rect().center());
    intro.show();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QApplication::restoreOverrideCursor();
}

}  // namespace kestra::app
