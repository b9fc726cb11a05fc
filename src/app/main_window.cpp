#include "app/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/help_window.h"
#include "app/status_panes.h"
#include "core/model_paths.h"
#include "core/user_interface.h"
#include "graphics/plan_view.h"
#include "graphics/zoom_rules.h"
#include "session/open_model.h"

namespace kestra::app {
namespace {

// The one local file of a drop; nothing for several files or anything else.
std::optional<QString> DroppedModel(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().size() != 1 || !data->urls().front().isLocalFile())
    return std::nullopt;
  return data->urls().front().toLocalFile();
}

}  // namespace
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

// The pictures go to the screen this often while a run draws on them.
constexpr int kRunRepaintMilliseconds = 50;

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("kestra");
  setWindowTitle(kApplicationTitle);
  setAcceptDrops(true);
  BuildMenus();
  BuildToolbar();
  BuildViews();
  BuildStatusBar();
  BuildCellInspector();
  BuildLegend();
  SetModelControlsEnabled(false);
  endpoints_.emplace(session_.model, particles_.ParticleCount());
  repaintClock_ = new QTimer(this);
  repaintClock_->setInterval(kRunRepaintMilliseconds);
  connect(repaintClock_, &QTimer::timeout, this, &MainWindow::RefreshViews);
  // Until a model's packages are known, no boundary-package cells are drawn.
  packages_ = [](int, int, int, LayerValues&) { return false; };
  LoadMapFont();
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
  QAction* open = AddItem(file, "file_open_model", tr("&Open Model..."), true);
  open->setShortcut(QKeySequence::Open);
  connect(open, &QAction::triggered, this, &MainWindow::file_open_model_Click);
  connect(AddItem(file, "file_import_model", tr("&Import Model..."), true), &QAction::triggered, this,
          &MainWindow::file_import_model_Click);
  recentMenu_ = file->addMenu(tr("Recent &Models"));
  recentMenu_->setObjectName("file_recent_models");
  connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::FillRecentModels);
  FillRecentModels();
  file->addSeparator();
  connect(AddItem(file, "file_load_particles", tr("&Load Particles...")), &QAction::triggered, this,
          &MainWindow::file_load_particles_Click);
  connect(AddItem(file, "file_save_particles_as", tr("&Save Particles As...")), &QAction::triggered, this,
          &MainWindow::file_save_particles_as_Click);
  connect(AddItem(file, "file_save_heads_as", tr("Save &Heads As...")), &QAction::triggered, this,
          &MainWindow::file_save_heads_as_Click);
  connect(AddItem(file, "file_save_drawdowns_as", tr("Save &Drawdowns As...")), &QAction::triggered, this,
          &MainWindow::file_save_drawdowns_as_Click);
  connect(AddItem(file, "file_save_velocity_as", tr("Save &Velocity As...")), &QAction::triggered, this,
          &MainWindow::file_save_velocity_as_Click);
  file->addSeparator();
  QAction* savePlot = AddItem(file, "file_save_plot_as", tr("Save &Plot As..."));
  savePlot->setShortcut(QKeySequence::Save);
  connect(savePlot, &QAction::triggered, this, &MainWindow::file_save_plot_as_Click);
  connect(AddItem(file, "file_export_results", tr("&Export Results...")), &QAction::triggered, this,
          &MainWindow::file_export_results_Click);
  QAction* copy = AddItem(file, "file_copy_picture", tr("&Copy Picture"));
  copy->setShortcut(QKeySequence::Copy);
  connect(copy, &QAction::triggered, this, &MainWindow::file_copy_picture_Click);
  QAction* print = AddItem(file, "file_print", tr("P&rint..."));
  print->setShortcut(QKeySequence::Print);
  connect(print, &QAction::triggered, this, &MainWindow::File_Print_Click);
  file->addSeparator();
  connect(AddItem(file, "file_exit", tr("E&xit"), true), &QAction::triggered, this, &MainWindow::file_exit_Click);

  QMenu* edit = AddMenu("menu_edit", tr("&Edit"));
  QAction* undo = AddItem(edit, "edit_undo", tr("&Undo"));
  undo->setShortcut(QKeySequence::Undo);
  connect(undo, &QAction::triggered, this, &MainWindow::edit_undo_Click);
  QAction* redo = AddItem(edit, "edit_redo", tr("&Redo"));
  redo->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
  connect(redo, &QAction::triggered, this, &MainWindow::edit_redo_Click);

  QMenu* run = AddMenu("menu_run", tr("&Run"));
  QAction* forward = AddItem(run, "run_forward", tr("&Forward"));
  forward->setShortcut(Qt::Key_F5);
  connect(forward, &QAction::triggered, this, &MainWindow::run_forward_Click);
  QAction* backward = AddItem(run, "run_backward", tr("&Backward"));
  backward->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
  connect(backward, &QAction::triggered, this, &MainWindow::run_backward_Click);
  connect(AddItem(run, "run_step_forward", tr("Step F&orward")), &QAction::triggered, this,
          &MainWindow::run_step_forward_Click);
  connect(AddItem(run, "run_step_backward", tr("Step B&ackward")), &QAction::triggered, this,
          &MainWindow::run_step_backward_Click);
  run->addSeparator();
  connect(AddItem(run, "run_restart", tr("&Restart")), &QAction::triggered, this, &MainWindow::run_restart_Click);
  connect(AddItem(run, "run_delete_all_particles", tr("&Delete All Particles")), &QAction::triggered, this,
          &MainWindow::run_delete_all_particles_Click);
  run->addSeparator();
  connect(AddItem(run, "run_results", tr("Particle Resul&ts...")), &QAction::triggered, this,
          &MainWindow::run_results_Click);
  run->addSeparator();
  connect(AddItem(run, "run_capture_zone", tr("Capture &Zone...")), &QAction::triggered, this,
          &MainWindow::run_capture_zone_Click);
  connect(AddItem(run, "run_source_zone", tr("&Source Zone...")), &QAction::triggered, this,
          &MainWindow::run_source_zone_Click);
  connect(AddItem(run, "run_clear_capture_zones", tr("C&lear Capture Zones")), &QAction::triggered, this,
          &MainWindow::run_clear_capture_zones_Click);

  QMenu* options = AddMenu("menu_options", tr("&Options"));
  connect(AddItem(options, "options_environment", tr("&Environment...")), &QAction::triggered, this,
          &MainWindow::options_environment_Click);
  connect(AddItem(options, "options_particle_tracking", tr("&Particle Tracking (Time)...")), &QAction::triggered, this,
          &MainWindow::options_particle_tracking_Click);
  connect(AddItem(options, "options_maps", tr("&Maps...")), &QAction::triggered, this, &MainWindow::options_maps_Click);
  connect(AddItem(options, "options_model_position", tr("Model &Position...")), &QAction::triggered, this,
          &MainWindow::options_model_position_Click);
  BuildFloodMenu(options);

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
  ToolbarButton("stop")->setShortcut(Qt::Key_Escape);
  ToolbarButton("zoom out")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  connect(toolbar_, &QToolBar::actionTriggered, this, &MainWindow::Toolbar1_ButtonClick);

  toolbar_->addSeparator();
  toolbar_->addWidget(new QLabel(tr("layer"), this));
  layerBox_ = new QSpinBox(this);
  layerBox_->setObjectName("layer_spin_edit");
  layerBox_->setToolTip(tr("Current layer"));
  // Any number may be typed; Enter checks it against the model's layers.
  layerBox_->setRange(0, 9999);
  layerBox_->setValue(1);
  layerBox_->setButtonSymbols(QAbstractSpinBox::NoButtons);
  layerBox_->installEventFilter(this);
  // Focus in a box starts an edit that holds the plan still, so only a
  // click gives it the focus, never the window's activation.
  layerBox_->setFocusPolicy(Qt::ClickFocus);
  toolbar_->addWidget(layerBox_);
  toolbar_->addWidget(new QLabel(tr("vertical pos."), this));
  verticalPositionBox_ = new QLineEdit("0.5", this);
  verticalPositionBox_->setObjectName("local_coordinate_edit");
  verticalPositionBox_->setToolTip(tr("Vertical position of the cursor"));
  verticalPositionBox_->setMaximumWidth(60);
  verticalPositionBox_->installEventFilter(this);
  verticalPositionBox_->setFocusPolicy(Qt::ClickFocus);
  toolbar_->addWidget(verticalPositionBox_);
  BuildTimeControl();
  colorSwatch_ = new QFrame(this);
  colorSwatch_->setObjectName("Select_color");
  colorSwatch_->setToolTip(tr("Current color"));
  colorSwatch_->setFixedSize(22, 22);
  colorSwatch_->setFrameShape(QFrame::Box);
  colorSwatch_->setAutoFillBackground(true);
  toolbar_->addWidget(colorSwatch_);
  ShowParticleColour();
  toolbar_->installEventFilter(this);
  toolbar_->setMouseTracking(true);
}

// The plan view with the row section below it and the column section to its
// right, placed by ArrangeViews whenever the space or the zoom changes.
void MainWindow::BuildViews() {
  viewArea_ = new ViewArea(this);
  viewArea_->setObjectName("view_area");
  viewArea_->setAutoFillBackground(true);
  viewArea_->setPalette(QPalette(Qt::white));
  viewArea_->installEventFilter(this);
  viewArea_->setMinimumSize(320, 240);
  viewArea_->setMouseTracking(true);
  connect(viewArea_, &ViewArea::SectionEdgeDragged, this, &MainWindow::ResizeSections);
  const char* names[] = {"model_worksheet", "model_worksheet_xz", "model_worksheet_yz"};
  for (int index = 0; index < 3; ++index) {
    views_[index] = new PictureView(pictures_[index], names[index], viewArea_);
    views_[index]->setCursor(Qt::ArrowCursor);  // not the view area's no-drop pointer
    views_[index]->hide();
  }
  views_[kRowSection]->setToolTip(tr("Cross-sectional view of the \"projection row\""));
  views_[kColumnSection]->setToolTip(tr("Cross-sectional view of the \"projection column\""));
  connect(views_[kPlan], &PictureView::MouseDown, this, &MainWindow::model_worksheet_MouseDown);
  connect(views_[kPlan], &PictureView::MouseMove, this, &MainWindow::model_worksheet_MouseMove);
  connect(views_[kPlan], &PictureView::MouseUp, this, &MainWindow::model_worksheet_MouseUp);
  connect(views_[kPlan], &PictureView::Wheel, this, &MainWindow::model_worksheet_Wheel);
  for (int index : {kRowSection, kColumnSection})
    connect(views_[index], &PictureView::MouseMove, this, [this] { RemoveSectionMarker(); });
  views_[kPlan]->installEventFilter(this);
  views_[kPlan]->SetOverlay([this](QPainter& painter) { DrawPlanMarks(painter); });
  setCentralWidget(viewArea_);
}

// Eight panes for the pointer read-out, time step and particle count in the
// status bar; the hint line and the meter of long operations at the right
// end of the toolbar, where they have room on a small screen too.
void MainWindow::BuildStatusBar() {
  statusPanes_ = AddStatusPanes(statusBar());
  resultsLabel_ = new QLabel(this);
  resultsLabel_->setObjectName("results_loaded");
  statusBar()->addPermanentWidget(resultsLabel_);
  auto* progress = new QWidget(this);
  progress->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  auto* row = new QHBoxLayout(progress);
  row->setContentsMargins(12, 0, 8, 0);
  auto* hint = new QLabel(progress);
  hint->setObjectName("hint");
  hint->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  hint->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // a long hint is cut, the toolbar stays
  auto* meter = new QProgressBar(progress);
  meter->setObjectName("Meter");
  meter->setRange(0, 100);
  meter->setMaximumWidth(160);
  meter->hide();
  row->addWidget(hint, 1);
  row->addWidget(meter);
  toolbar_->addWidget(progress);
  ui_.AttachStatus(meter, hint, statusPanes_);
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
  if (ModelLoadedAndBusy() || !MayDiscardParticles()) {
    event->ignore();
    return;
  }
  event->accept();
}

// A model file dropped on the window opens as from File, Open Model.
void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DroppedModel(event->mimeData())) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::optional<QString> path = DroppedModel(event->mimeData());
  if (!path) return;
  event->acceptProposedAction();
  if (ModelLoadedAndBusy()) return ui_.Beep();
  OpenModelPath(AbsolutePath(path->toStdString()));
}

void MainWindow::file_exit_Click() {
  if (ModelLoadedAndBusy()) {
    ui_.Beep();
    return;
  }
  close();
}

void MainWindow::help_contents_Click() {
  if (session_.busy.trackingRun || session_.busy.contourDrawing || session_.busy.redraw ||
      session_.busy.particleRedraw) {
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
  RedrawViews(false);
}

}  // namespace kestra::app

namespace kestra::app {

// A model named on the command line opens once the window is on the screen.
void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!commandLine_.isEmpty()) QTimer::singleShot(0, this, &MainWindow::Form_Activate);
}

void MainWindow::Form_Activate() {
  if (commandLine_.isEmpty()) return;
  const std::string path = AbsolutePath(commandLine_.toStdString());
  commandLine_.clear();
  OpenModelPath(path);
}

// A name file is imported as File, Import Model does.
void MainWindow::OpenModelPath(const std::string& path) {
  if (!MayDiscardParticles()) return;
  OpenOrImportModel(path, session_, ui_, *this, WindowOpenChoices());
}

// A model whose results did not load whole opens only when the user agrees.
OpenChoices MainWindow::WindowOpenChoices() {
  OpenChoices choices;
  choices.askWithoutResults = true;
  return choices;
}

bool MainWindow::RefuseCommand() {
  if (!IsBusy(session_.model, session_.busy)) return false;
  ui_.Beep();
  return true;
}

void MainWindow::Toolbar1_ButtonClick(QAction* button) {
  const QString key = button->data().toString();
  if (key == "stop") {
    StopRequested();
  } else if (key == "open") {
    ToolbarButton("set particle")->setChecked(true);
    file_open_model_Click();
  } else if (key == "zoom out") {
    if (RefuseCommand()) return;
    layout_.zoom = layout_.grid;
    RedrawViews(true);
  } else if (key == "backward") {
    run_backward_Click();
  } else if (key == "step backward") {
    run_step_backward_Click();
  } else if (key == "step forward") {
    run_step_forward_Click();
  } else if (key == "forward") {
    run_forward_Click();
  } else if (key == "colors") {
    particle_color_Click();
  }
}

}  // namespace kestra::app
