#include "app/save_plot_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/file_field.h"
#include "export/plot_choices.h"
#include "export/plot_export.h"

namespace kestra::app {
namespace {

constexpr const char* kDialogTitle = "Save Plot As";
constexpr const char* kOverwriteQuestion = " already exists. Overwrite?";

QSpinBox* NumberBox(const char* name, int value, int most, const char* suffix, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(1, most);
  box->setValue(value);
  box->setSuffix(QString::fromUtf8(suffix));
  return box;
}

}  // namespace

SavePlotDialog::SavePlotDialog(const SavePlotChoice& choice, const std::string& modelPath, bool sectionsShown,
                               UserInterface& ui, QWidget* parent)
    : QDialog(parent), choice_(choice), modelPath_(modelPath), sectionsShown_(sectionsShown), ui_(ui) {
  setObjectName("data_files_form");
  setWindowTitle(tr(kDialogTitle));
  format_ = new QComboBox(this);
  format_->setObjectName("save_format");
  for (const char* name : kPlotFormatList) format_->addItem(name);
  const int current = format_->findText(QString::fromStdString(choice.format));
  format_->setCurrentIndex(current < 0 ? 0 : current);
  file_ = new QLineEdit(QString::fromStdString(choice.fileName), this);
  file_->setObjectName("Save_file");
  file_->installEventFilter(this);
  includeLower_ = new QCheckBox(tr("Include the lower cross-section "), this);
  includeLower_->setObjectName("IncludeXSection_0");
  includeLower_->setChecked(choice.includeLower);
  includeRight_ = new QCheckBox(tr("Include the right cross-section"), this);
  includeRight_->setObjectName("IncludeXSection_1");
  includeRight_->setChecked(choice.includeRight);
  width_ = NumberBox("FigureWidth", choice.page.width, kMostFigurePixels, " px", this);
  height_ = NumberBox("FigureHeight", choice.page.height, kMostFigurePixels, " px", this);
  dpi_ = NumberBox("FigureDpi", choice.page.dpi, kMostFigureDpi, " dpi", this);
  EnableIncludeBoxes();
  EnableFigureSize();
  connect(format_, &QComboBox::currentIndexChanged, this, &SavePlotDialog::save_format_Click);

  auto* form = new QFormLayout;
  form->addRow(tr("Format:"), format_);
  form->addRow(tr("File:"), FileFieldRow(file_, "Save_file_browse", [this] { Save_file_MouseDown(); }));
  auto* size = new QHBoxLayout;
  size->addWidget(width_);
  size->addWidget(new QLabel(QString::fromUtf8("\u00d7"), this));
  size->addWidget(height_);
  size->addWidget(dpi_);
  form->addRow(tr("Figure size:"), size);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SavePlotDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &SavePlotDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(includeLower_);
  layout->addWidget(includeRight_);
  layout->addWidget(new QLabel(tr("Click the right mouse button on the file fields to select a file."), this));
  layout->addWidget(buttons);
}

std::string SavePlotDialog::Format() const { return format_->currentText().toStdString(); }

void SavePlotDialog::EnableIncludeBoxes() {
  const bool enabled = SectionsCanBeIncluded(Format(), sectionsShown_);
  includeLower_->setEnabled(enabled);
  includeRight_->setEnabled(enabled);
}

void SavePlotDialog::EnableFigureSize() {
  const bool figure = IsFigurePlotFormat(Format());
  for (QSpinBox* box : {width_, height_, dpi_}) box->setEnabled(figure);
}

void SavePlotDialog::save_format_Click(int) {
  EnableIncludeBoxes();
  EnableFigureSize();
  file_->setText(QString::fromStdString(PlotFileNameForFormat(file_->text().toStdString(), Format(), modelPath_)));
}

bool SavePlotDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == file_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    Save_file_MouseDown();
    return true;
  }
  if (watched == file_ && event->type() == QEvent::ContextMenu) return true;
  return QDialog::eventFilter(watched, event);
}

void SavePlotDialog::Save_file_MouseDown() {
  const QString chosen = QFileDialog::getSaveFileName(
      this, tr("Plot file"), file_->text(),
      tr("AutoCAD DXF (*.dxf);;HP HPGL (*.PGL *.pgl);;Pictures (*.bmp *.png *.svg *.pdf);;All files (*)"), nullptr,
      QFileDialog::DontConfirmOverwrite);
  if (!chosen.isEmpty()) file_->setText(chosen);
}

void SavePlotDialog::accept() {
  const std::string fileName = file_->text().toStdString();
  if (QFileInfo::exists(file_->text()) && !ui_.AskYesNo(fileName + kOverwriteQuestion, kDialogTitle)) return;
  std::string error;
  if (fileName.empty() || !TestPlotFileWritable(fileName, error)) {
    Complain(ui_, fileName.empty() ? "No file name is given." : error, MessageIcon::Exclamation);
    file_->setFocus();
    return;
  }
  choice_ = {Format(), fileName, includeLower_->isChecked(), includeRight_->isChecked(),
             {width_->value(), height_->value(), dpi_->value()}};
  QDialog::accept();
}

}  // namespace kestra::app
