#include "tracking/particle_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "core/atomic_file.h"
#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr const char* kParticleFileMagic = "KESTRA_V100_PARTICLES";
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kNotAParticleFileMessage = "The selected file does not contain particle information";
constexpr const char* kSkippedParticlesMessage =
    "Particles skipped because their cell lies outside the grid, their point outside the cell or their "
    "retardation is not a positive number:";
constexpr int kValuesPerParticle = 9;

void ComplainAboutSystemError(UserInterface& ui, int error) {
  Complain(ui, std::strerror(error), MessageIcon::Error, kErrorTitle);
}

std::string ParticleLine(const ParticleRecord& p) {
  const std::string fields[kValuesPerParticle] = {
      GeneralNumberText(p.startLocal.x),       GeneralNumberText(p.startLocal.y),
      GeneralNumberText(p.startLocal.z),       IntegerMaskText(p.startCell.column),
      IntegerMaskText(p.startCell.row),        IntegerMaskText(p.startCell.layer),
      GeneralNumberText(p.StartElevation),     IntegerMaskText(p.ParticleColor),
      GeneralNumberText(p.Retardation)};
  std::string line;
  for (int n = 0; n < kValuesPerParticle; ++n) line += fields[n] + (n + 1 < kValuesPerParticle ? " " : kLineEnd);
  return line;
}

// The values after the first line: separated by blanks, commas or line ends.
std::vector<std::string> FreeFormatValues(const std::string& text) {
  std::vector<std::string> values;
  std::string current;
  for (char c : text) {
    if (c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n') {
      if (!current.empty()) values.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) values.push_back(current);
  return values;
}

bool IsLocalCoordinate(float value) { return value >= 0 && value <= 1; }

// One particle from nine values; empty when it does not fit the grid or its
// retardation is not a positive finite number.
std::optional<ParticleRecord> ParseParticle(const std::string* values, const GridShape& grid) {
  const auto column = RoundToInt16(LeadingNumber(values[3]));
  const auto row = RoundToInt16(LeadingNumber(values[4]));
  const auto layer = RoundToInt16(LeadingNumber(values[5]));
  const auto color = RoundToInt32(LeadingNumber(values[7]));
  if (!column || !row || !layer || !color || !grid.Contains(*column, *row, *layer)) return std::nullopt;
  const LocalPoint local{static_cast<float>(LeadingNumber(values[0])), static_cast<float>(LeadingNumber(values[1])),
                         static_cast<float>(LeadingNumber(values[2]))};
  const float retardation = static_cast<float>(LeadingNumber(values[8]));
  if (!IsLocalCoordinate(local.x) || !IsLocalCoordinate(local.y) || !IsLocalCoordinate(local.z)) return std::nullopt;
  if (!std::isfinite(retardation) || retardation <= 0) return std::nullopt;
  ParticleSet defaults;
  defaults.DefaultParticleColor = *color;
  defaults.DefaultRetardation = retardation;
  return NewParticle(defaults, {*column, *row, *layer}, local, static_cast<float>(LeadingNumber(values[6])));
}

std::string FirstLine(const std::string& text, std::size_t& rest) {
  const std::size_t end = text.find('\n');
  rest = end == std::string::npos ? text.size() : end + 1;
  std::string line = text.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

bool WriteParticleFile(const std::string& path, const ParticleSet& set, UserInterface& ui) {
  std::string text = kParticleFileMagic + std::string(kLineEnd) + NumberText(set.ParticleCount()) + " " + kLineEnd;
  for (const ParticleRecord& particle : set.Particles) text += ParticleLine(particle);
  std::string error;
  if (WriteFileAtomically(path, text, error)) return true;
  Complain(ui, error, MessageIcon::Error, kErrorTitle);
  return false;
}

bool ReadParticleFile(const std::string& path, const ModelState& state, ParticleSet& set, UserInterface& ui,
                      ParticleLimit limit, std::vector<int>* skippedPlaces) {
  // A folder opens as a file but fails on reading.
  std::error_code folderTest;
  if (std::filesystem::is_directory(path, folderTest)) {
    ComplainAboutSystemError(ui, EISDIR);
    return false;
  }
  errno = 0;
  const std::optional<std::string> read = ReadTextFile(path);
  if (!read) {
    ComplainAboutSystemError(ui, errno != 0 ? errno : EIO);
    return false;
  }
  const std::string& text = *read;
  std::size_t rest = 0;
  if (FirstLine(text, rest) != kParticleFileMagic) {
    Complain(ui, kNotAParticleFileMessage, MessageIcon::Exclamation);
    return false;
  }
  const std::vector<std::string> values = FreeFormatValues(text.substr(rest));
  const double countValue = values.empty() ? 0 : LeadingNumber(values[0]);
  std::optional<std::int32_t> count = RoundToInt32(countValue);
  if (limit == ParticleLimit::Window && !RoundToInt16(countValue)) count.reset();
  if (!count) {
    ComplainAboutSystemError(ui, ERANGE);
    return false;
  }
  // Only complete particles are read: a truncated file adds what it holds.
  const int available = static_cast<int>((values.size() - (values.empty() ? 0 : 1)) / kValuesPerParticle);
  const int wanted = std::max(0, std::min<int>(*count, available));
  if (limit == ParticleLimit::None) set.Particles.reserve(set.Particles.size() + static_cast<std::size_t>(wanted));
  int skipped = 0;
  for (int n = 0; n < wanted; ++n) {
    const auto particle = ParseParticle(&values[1 + n * kValuesPerParticle], state.Shape());
    if (!particle) {
      ++skipped;
      if (skippedPlaces) skippedPlaces->push_back(n + 1);
      continue;
    }
    if (limit == ParticleLimit::None) set.Particles.push_back(*particle);
    else if (!AddParticleGroup(set, {*particle}, ui)) break;
  }
  if (skipped > 0) Complain(ui, kSkippedParticlesMessage + NumberText(skipped), MessageIcon::Exclamation);
  return true;
}

}  // namespace kestra
