// The legend: a dock listing what the views can show, each in the colour it
// is drawn with and, where a setting shows it, with a box that shows or
// hides it; the colour bar of the flood under the list. Options, Legend
// shows or hides the dock.
#include <QDockWidget>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "render/figure_content.h"
#include "render/qt_colour.h"
#include "settings/settings_file.h"

namespace kestra::app {
namespace {

constexpr int kSwatchWidth = 24, kSwatchHeight = 14;

// A filled box for cells, a line across for what is drawn as lines.
QIcon SwatchIcon(const LegendEntry& entry) {
  QPixmap swatch(kSwatchWidth, kSwatchHeight);
  swatch.fill(Qt::transparent);
  QPainter painter(&swatch);
  const QColor colour = ToQColor(entry.colour);
  if (entry.line) {
    painter.setPen(QPen(colour, 2));
    painter.drawLine(1, kSwatchHeight / 2, kSwatchWidth - 2, kSwatchHeight / 2);
  } else {
    painter.fillRect(1, 1, kSwatchWidth - 2, kSwatchHeight - 2, colour);
    painter.setPen(Qt::black);
    painter.drawRect(1, 1, kSwatchWidth - 3, kSwatchHeight - 3);
  }
  return QIcon(swatch);
}

}  // namespace

void MainWindow::BuildLegend() {
  auto* dock = new QDockWidget(tr("Legend"), this);
  dock->setObjectName("legend_dock");
  legend_ = new QListWidget(dock);
  legend_->setObjectName("legend");
  legend_->setIconSize(QSize(kSwatchWidth, kSwatchHeight));
  legend_->setFocusPolicy(Qt::NoFocus);  // the plan keeps the keys
  connect(legend_, &QListWidget::itemChanged, this, &MainWindow::LegendSwitched);
  floodBar_ = new QLabel(dock);
  floodBar_->setObjectName("flood_bar");
  floodBar_->hide();
  auto* panel = new QWidget(dock);
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(legend_, 1);
  column->addWidget(floodBar_);
  dock->setWidget(panel);
  AddPanel(dock, "options_legend", tr("&Legend"));
  connect(this, &MainWindow::ResultsChanged, this, &MainWindow::UpdateLegend);
}

void MainWindow::UpdateLegend() {
  const QSignalBlocker quiet(legend_);
  legend_->clear();
  legendItems_.clear();
  const ModelState& m = session_.model;
  if (!m.HasModel()) return;
  // The cell kinds are looked for once per model, time step and settings, not at every redraw.
  if (!(presentCells_.settings == session_.settings) || presentCells_.period != m.CurrentPeriod ||
      presentCells_.model != m.ModelPath) {
    presentCells_ = {session_.settings, m.CurrentPeriod, m.ModelPath,
                     PresentCellColours(packages_, m, session_.settings, m.CurrentPeriod)};
  }
  FigureRequest request;
  SetPathlinesOf(request, particles_);
  legendItems_ = WindowLegend(session_, presentCells_.colours, request);
  for (const LegendItem& item : legendItems_) {
    auto* line = new QListWidgetItem(SwatchIcon(item.entry), QString::fromStdString(item.entry.label), legend_);
    if (!item.shownBy) {
      line->setFlags(Qt::ItemIsEnabled);
      continue;
    }
    line->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    line->setCheckState(item.shown ? Qt::Checked : Qt::Unchecked);
  }
}

// A box of the legend was ticked or cleared: its setting follows, into the
// settings file as well, and the views are drawn again.
void MainWindow::LegendSwitched(QListWidgetItem* line) {
  const int row = legend_->row(line);
  if (row < 0 || row >= static_cast<int>(legendItems_.size())) return;
  const LegendItem item = legendItems_[static_cast<std::size_t>(row)];
  if (!item.shownBy || RefuseCommand()) {
    UpdateLegend();
    return;
  }
  const std::int16_t value = line->checkState() == Qt::Checked ? kOn : kOff;
  Settings& s = session_.settings;
  s.*item.shownBy = value;
  // The contour switch is stored twice, as the Environment dialog stores it.
  if (item.shownBy == &Settings::contourDisplay) s.showContours = value;
  gridPlotSwitch_ = IsOn(s.showMesh);
  WriteSettings(session_.settingsPath, s, ui_);
  RedrawViews(false);
}

}  // namespace kestra::app
