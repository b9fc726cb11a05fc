// The main window: menus, the toolbar Toolbar1, the layer and vertical-position
// boxes, the colour swatch, the three views and the status bar. Event
// handlers keep the names of the commands and stay thin.
#pragma once

#include <QMainWindow>
#include <QString>

#include "app/qt_user_interface.h"
#include "core/model_state.h"
#include "core/run_state.h"

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QSpinBox;
class QToolBar;

namespace kestra::app {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);

  UserInterface& ui() { return ui_; }
  const ModelState& model() const { return model_; }
  BusyFlags& busy() { return busy_; }

  // Enables or disables the toolbar's model buttons and the two boxes together.
  void SetModelControlsEnabled(bool enabled);
  // The toolbar button with the given key ("open", "set particle", ...).
  QAction* ToolbarButton(const QString& key) const;

 public slots:
  void file_exit_Click();
  void help_contents_Click();
  void help_about_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QMenu* AddMenu(const char* objectName, const QString& title);
  QAction* AddItem(QMenu* menu, const char* objectName, const QString& text, bool enabled = false);
  void BuildMenus();
  void BuildToolbar();
  void BuildViews();
  void BuildStatusBar();
  bool ModelLoadedAndBusy() const { return model_.HasModel() && IsBusy(model_, busy_); }

  QtUserInterface ui_{this};
  ModelState model_;
  BusyFlags busy_;
  QToolBar* toolbar_ = nullptr;
  QSpinBox* layerBox_ = nullptr;
  QLineEdit* verticalPositionBox_ = nullptr;
  QFrame* colorSwatch_ = nullptr;
};

}  // namespace kestra::app
