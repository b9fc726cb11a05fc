// Data type numbers of the model file set: each kind of model data has a
// number that names its data file's extension and its record directory row.
#pragma once

namespace kestra::data_type {

inline constexpr int kColumnWidths = 1;
inline constexpr int kRowHeights = 2;
inline constexpr int kTop = 3;
inline constexpr int kBottom = 4;
inline constexpr int kBoundary = 5;
inline constexpr int kPorosity = 6;
inline constexpr int kWells = 11;
inline constexpr int kDrains = 12;
inline constexpr int kRivers = 14;
inline constexpr int kGeneralHead = 21;
inline constexpr int kStreams = 26;
inline constexpr int kBarriers = 70;
inline constexpr int kReservoirLocations = 85;
inline constexpr int kReservoirLayers = 89;

// The name-file key of the list package that holds a boundary data type
// ("WEL", "DRN", "RIV", "STR", "GHB"); null for the others, which name files
// do not carry.
constexpr const char* PackageKey(int dataType) {
  switch (dataType) {
    case kWells: return "WEL";
    case kDrains: return "DRN";
    case kRivers: return "RIV";
    case kStreams: return "STR";
    case kGeneralHead: return "GHB";
    default: return nullptr;
  }
}

}  // namespace kestra::data_type
