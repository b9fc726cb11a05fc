// The main window: menus File, Run, Options and Help. Commands that are not
// built yet are present and disabled.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/qt_user_interface.h"

class QAction;
class QMenu;

namespace kestra::app {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  UserInterface& ui() { return ui_; }

 private slots:
  void file_exit_Click();
  void help_about_Click();

 private:
  QMenu* AddMenu(const char* objectName, const QString& title);
  QAction* AddItem(QMenu* menu, const char* objectName, const QString& text, bool enabled = false);
  void BuildMenus();
  void BuildStatusBar();

  QtUserInterface ui_{this};
};

}  // namespace kestra::app
