// Options, Colour Flood: the plan's cells filled in the colour of their
// head, drawdown or speed, with its colour bar under the legend and in
// saved and printed figures.
#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

#include "app/main_window.h"
#include "core/number_format.h"
#include "core/world_position.h"
#include "session/time_step_results.h"
#include "settings/tracking_settings.h"

namespace kestra::app {
namespace {

struct FloodChoice {
  const char* name;
  const char* text;
  std::optional<FloodQuantity> quantity;
};
const FloodChoice kFloodChoices[] = {{"flood_none", "&None", std::nullopt},
                                     {"flood_head", "&Head", FloodQuantity::Head},
                                     {"flood_drawdown", "&Drawdown", FloodQuantity::Drawdown},
                                     {"flood_velocity", "&Speed", FloodQuantity::Velocity}};

constexpr int kBarWidth = 220, kBarHeight = 14;

// The title over the ramp, its low and high values under its ends.
QPixmap ColourBarPixmap(const QFont& font, const QString& title, double low, double high) {
  const QFontMetrics metrics(font);
  const int line = metrics.height();
  QPixmap bar(kBarWidth, kBarHeight + 2 * line + 4);
  bar.fill(Qt::white);
  QPainter painter(&bar);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, 0, kBarWidth, line), Qt::AlignLeft, title);
  for (int x = 0; x < kBarWidth; ++x) {
    const Colour c = FloodColour(static_cast<double>(x) / (kBarWidth - 1));
    painter.setPen(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    painter.drawLine(x, line + 2, x, line + 1 + kBarHeight);
  }
  painter.setPen(Qt::black);
  const QRect values(0, line + kBarHeight + 4, kBarWidth, line);
  painter.drawText(values, Qt::AlignLeft, QString::fromStdString(GeneralNumberText(static_cast<float>(low))));
  painter.drawText(values, Qt::AlignRight, QString::fromStdString(GeneralNumberText(static_cast<float>(high))));
  return bar;
}

}  // namespace

void MainWindow::BuildFloodMenu(QMenu* options) {
  QMenu* menu = options->addMenu(tr("Colour &Flood"));
  menu->setObjectName("options_colour_flood");
  auto* group = new QActionGroup(this);
  for (const FloodChoice& choice : kFloodChoices) {
    QAction* action = AddItem(menu, choice.name, tr(choice.text), true);
    action->setCheckable(true);
    action->setChecked(!choice.quantity);
    group->addAction(action);
    connect(action, &QAction::triggered, this, [this, quantity = choice.quantity] {
      if (RefuseCommand()) return;
      floodQuantity_ = quantity;
      RedrawViews(false);
    });
  }
}

void MainWindow::UpdateFlood() {
  const ModelState& m = session_.model;
  if (floodQuantity_ == FloodQuantity::Velocity) CellVelocitiesReady(session_);
  const LoadStatus& loaded = session_.loaded;
  FloodSource source{floodQuantity_, m.CurrentLayer, m.CurrentPeriod, m.CurrentStep, m.ModelPath, loaded.headsLoaded,
                     loaded.drawdownsLoaded, loaded.velocitiesComputed, session_.settings};
  if (source == floodSource_) return;
  floodSource_ = std::move(source);
  flood_ = floodQuantity_ && m.HasModel()
               ? FloodOfLayer(m, session_.settings, *floodQuantity_, m.CurrentLayer)
               : ColourFlood{};
  floodBar_->setVisible(floodQuantity_.has_value());
  if (!floodQuantity_) return;
  const std::string title = FloodTitle(*floodQuantity_, LengthUnitSymbol(m.lengthUnit),
                                       SingularTimeUnitName(session_.periods.timeUnit));
  if (flood_.Empty()) {
    floodBar_->setText(tr("%1: no values in layer %2").arg(QString::fromStdString(title)).arg(m.CurrentLayer));
    return;
  }
  floodBar_->setPixmap(ColourBarPixmap(floodBar_->font(), QString::fromStdString(title), flood_.low, flood_.high));
}

}  // namespace kestra::app
