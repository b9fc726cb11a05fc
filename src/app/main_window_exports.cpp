// Getting results out of the window: the text exports of heads, drawdowns
// and velocities, the GIS and VTK exports, Save Plot As and printing.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>

#include "app/main_window.h"
#include "app/print_plot_dialog.h"
#include "export/plot_choices.h"
#include "export/plot_export.h"
#include "render/figure_content.h"
#include "render/figure_file.h"
#include "render/plot_image.h"
#include "render/view_image.h"
#include "session/output_guard.h"
#include "session/result_files.h"
#include "session/time_step_results.h"
#include "settings/settings_file.h"
#include "tracking/replay_record.h"

namespace kestra::app {
namespace {

constexpr const char* kOverwriteQuestion = " already exists. Overwrite?";
constexpr const char* kNothingTracked = "No particle has been tracked yet; run the particles first.";
constexpr const char* kNoCaptureZones = "No capture zone is drawn; choose a well with Run, Capture Zone... first.";

FigureFormat FigureFormatOfChoice(const std::string& format) {
  if (format == kPlotFormatSvg) return FigureFormat::Svg;
  if (format == kPlotFormatPdf) return FigureFormat::Pdf;
  return FigureFormat::Png;
}

}  // namespace

void MainWindow::file_save_heads_as_Click() { SaveResults(ResultExport::Heads, "Save Heads As"); }
void MainWindow::file_save_drawdowns_as_Click() { SaveResults(ResultExport::Drawdowns, "Save Drawdown As"); }
void MainWindow::file_save_velocity_as_Click() { SaveResults(ResultExport::Velocity, "Save Velocity As"); }

// The file name is used as typed. A file the model reads is refused, and
// "No" to replacing a file goes back to the file dialog.
std::optional<std::string> MainWindow::AskFileToWrite(const char* title) {
  for (QString folder = ModelFolder();;) {
    const QString name = QFileDialog::getSaveFileName(this, tr(title), folder, tr("All files (*.*)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty()) return std::nullopt;
    folder = name;
    const std::string path = name.toStdString();
    if (const std::string problem = ModelOutputProblem(path, session_); !problem.empty()) {
      Complain(ui_, "Choose another file: " + problem + ".", MessageIcon::Exclamation, title);
      continue;
    }
    if (!QFileInfo::exists(name) || ui_.AskYesNo(path + kOverwriteQuestion, title)) return path;
  }
}

void MainWindow::SaveResults(ResultExport kind, const char* title) {
  if (RefuseCommand()) return;
  const auto chosen = AskFileToWrite(title);
  if (!chosen) return;
  const std::string& path = *chosen;
  Hourglass hourglass(ui_);
  std::string error;
  const NoResultHeads marks{session_.settings.HNOFLO, session_.settings.HDRY};
  if (kind == ResultExport::Velocity) CellVelocitiesReady(session_);
  if (!SaveResultExport(path, session_.model, session_.model.CurrentLayer, kind, marks, error))
    Complain(ui_, error, MessageIcon::Exclamation, kErrorTitle);
}

void MainWindow::file_save_plot_as_Click() {
  if (RefuseCommand()) return;
  // A new model proposes a DXF file named after it.
  if (savePlot_.modelPath != session_.model.ModelPath) {
    savePlot_.modelPath = session_.model.ModelPath;
    savePlot_.choice.format = kPlotFormatDxf;
    savePlot_.choice.fileName = ModelSiblingPath(session_.model, ".dxf");
  }
  savePlot_.choice.includeLower = IsOn(session_.settings.includeLowerXsection);
  savePlot_.choice.includeRight = IsOn(session_.settings.includeRightXsection);
  SavePlotDialog dialog(savePlot_.choice, session_.model.ModelPath, layout_.sectionsShown, ui_, this);
  if (dialog.exec() != QDialog::Accepted) {
    RedrawViews(false);
    return;
  }
  savePlot_.choice = dialog.Choice();
  session_.settings.includeLowerXsection = savePlot_.choice.includeLower ? 1 : 0;
  session_.settings.includeRightXsection = savePlot_.choice.includeRight ? 1 : 0;
  WriteSettings(session_.settingsPath, session_.settings, ui_);
  SavePlotTo(savePlot_.choice);
}

bool MainWindow::SavePlotTo(const SavePlotChoice& choice) {
  if (RefuseCommand()) return false;
  const bool picture = IsPicturePlotFormat(choice.format);
  if (choice.format == kPlotFormatDxf) SwitchOffMapsWrittenBy(session_.settings, choice.fileName);
  device_.PlotFormat = picture ? kPlotFormatBitmap : choice.format;
  device_.PlotFileName = choice.fileName;
  device_.IncludeLowerXsection = choice.includeLower;
  device_.IncludeRightXsection = choice.includeRight;
  device_.PlotToFile = true;
  RemoveSectionMarker();
  Hourglass hourglass(ui_);
  PlotContext context = Context();
  ModelStepLoader loader(session_.settings, session_.tracking, ui_);
  TrackObserver unused;
  TrackingRun run{session_.model, session_.settings, session_.tracking, session_.periods, particles_,
                  session_.busy,  ui_,                unused,             loader,           runControl_};
  std::string error;
  bool saved = SavePlot(context, Inputs(), run, error);
  // The plot drew the views afresh in its own way: the screen is drawn back
  // as it was, release points and kept pathlines on top.
  RedrawViews(false);
  if (saved && choice.format == kPlotFormatBitmap) {
    // The bitmap is the pixel copy of the views; the other pictures are figures.
    const QImage image = ComposeViews(pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection], layout_,
                                      placement_, choice.includeLower, choice.includeRight);
    saved = SavePlotImage(image, choice.fileName, PlotImageFormat::Bmp, error);
  } else if (saved && picture) {
    const FigureViews views = FigureOfViews(choice.includeLower, choice.includeRight);
    saved = SaveFigure(choice.fileName, FigureFormatOfChoice(choice.format), choice.page, views,
                       FactsOfFigureViews(views), error);
  }
  if (!saved) Complain(ui_, error, MessageIcon::Exclamation, kErrorTitle);
  return saved;
}

// The views as they are on the screen, for pasting into a report.
void MainWindow::file_copy_picture_Click() {
  if (RefuseCommand()) return;
  QApplication::clipboard()->setImage(
      ComposeViews(pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection], layout_, placement_));
}

void MainWindow::file_export_results_Click() {
  if (RefuseCommand()) return;
  // A new model proposes a GeoPackage of pathlines named after it.
  if (exportResults_.modelPath != session_.model.ModelPath) {
    exportResults_.modelPath = session_.model.ModelPath;
    exportResults_.choice = {ExportKind::Pathlines, ExportFormat::GeoPackage,
                             ModelSiblingPath(session_.model, "_pathlines.gpkg")};
  }
  ExportResultsDialog dialog(exportResults_.choice, ui_, this);
  if (dialog.exec() != QDialog::Accepted) return;
  const ExportResultsChoice& choice = exportResults_.choice = dialog.Choice();
  if (const std::string missing = MissingResults(session_, choice.kind, choice.format); !missing.empty()) {
    Complain(ui_, missing + " of the time step did not load whole; " + choice.fileName + " was not written.",
             MessageIcon::Exclamation, kErrorTitle);
    return;
  }
  Hourglass hourglass(ui_);
  std::string error;
  bool written = false;
  if (choice.kind == ExportKind::Pathlines || choice.kind == ExportKind::Endpoints) {
    ModelStepLoader loader(session_.settings, session_.tracking, ui_);
    TrackObserver unused;
    TrackingRun run{session_.model, session_.settings, session_.tracking, session_.periods, particles_,
                    session_.busy,  ui_,                unused,             loader,           runControl_};
    const ReplayedRuns runs = RecordReplay(run);
    if (runs.endpoints.empty()) {
      RefreshViews();
      Complain(ui_, kNothingTracked, MessageIcon::Information);
      return;
    }
    written = choice.kind == ExportKind::Pathlines
                  ? WritePathlineExport(choice.fileName, choice.format, session_.model, runs.paths, runs.endpoints,
                                        nullptr, error)
                  : WriteEndpointExport(choice.fileName, choice.format, session_.model, runs.endpoints, nullptr, error);
    RefreshViews();
  } else if (choice.kind == ExportKind::CaptureZones) {
    if (captureZones_.empty()) return Complain(ui_, kNoCaptureZones, MessageIcon::Information);
    written = WriteCaptureZoneExport(choice.fileName, *VectorFormatOf(choice.format), session_.model, captureZones_,
                                     error);
  } else {
    written = WriteLayerExport(session_, choice.kind, choice.format, session_.model.CurrentLayer, choice.fileName, ui_,
                               error);
  }
  if (!written) Complain(ui_, error, MessageIcon::Exclamation, kErrorTitle);
}

FigureViews MainWindow::FigureOfViews(bool lowerSection, bool rightSection) const {
  return FigureViewsOf(pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection], placement_, layout_,
                       lowerSection, rightSection);
}

FigureFacts MainWindow::FactsOfFigureViews(const FigureViews& views) const {
  FigureRequest request;
  SetPathlinesOf(request, particles_);
  request.zones = &captureZones_;
  if (floodQuantity_ && !flood_.Empty()) request.flood = &flood_;
  return FigureFactsOf(session_, layout_, views, request);
}

// Slots 0..3: the plan alone, with the right section, with the lower one, with both.
FigureViews MainWindow::FigureOfSlot(int slot) const { return FigureOfViews(slot >= 2, slot == 1 || slot == 3); }

PrintPictures MainWindow::PrintPicturesOfViews() const {
  // Previews of the figures the printer gets: the views' pixels with room for the axes and legend.
  constexpr int kPreviewDpi = 96;
  constexpr int kAxesWidth = 320, kAxesHeight = 200;
  PrintPictures pictures;
  for (int slot = 0; slot < 4; ++slot) {
    if (slot > 0 && !layout_.sectionsShown) break;
    const FigureViews views = FigureOfSlot(slot);
    const QImage composed = ComposeViews(pictures_[kPlan], pictures_[kRowSection], pictures_[kColumnSection],
                                         layout_, placement_, views.rowSectionShown, views.columnSectionShown);
    const FigurePage page{composed.width() + kAxesWidth, composed.height() + kAxesHeight, kPreviewDpi};
    pictures[slot] = FigureImage(page, views, FactsOfFigureViews(views));
  }
  return pictures;
}

PrintDrawing MainWindow::PrintDrawingOfViews() const {
  return [this](QPainter& painter, const QRectF& points, int slot) {
    const FigureViews views = FigureOfSlot(slot);
    DrawFigure(painter, points, views, FactsOfFigureViews(views));
  };
}

void MainWindow::File_Print_Click() {
  if (RefuseCommand()) return;
  PrintPictures pictures;
  {
    Hourglass hourglass(ui_);
    pictures = PrintPicturesOfViews();
  }
  QPrinter printer(QPrinter::HighResolution);
  PrintPlotDialog dialog(session_.settings, session_.settingsPath, pictures, layout_.sectionsShown, printer, ui_, this,
                         PrintDrawingOfViews());
  dialog.exec();
  RedrawViews(false);
}

}  // namespace kestra::app
