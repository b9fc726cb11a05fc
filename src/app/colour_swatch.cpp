#include "app/colour_swatch.h"

#include <QColorDialog>

#include "render/qt_colour.h"

namespace kestra::app {

void ShowSwatch(QPushButton* swatch, std::int32_t colour) {
  swatch->setStyleSheet(QString("background-color: %1").arg(ToQColor(colour).name()));
}

std::optional<std::int32_t> ChooseColour(std::int32_t current, QWidget* parent) {
  const QColor chosen = QColorDialog::getColor(ToQColor(current), parent);
  if (!chosen.isValid()) return std::nullopt;
  return FromQColor(chosen);
}

}  // namespace kestra::app
