#include "app/results_window.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/recent_models.h"

namespace kestra::app {
namespace {

// A cell that sorts by number when its text is one, else by text.
QTableWidgetItem* TableItem(const QString& text) {
  auto* item = new QTableWidgetItem;
  bool number = false;
  const double value = text.trimmed().toDouble(&number);
  if (number) item->setData(Qt::DisplayRole, value);
  else item->setText(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

ResultsWindow::ResultsWindow(const EndpointCollector& endpoints, EndDescriber describeEnd, UserInterface& ui,
                             QWidget* parent)
    : QDialog(parent), endpoints_(endpoints), describeEnd_(std::move(describeEnd)), ui_(ui) {
  setObjectName("particle_results");
  setWindowTitle(tr("Particle Results"));
  summary_ = new QLabel(this);
  summary_->setObjectName("results_summary");
  table_ = new QTableWidget(this);
  table_->setObjectName("results_table");
  table_->setSortingEnabled(true);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* exportButton = buttons->addButton(tr("&Export CSV..."), QDialogButtonBox::ActionRole);
  exportButton->setObjectName("export_csv");
  connect(exportButton, &QPushButton::clicked, this, &ResultsWindow::export_csv_Click);
  connect(buttons, &QDialogButtonBox::rejected, this, &ResultsWindow::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(980, 420);
}

// The rows are the lines of the CSV table the batch tool writes, so the two
// never differ, but for the reason, which here names the cell and package.
void ResultsWindow::Fill() {
  const QStringList header = QString::fromStdString(EndpointCsvHeader()).split(',');
  table_->setSortingEnabled(false);
  table_->clear();
  table_->setColumnCount(static_cast<int>(header.size()));
  table_->setHorizontalHeaderLabels(header);
  table_->setRowCount(static_cast<int>(endpoints_.Endpoints().size()));
  int row = 0;
  for (const auto& entry : endpoints_.Endpoints()) {
    QStringList fields = QString::fromStdString(EndpointCsvLine(entry)).split(',');
    fields.back() = QString::fromStdString(describeEnd_(entry));
    for (int column = 0; column < fields.size(); ++column) table_->setItem(row, column, TableItem(fields[column]));
    ++row;
  }
  table_->setSortingEnabled(true);
  table_->resizeColumnsToContents();
  summary_->setText(row == 0 ? tr("No particle has been tracked since the views were last drawn.")
                             : tr("%n end point(s) of the runs since the views were last drawn; "
                                  "click a column heading to sort. Times are in the model's time unit.",
                                  nullptr, row));
}

bool ResultsWindow::ExportCsv(const QString& path) {
  QSaveFile file(path);
  const std::string text = EndpointCsvText(endpoints_);
  if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
      !file.commit()) {
    Complain(ui_, (tr("The file %1 could not be written: ").arg(path) + file.errorString()).toStdString(),
             MessageIcon::Error);
    return false;
  }
  return true;
}

void ResultsWindow::export_csv_Click() {
  QString path = QFileDialog::getSaveFileName(this, tr("Export Particle Results"), LastModelFolder(),
                                              tr("CSV files (*.csv);;All files (*)"));
  if (path.isEmpty()) return;
  // A name typed without an extension gets the one the filter promised.
  if (QFileInfo(path).suffix().isEmpty()) path += ".csv";
  ExportCsv(path);
}

}  // namespace kestra::app
