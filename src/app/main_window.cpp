#include "app/main_window.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>

#include "core/user_interface.h"

namespace kestra::app {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("kestra");
  setWindowTitle(kApplicationTitle);
  BuildMenus();
  BuildStatusBar();
}

// Eight panes for the pointer read-out, time step and particle count, then the
// meter and the hint line of long operations.
void MainWindow::BuildStatusBar() {
  constexpr int kPaneCount = 8;
  std::vector<QLabel*> panes;
  for (int pane = 0; pane < kPaneCount; ++pane) {
    auto* label = new QLabel(this);
    label->setObjectName(QString("Status_pane%1").arg(pane));
    label->setMinimumWidth(pane == 0 ? 220 : 70);
    statusBar()->addWidget(label);
    panes.push_back(label);
  }
  auto* meter = new QProgressBar(this);
  meter->setObjectName("Meter");
  meter->setRange(0, 100);
  meter->setMaximumWidth(160);
  auto* hint = new QLabel(this);
  hint->setObjectName("hint");
  statusBar()->addPermanentWidget(hint);
  statusBar()->addPermanentWidget(meter);
  ui_.AttachStatus(meter, hint, panes);
}

QMenu* MainWindow::AddMenu(const char* objectName, const QString& title) {
  QMenu* menu = menuBar()->addMenu(title);
  menu->setObjectName(objectName);
  return menu;
}

QAction* MainWindow::AddItem(QMenu* menu, const char* objectName, const QString& text, bool enabled) {
  QAction* action = menu->addAction(text);
  action->setObjectName(objectName);
  action->setEnabled(enabled);
  return action;
}

void MainWindow::BuildMenus() {
  QMenu* file = AddMenu("menu_file", tr("&File"));
  AddItem(file, "file_open_model", tr("&Open Model..."));
  AddItem(file, "file_import_model", tr("&Import Model..."));
  file->addSeparator();
  AddItem(file, "file_load_particles", tr("&Load Particles..."));
  AddItem(file, "file_save_particles", tr("&Save Particles..."));
  file->addSeparator();
  AddItem(file, "file_save_plot_as", tr("Save &Plot As..."));
  AddItem(file, "file_print", tr("P&rint..."));
  file->addSeparator();
  connect(AddItem(file, "file_exit", tr("E&xit"), true), &QAction::triggered, this, &MainWindow::file_exit_Click);

  QMenu* run = AddMenu("menu_run", tr("&Run"));
  AddItem(run, "run_forward", tr("&Forward"));
  AddItem(run, "run_backward", tr("&Backward"));
  AddItem(run, "run_step_forward", tr("Step F&orward"));
  AddItem(run, "run_step_backward", tr("Step B&ackward"));

  QMenu* options = AddMenu("menu_options", tr("&Options"));
  AddItem(options, "options_environment", tr("&Environment..."));
  AddItem(options, "options_particle_tracking", tr("&Particle Tracking (Time)..."));
  AddItem(options, "options_maps", tr("&Maps..."));

  QMenu* help = AddMenu("menu_help", tr("&Help"));
  AddItem(help, "help_contents", tr("&Contents"));
  connect(AddItem(help, "help_about", tr("&About..."), true), &QAction::triggered, this,
          &MainWindow::help_about_Click);
}

void MainWindow::file_exit_Click() { close(); }

void MainWindow::help_about_Click() {
  QMessageBox::about(this, tr("About KESTRA"),
                     tr("<b>KESTRA</b><br>Where groundwater goes and how long it takes.<br>Version %1")
                         .arg(QApplication::applicationVersion()));
}

}  // namespace kestra::app
