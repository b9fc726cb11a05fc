#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "app/help_window.h"
#include "core/user_interface.h"

namespace kestra::app {
namespace {

struct ToolbarButtonSpec {
  const char* key;
  const char* tooltip;
  QStyle::StandardPixmap icon;
};

// The eleven buttons of Toolbar1, in order.
constexpr ToolbarButtonSpec kToolbarButtons[] = {
    {"open", "Open a model", QStyle::SP_DialogOpenButton},
    {"set particle", "Set particles", QStyle::SP_DialogApplyButton},
    {"delete particle", "Delete particles", QStyle::SP_TrashIcon},
    {"zoom", "Zoom", QStyle::SP_FileDialogContentsView},
    {"zoom out", "Show the entire model", QStyle::SP_TitleBarMaxButton},
    {"backward", "Run particles backward", QStyle::SP_MediaSeekBackward},
    {"step backward", "Run particles backward a step", QStyle::SP_MediaSkipBackward},
    {"stop", "Stop", QStyle::SP_MediaStop},
    {"step forward", "Run particles forward a step", QStyle::SP_MediaSkipForward},
    {"forward", "Run particles forward", QStyle::SP_MediaSeekForward},
    {"colors", "Select a color for new particles", QStyle::SP_DesktopIcon},
};

constexpr int kStatusPaneCount = 8;

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("kestra");
  setWindowTitle(kApplicationTitle);
  BuildMenus();
  BuildToolbar();
  BuildViews();
  BuildStatusBar();
  SetModelControlsEnabled(false);
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
  AddItem(file, "file_save_particles_as", tr("&Save Particles As..."));
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
  connect(AddItem(help, "help_contents", tr("&Contents"), true), &QAction::triggered, this,
          &MainWindow::help_contents_Click);
  connect(AddItem(help, "help_about", tr("&About..."), true), &QAction::triggered, this,
          &MainWindow::help_about_Click);
}

void MainWindow::BuildToolbar() {
  toolbar_ = addToolBar(tr("Tools"));
  toolbar_->setObjectName("Toolbar1");
  toolbar_->setMovable(false);
  auto* modes = new QActionGroup(this);
  for (const ToolbarButtonSpec& spec : kToolbarButtons) {
    QAction* button = toolbar_->addAction(style()->standardIcon(spec.icon), tr(spec.tooltip));
    button->setData(QString(spec.key));
    button->setToolTip(tr(spec.tooltip));
    const QString key(spec.key);
    if (key == "set particle" || key == "delete particle" || key == "zoom") {
      button->setCheckable(true);
      modes->addAction(button);
    }
  }
  ToolbarButton("set particle")->setChecked(true);

  toolbar_->addSeparator();
  toolbar_->addWidget(new QLabel(tr("layer"), this));
  layerBox_ = new QSpinBox(this);
  layerBox_->setObjectName("layer_spin_edit");
  layerBox_->setToolTip(tr("Current layer"));
  layerBox_->setRange(1, 1);
  toolbar_->addWidget(layerBox_);
  toolbar_->addWidget(new QLabel(tr("vertical pos."), this));
  verticalPositionBox_ = new QLineEdit("0.5", this);
  verticalPositionBox_->setObjectName("local_coordinate_edit");
  verticalPositionBox_->setToolTip(tr("Vertical position of the cursor"));
  verticalPositionBox_->setMaximumWidth(60);
  toolbar_->addWidget(verticalPositionBox_);
  colorSwatch_ = new QFrame(this);
  colorSwatch_->setObjectName("Select_color");
  colorSwatch_->setToolTip(tr("Current color"));
  colorSwatch_->setFixedSize(22, 22);
  colorSwatch_->setFrameShape(QFrame::Box);
  colorSwatch_->setAutoFillBackground(true);
  colorSwatch_->setStyleSheet("background-color: rgb(255, 0, 0);");
  toolbar_->addWidget(colorSwatch_);
}

// The plan view with the row section below it and the column section to its
// right; their sizes follow the model's extents once a model is drawn.
void MainWindow::BuildViews() {
  auto* central = new QWidget(this);
  auto* layout = new QGridLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto addView = [&](const char* name, const QString& tooltip, int row, int column) {
    auto* view = new QFrame(central);
    view->setObjectName(name);
    view->setToolTip(tooltip);
    view->setFrameShape(QFrame::StyledPanel);
    view->setAutoFillBackground(true);
    view->setPalette(QPalette(Qt::white));
    layout->addWidget(view, row, column);
  };
  addView("model_worksheet", QString(), 0, 0);
  addView("model_worksheet_xz", tr("Cross-sectional view of the \"projection row\""), 1, 0);
  addView("model_worksheet_yz", tr("Cross-sectional view of the \"projection column\""), 0, 1);
  layout->setRowStretch(0, 3);
  layout->setRowStretch(1, 1);
  layout->setColumnStretch(0, 3);
  layout->setColumnStretch(1, 1);
  setCentralWidget(central);
}

// Eight panes for the pointer read-out, time step and particle count, then the
// meter and the hint line of long operations.
void MainWindow::BuildStatusBar() {
  std::vector<QLabel*> panes;
  for (int pane = 0; pane < kStatusPaneCount; ++pane) {
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

QAction* MainWindow::ToolbarButton(const QString& key) const {
  for (QAction* action : toolbar_->actions())
    if (action->data().toString() == key) return action;
  return nullptr;
}

// Without a model only the open button works; "stop" is enabled by the runs.
void MainWindow::SetModelControlsEnabled(bool enabled) {
  for (QAction* action : toolbar_->actions()) {
    const QString key = action->data().toString();
    if (key.isEmpty() || key == "open") continue;
    action->setEnabled(enabled && key != "stop");
  }
  layerBox_->setEnabled(enabled);
  verticalPositionBox_->setEnabled(enabled);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (ModelLoadedAndBusy()) {
    event->ignore();
    return;
  }
  event->accept();
}

void MainWindow::file_exit_Click() {
  if (ModelLoadedAndBusy()) {
    ui_.Beep();
    return;
  }
  close();
}

void MainWindow::help_contents_Click() {
  if (busy_.trackingRun || busy_.contourDrawing || busy_.redraw) {
    ui_.Beep();
    return;
  }
  HelpWindow help(this);
  help.exec();
}

void MainWindow::help_about_Click() {
  if (ModelLoadedAndBusy()) {
    ui_.Beep();
    return;
  }
  QMessageBox::about(this, tr("About KESTRA"),
                     tr("<b>KESTRA</b> %1<br>Where groundwater goes and how long it takes.<br><br>"
                        "Particle tracking in MODFLOW models.")
                         .arg(QApplication::applicationVersion()));
}

}  // namespace kestra::app
