#include "core/fixed_tables.h"

#include <utility>

namespace kestra {
namespace {

constexpr std::pair<int, const char*> kExtensions[] = {
    {1, ".X"},     {2, ".Y"},     {3, ".TOP"},   {4, ".BOT"},   {5, ".IBD"},   {6, ".POR"},   {7, ".STO"},
    {8, ".CON"},   {9, ".LEA"},   {10, ".HEA"},  {11, ".WEL"},  {12, ".DRC"},  {13, ".DRE"},  {14, ".RIC"},
    {15, ".RIS"},  {16, ".RIR"},  {17, ".EET"},  {18, ".ESU"},  {19, ".EXD"},  {20, ".EIE"},  {21, ".GHC"},
    {22, ".GHB"},  {23, ".RCH"},  {24, ".RCI"},  {25, ".SEG"},  {26, ".SRE"},  {27, ".SFL"},  {28, ".SST"},
    {29, ".STC"},  {30, ".STT"},  {31, ".SBO"},  {32, ".SWI"},  {33, ".SSL"},  {34, ".SRO"},  {40, ".TIC"},
    {41, ".TSC"},  {42, ".TOB"},  {43, ".TW"},   {44, ".TD"},   {45, ".TR"},   {46, ".TE"},   {47, ".TG"},
    {48, ".TRC"},  {49, ".TST"},  {50, ".TCH"},  {51, ".LKN"},  {52, ".DWA"},  {53, ".TAL"},  {60, ".HTC"},
    {61, ".SCC"},  {62, ".YLD"},  {70, ".WAL"},  {71, ".WAC"},  {72, ".IB1"},  {73, ".IB2"},  {74, ".IB3"},
    {75, ".IB4"},  {76, ".CH1"},  {77, ".CH2"},  {78, ".CH3"},  {81, ".WBL"},  {83, "._83"},  {85, ".C85"},
    {86, ".C86"},  {87, ".C87"},  {88, ".C88"},  {89, ".C89"},  {103, ".TOZ"}, {104, ".BOZ"}, {105, ".IBZ"},
    {106, ".POZ"}, {107, ".STZ"}, {108, ".COZ"}, {109, ".LEZ"}, {110, ".HEZ"}, {111, ".WEZ"}, {112, ".DCZ"},
    {113, ".DEZ"}, {114, ".RCZ"}, {115, ".RSZ"}, {116, ".RRZ"}, {117, ".ETZ"}, {118, ".EUZ"}, {119, ".EDZ"},
    {120, ".EEZ"}, {121, ".GCZ"}, {122, ".GBZ"}, {123, ".RHZ"}, {124, ".RIZ"}, {125, ".S1z"}, {126, ".S2z"},
    {127, ".S3z"}, {128, ".S4z"}, {129, ".S5z"}, {130, ".S6z"}, {131, ".S7z"}, {132, ".S8z"}, {133, ".S9z"},
    {134, ".S0z"}, {140, ".MT0"}, {141, ".MT1"}, {142, ".MT2"}, {143, ".MT3"}, {144, ".MT4"}, {145, ".MT5"},
    {146, ".MT6"}, {147, ".MT7"}, {148, ".MT8"}, {149, ".MT9"}, {150, ".M10"}, {151, ".LKZ"}, {152, ".DWZ"},
    {153, ".M11"}, {160, ".HTZ"}, {161, ".SCZ"}, {162, ".YLZ"}, {172, ".I1Z"}, {173, ".I2Z"}, {174, ".I3Z"},
    {175, ".I4Z"}, {176, ".C1Z"}, {177, ".C2Z"}, {178, ".C3Z"}, {181, ".WBZ"}, {183, ".Z83"}, {185, ".Z85"},
    {186, ".Z86"}, {187, ".Z87"}, {188, ".Z88"}, {189, ".Z89"},
};

DataFileExtensionTable BuildExtensions() {
  DataFileExtensionTable table;
  for (const auto& [type, extension] : kExtensions) table[type] = extension;
  return table;
}

RgbColor Scaled(RgbColor c, float level) { return {c.red * level, c.green * level, c.blue * level}; }

RgbColor Paled(RgbColor c) {
  auto toWhite = [](float v) { return v + (1 - v) / 2; };
  return {toWhite(c.red), toWhite(c.green), toWhite(c.blue)};
}

// The pure colour of hue group h (0..23): six sectors of the colour wheel,
// each crossed in four quarter steps.
RgbColor HueColor(int h) {
  const float t = 0.25f * static_cast<float>(h % 4);
  switch (h / 4) {
    case 0: return {1, t, 0};
    case 1: return {1 - t, 1, 0};
    case 2: return {0, 1, t};
    case 3: return {0, 1 - t, 1};
    case 4: return {t, 0, 1};
    default: return {1, 0, 1 - t};
  }
}

ColorIndexTableType BuildColorIndexTable() {
  ColorIndexTableType table{};
  const RgbColor basic[] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}};
  for (int index = 1; index <= 9; ++index) table[index] = basic[index - 1];
  constexpr float kLevels[] = {1.0f, 0.65f, 0.5f, 0.3f, 0.15f};
  for (int h = 0; h < 24; ++h) {
    const RgbColor pure = HueColor(h);
    const RgbColor pale = Paled(pure);
    for (int s = 0; s < 5; ++s) {
      table[10 + 10 * h + 2 * s] = Scaled(pure, kLevels[s]);
      table[11 + 10 * h + 2 * s] = Scaled(pale, kLevels[s]);
    }
  }
  constexpr float kGreys[] = {0.33f, 0.464f, 0.598f, 0.732f, 0.866f, 1.0f};
  for (int g = 0; g < 6; ++g) table[250 + g] = {kGreys[g], kGreys[g], kGreys[g]};
  for (int index = 1; index <= kColorIndexCount; ++index) table[index] = Scaled(table[index], 255);
  return table;
}

}  // namespace

const DataFileExtensionTable& DataFileExtensions() {
  static const DataFileExtensionTable table = BuildExtensions();
  return table;
}

const ColorIndexTableType& ColorIndexTable() {
  static const ColorIndexTableType table = BuildColorIndexTable();
  return table;
}

}  // namespace kestra
