// The menu commands that open dialogs: model open and import, particle
// files, the particle tracking options and the particle colour.
#include <QAction>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QMenu>

#include "app/main_window.h"
#include "app/recent_models.h"
#include "app/results_window.h"
#include "app/tracking_dialog.h"
#include "core/model_paths.h"
#include "core/model_family.h"
#include "core/number_format.h"
#include "modelset/layer_files.h"
#include "render/qt_colour.h"
#include "session/model_loading.h"
#include "session/open_model.h"
#include "session/sink_cells.h"
#include "session/time_step_results.h"
#include "settings/layer_porosity.h"
#include "settings/settings_file.h"
#include "tracking/face_velocities.h"
#include "tracking/particle_file.h"
#include "tracking/tracking_entries.h"

namespace kestra::app {
namespace {

// The file the user chose, its letter case kept; empty when cancelled.
std::string ChosenFile(const QString& name) { return AbsolutePath(name.toStdString()); }

}  // namespace

// Model files and MODFLOW name files both open here; the dialog starts in
// the folder of the last model.
void MainWindow::file_open_model_Click() {
  if (RefuseWhenBusy(session_, ui_)) return;
  const QString chosen =
      QFileDialog::getOpenFileName(this, tr("Open model"), LastModelFolder(),
                                   tr("Models (*.mdl *.nam);;MODFLOW 6 simulations (mfsim.nam);;All files (*)"));
  if (chosen.isEmpty()) {
    RedrawViews(false);
    return;
  }
  RememberModelFolder(QFileInfo(chosen).absolutePath());
  OpenModelPath(ChosenFile(chosen));
}

void MainWindow::FillRecentModels() {
  recentMenu_->clear();
  const QStringList models = RecentModels();
  for (int index = 0; index < models.size(); ++index) {
    const QString path = models[index];
    QAction* item = recentMenu_->addAction(QString("&%1 %2").arg(index + 1).arg(path));
    item->setData(path);
    connect(item, &QAction::triggered, this, [this, path] {
      if (RefuseWhenBusy(session_, ui_)) return;
      if (!QFileInfo::exists(path)) {
        Complain(ui_, tr("The model %1 was not found.").arg(path).toStdString(), MessageIcon::Error);
        ForgetModel(path);
        return;
      }
      OpenModelPath(ChosenFile(path));
    });
  }
  recentMenu_->setEnabled(!models.isEmpty());
}

// The end points of the runs since the last redraw, in a table that sorts
// and exports.
void MainWindow::run_results_Click() {
  if (RefuseCommand()) return;
  auto* results = findChild<ResultsWindow*>("particle_results");
  if (!results) {
    const auto describe = [this](const Endpoint& e) { return EndDescription(e); };
    results = new ResultsWindow(*endpoints_, describe, ui_, this);
    connect(this, &MainWindow::ResultsChanged, results, &ResultsWindow::Fill);
  }
  results->Fill();
  results->show();
  results->raise();
}

void MainWindow::file_import_model_Click() {
  if (RefuseWhenBusy(session_, ui_)) return;
  const std::string path =
      ChosenFile(QFileDialog::getOpenFileName(this, tr("Import Model"), LastModelFolder(), tr("Name Files (*.*)")));
  if (path.empty()) {
    RedrawViews(false);
    return;
  }
  RememberModelFolder(QFileInfo(QString::fromStdString(path)).absolutePath());
  if (!MayDiscardParticles()) return;
  ImportNameFile(path, session_, ui_, *this, WindowOpenChoices());
}

void MainWindow::file_save_particles_as_Click() {
  if (RefuseCommand()) return;
  const auto path = AskFileToWrite("Save Particles As");
  if (!path) return;
  Hourglass hourglass(ui_);
  if (WriteParticleFile(AbsolutePath(*path), particles_, ui_)) particleHistory_.MarkSaved();
}

void MainWindow::file_load_particles_Click() {
  if (RefuseCommand()) return;
  const QString name =
      QFileDialog::getOpenFileName(this, tr("Load Particles"), ModelFolder(), tr("All files (*.*)"));
  if (name.isEmpty()) return;
  std::vector<ParticleRecord> before = particles_.Particles;
  if (!ReadParticleFile(ChosenFile(name), session_.model, particles_, ui_)) return;
  if (particles_.Particles.size() == before.size()) return;
  const bool onlyTheFile = before.empty();
  RecordParticleEdit(std::move(before));
  if (onlyTheFile) particleHistory_.MarkSaved();
  RedrawViews(false);
}

// After the dialog the particles restart; a new time step brings its
// results, or the old step back when its heads cannot be read.
void MainWindow::options_particle_tracking_Click() {
  if (RefuseCommand()) return;
  ModelState& m = session_.model;
  const int step = m.CurrentStep, period = m.CurrentPeriod;
  TrackingEntries entries = TrackingEntriesFrom(session_.tracking, session_.periods, m);
  const bool layerPorosity = FamilyOf(m).TakesLayerPorosityFromSettings();
  if (layerPorosity) entries.layerPorosity = LayerPorosityEntries(ReadLayerPorosity(session_.settingsPath), m.NLAY);
  TrackingDialog dialog(entries, session_.periods, ui_, this);
  const BoundaryCellRule rule = session_.tracking.BoundaryCells;
  const TrackingSettings before = session_.tracking;
  if (layerPorosity) dialog.ShowModelPorosity(ModelLayerPorosityTexts(m));
  dialog.SetBackwardColour(session_.settings.backwardPathColor);
  if (dialog.exec() == QDialog::Accepted) {
    session_.settings.backwardPathColor = dialog.BackwardColour();
    WriteSettingsKey(session_.settingsPath, "COLOR", "BackwardPaths", NumberText(dialog.BackwardColour()), ui_);
    StoreTrackingEntries(dialog.Entries(), session_.periods, session_.tracking, m);
    if (session_.tracking.BoundaryCells != rule) LoadSinkCells(m, session_.tracking.BoundaryCells, ui_, true);
    if (std::string error;
        !WriteLayerProperties(ModelSiblingPath(m, ".lyp"), {session_.layerPropertyHeader, m.LayerProperties}, error))
      Complain(ui_, "Cannot write " + error, MessageIcon::Error, kErrorTitle);
    WriteTimeSettings(session_.settingsPath, session_.tracking, ui_);
    if (layerPorosity) StoreLayerPorosity(LayerPorosityOf(dialog.Entries()));
  }
  if (m.CurrentStep != step || m.CurrentPeriod != period) ShowChangedTimeStep(period, step);
  // The paths drawn were tracked with what the dialog had before.
  if (!storedPaths_.Empty() && (!(session_.tracking == before) || m.CurrentStep != step || m.CurrentPeriod != period))
    pathsStale_ = true;
  RedrawViews(false);
}

// The porosities go into the settings file and, at once, into the model and
// its velocities.
void MainWindow::StoreLayerPorosity(const LayerPorosity& porosity) {
  ModelState& m = session_.model;
  WriteLayerPorosity(session_.settingsPath, porosity, ui_);
  ApplyLayerPorosity(porosity, m.POROSITY);
  if (m.flowTermsLoaded) ComputeCellVelocities(m, session_.settings, session_.tracking);
}

void MainWindow::particle_color_Click() {
  if (RefuseCommand()) return;
  const QColor chosen = QColorDialog::getColor(ToQColor(particles_.DefaultParticleColor), this);
  if (!chosen.isValid()) return;
  particles_.DefaultParticleColor = FromQColor(chosen);
  session_.settings.particleColor = particles_.DefaultParticleColor;
  WriteSettingsKey(session_.settingsPath, "COLOR", "Particles", NumberText(particles_.DefaultParticleColor), ui_);
  ShowParticleColour();
}

void MainWindow::ShowParticleColour() {
  colorSwatch_->setStyleSheet(QString("background-color: %1;").arg(ToQColor(particles_.DefaultParticleColor).name()));
}

}  // namespace kestra::app
