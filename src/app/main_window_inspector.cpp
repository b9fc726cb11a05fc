// The cell inspector: a dock that shows, for the cell under the pointer on
// the plan, where it is, its elevations, results, velocities and boundary
// packages, in the model's units, and for a pathline under the pointer its
// particle, the time there and how the particle's run ended. Options, Cell
// Inspector shows or hides it.
#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QMenu>
#include <QTableWidget>

#include "app/main_window.h"
#include "core/round_numbers.h"
#include "settings/tracking_settings.h"
#include "tracking/cell_inspection.h"

namespace kestra::app {

void MainWindow::BuildCellInspector() {
  auto* dock = new QDockWidget(tr("Cell"), this);
  dock->setObjectName("cell_inspector_dock");
  inspector_ = new QTableWidget(0, 2, dock);
  inspector_->setObjectName("cell_inspector");
  inspector_->horizontalHeader()->hide();
  inspector_->verticalHeader()->hide();
  inspector_->horizontalHeader()->setStretchLastSection(true);
  inspector_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  inspector_->setFocusPolicy(Qt::NoFocus);  // the plan keeps the keys
  dock->setWidget(inspector_);
  AddPanel(dock, "options_cell_inspector", tr("Cell &Inspector"));
}

void MainWindow::AddPanel(QDockWidget* dock, const char* actionName, const QString& actionText) {
  addDockWidget(Qt::RightDockWidgetArea, dock);
  QAction* toggle = dock->toggleViewAction();
  toggle->setObjectName(actionName);
  toggle->setText(actionText);
  findChild<QMenu*>("menu_options")->addAction(toggle);
}

namespace {

// Pathlines this many pixels from the pointer are under it.
constexpr float kPathlineReachPixels = 4;

}  // namespace

void MainWindow::ShowCellInInspector(CellIndex cell, QPointF point) {
  if (!inspector_->isVisible()) return;
  if (cell.column == 0) {
    inspector_->setRowCount(0);
    return;
  }
  const ModelState& m = session_.model;
  if (!(inspected_.cell == cell) || inspected_.period != m.CurrentPeriod || inspected_.step != m.CurrentStep)
    inspected_ = {cell, m.CurrentPeriod, m.CurrentStep,
                  PackagesAtCell(packages_, m, session_.settings, cell, m.CurrentPeriod), TermsOfCell(cell)};
  const InspectedResults loaded{session_.loaded.headsLoaded, session_.loaded.drawdownsLoaded, m.flowTermsLoaded};
  std::vector<InspectedValue> lines = InspectCell(m, session_.settings, session_.tracking, session_.periods.timeUnit,
                                                  cell, loaded, inspected_.packages, inspected_.terms);
  AddPathlineUnderPointer(point, lines);
  inspector_->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < static_cast<int>(lines.size()); ++row) {
    const auto& line = lines[static_cast<std::size_t>(row)];
    inspector_->setItem(row, 0, new QTableWidgetItem(QString::fromStdString(line.name)));
    inspector_->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(line.value)));
  }
  inspector_->resizeColumnToContents(0);
}

std::vector<CellTerm> MainWindow::TermsOfCell(CellIndex cell) {
  const ModelState& m = session_.model;
  if (!m.flowTermsLoaded) return {};
  if (stepTerms_.model != m.ModelPath || stepTerms_.period != m.CurrentPeriod || stepTerms_.step != m.CurrentStep)
    stepTerms_ = {m.ModelPath, m.CurrentPeriod, m.CurrentStep, BoundaryTermsByCell(m)};
  const auto found = stepTerms_.table.find(m.Shape().Index(cell.column, cell.row, cell.layer));
  return found == stepTerms_.table.end() ? std::vector<CellTerm>{} : found->second;
}

void MainWindow::AddPathlineUnderPointer(QPointF point, std::vector<InspectedValue>& lines) const {
  const std::optional<PathlineHit> hit =
      storedPaths_.PathlineAt(point.x(), point.y(), kPathlineReachPixels * layout_.PixelSize);
  if (!hit) return;
  lines.push_back({"Pathline", "particle " + std::to_string(hit->particle) +
                                   (hit->direction > 0 ? ", forward" : ", backward")});
  const int unit = session_.periods.timeUnit;
  lines.push_back({"Time there", PlainText(hit->time) + (unit > 0 && unit < kTimeUnitCount
                                                             ? std::string(" ") + kTimeUnitNames[unit]
                                                             : std::string())});
  for (const Endpoint& end : endpoints_->Endpoints())
    if (end.particle == hit->particle && end.direction == hit->direction && end.tracked)
      lines.push_back({"Run ended", EndDescription(end)});
}

std::string MainWindow::EndDescription(const Endpoint& end) const {
  const ModelState& m = session_.model;
  return EndpointEndDescription(end, EndedInSink(end) ? PackagesAtCell(packages_, m, session_.settings, end.finalCell,
                                                                       m.CurrentPeriod)
                                                      : std::vector<std::string>{});
}

}  // namespace kestra::app
