// The display settings of a model, held in the settings file beside the
// model file ("site.mdl" has "site.ini"). Switches are 16-bit integers with
// -1 for on and 0 for off, kept as read so that any value survives a round
// trip; colours are RGB integers with red in the low byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace kestra {

inline bool IsOn(std::int16_t sw) { return sw != 0; }
inline constexpr std::int16_t kOn = -1;
inline constexpr std::int16_t kOff = 0;

inline constexpr int kDxfMapCount = 5;

// One DXF base map (DXF_MAPS keys FILE#n .. COLORn).
struct DxfMapEntry {
  std::string file;
  float shiftX = 0;
  float shiftY = 0;
  float factor = 0;
  std::int16_t display = 0;
  std::int32_t color = 0;
  bool operator==(const DxfMapEntry&) const = default;
};

struct Settings {
  // OPTIONS: head values that mark no-flow and dry cells in head results.
  float HNOFLO = -999.99f;
  float HDRY = -1.0E+30f;

  // COLOR
  std::int32_t meshColor = 12632256;
  std::int32_t inactiveCellColor = 8421504;
  std::int32_t fixedHeadCellColor = 8388608;
  std::int32_t ghbCellColor = 16448;
  std::int32_t dischargeWellColor = 255;
  std::int32_t rechargeWellColor = 16711680;
  std::int32_t drainColor = 8454143;
  std::int32_t riverColor = 16776960;
  std::int32_t barrierColor = 0;
  std::int32_t boresColor = 0;
  std::int32_t contoursColor = 255;
  std::int32_t reservoirColor = 8404992;
  std::int32_t waterTableColor = 8388608;
  // Green beside the red of discharging wells and the purple of the vectors.
  std::int32_t particleColor = 40960;  // RGB 0, 160, 0
  std::int32_t backwardPathColor = 16711680;  // pathlines tracked backward, blue beside the green of particles
  std::int32_t minContourColor = 8388608;
  std::int32_t maxContourColor = 0;

  // RES1
  std::int16_t reservoirOption = 2;

  // GRID_APPEARANCE
  std::int16_t showMesh = kOn;
  std::int16_t showInactiveCells = kOn;
  std::int16_t showFixedHeadCells = kOn;
  std::int16_t showGhbCells = kOn;
  std::int16_t showDischargeWells = kOn;
  std::int16_t showRechargeWells = kOn;
  std::int16_t showDrains = kOn;
  std::int16_t showRivers = kOn;
  std::int16_t showBarriers = kOn;
  std::int16_t showReservoirs = kOn;
  std::int16_t showWaterTable = kOff;
  std::int16_t showContours = kOff;
  // The contour display switch of the contour drawing; reading
  // GRID_APPEARANCE/CONTOURS sets it too.
  std::int16_t contourDisplay = kOff;

  // VelocityVectors
  std::int16_t vectorsVisible = kOff;
  std::int16_t vectorSize = 25;
  std::int32_t vectorColor = 8388736;  // RGB 128, 0, 128

  // CONTOURS
  std::int16_t labelStyle = 1;  // 0 fixed, 1 exponential
  std::int16_t contourDataSource = 0;
  std::int16_t labelDecimals = 2;
  std::string labelPrefix;
  std::string labelSuffix;
  // False when the settings file holds no label format: labels then take
  // the decimals of round default levels and the unit, and the four label
  // keys stay out of the file until the user chooses a format.
  bool labelFormatStored = true;
  std::int16_t labelUphill = kOn;

  // ImageSettings (printing; lengths in millimetres)
  std::int16_t centerOnPage = 1;
  std::int16_t useFullPage = 1;
  float imageWidth = 0;
  float imageHeight = 0;
  float imageTop = 0;
  float imageLeft = 0;

  // SavePlotAs
  std::int16_t includeLowerXsection = 1;
  std::int16_t includeRightXsection = 1;

  // CROSS_SECTIONS
  std::int16_t sectionColumn = 1;
  std::int16_t sectionRow = 1;
  float exaggeration = 1;
  std::int16_t sectionsVisible = kOn;
  std::int16_t sectionGrid = kOn;

  // DXF_MAPS: entries 1..5 used.
  std::array<DxfMapEntry, kDxfMapCount + 1> dxfMaps{};

  bool operator==(const Settings&) const = default;
};

}  // namespace kestra
