// Colours of the system (RGB integers with red in the low byte) as Qt colours.
#pragma once

#include <QColor>
#include <cstdint>

namespace kestra {

inline QColor ToQColor(std::int32_t colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

inline std::int32_t FromQColor(const QColor& colour) {
  return colour.red() + 256 * colour.green() + 65536 * colour.blue();
}

}  // namespace kestra
