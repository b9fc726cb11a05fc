#include <QApplication>

#include "app/main_window.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  kestra::app::MainWindow window;
  window.showMaximized();
  return QApplication::exec();
}
