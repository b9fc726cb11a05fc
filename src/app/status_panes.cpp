#include "app/status_panes.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace kestra::app {
namespace {

struct PaneSpec {
  const char* caption;
  const char* widest;  // the widest text the pane shows
  const char* tooltip;  // %1 is the model's time unit
};

constexpr PaneSpec kPanes[kStatusPaneCount] = {
    {"X, Y, Z:", "-1234567, -1234567, -1234.567",
     "Pointer position: world X and Y and the elevation Z at the vertical position, in the model's length unit"},
    {"Cell:", "9999, 9999, 9999", "Cell under the pointer: column, row, layer"},
    {"Head:", "-1.234567E-05", "Head in the cell under the pointer, in the model's length unit (--- inactive)"},
    {"v xy:", "-1.234567E-05",
     "Horizontal pore velocity in the cell under the pointer, in length units per %1 (--- inactive or fixed head)"},
    {"v z:", "-1.234567E-05",
     "Vertical pore velocity in the cell under the pointer, in length units per %1"},
    {"Period:", "99999", "Stress period whose heads and flows are shown"},
    {"Step:", "99999", "Time step of the stress period whose heads and flows are shown"},
    {"Particles:", "99999", "Number of particles"},
};

QString Translated(const char* text) { return QCoreApplication::translate("StatusPanes", text); }

}  // namespace

std::vector<QLabel*> AddStatusPanes(QStatusBar* bar) {
  std::vector<QLabel*> panes;
  for (int pane = 0; pane < kStatusPaneCount; ++pane) {
    auto* caption = new QLabel(Translated(kPanes[pane].caption), bar);
    caption->setObjectName(QString("Status_caption%1").arg(pane));
    auto* label = new QLabel(bar);
    label->setObjectName(QString("Status_pane%1").arg(pane));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    const int margin = 2 * label->frameWidth() + 8;
    label->setFixedWidth(label->fontMetrics().horizontalAdvance(kPanes[pane].widest) + margin);
    bar->addWidget(caption);
    bar->addWidget(label);
    panes.push_back(label);
  }
  DescribeStatusPanes(panes, Translated("time unit"));
  return panes;
}

void DescribeStatusPanes(const std::vector<QLabel*>& panes, const QString& timeUnit) {
  for (int pane = 0; pane < kStatusPaneCount && pane < static_cast<int>(panes.size()); ++pane) {
    QString tooltip = Translated(kPanes[pane].tooltip);
    if (tooltip.contains("%1")) tooltip = tooltip.arg(timeUnit);
    panes[pane]->setToolTip(tooltip);
    if (auto* caption = panes[pane]->parentWidget()->findChild<QLabel*>(QString("Status_caption%1").arg(pane)))
      caption->setToolTip(tooltip);
  }
}

}  // namespace kestra::app
