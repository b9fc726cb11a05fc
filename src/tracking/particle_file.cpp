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

// One value after the first line and the line of the file it stands on.
struct Token {
  std::string text;
  int line = 0;
};

// The values after the first line (which is line 1): separated by blanks,
// commas or line ends.
std::vector<Token> FreeFormatValues(const std::string& text) {
  std::vector<Token> values;
  std::string current;
  int line = 2;
  for (char c : text) {
    if (c == ' ' || c == ',' || c == '\t' || c == '\r' || c == '\n') {
      if (!current.empty()) values.push_back({current, line});
      current.clear();
      if (c == '\n') ++line;
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) values.push_back({current, line});
  return values;
}

bool IsLocalCoordinate(float value) { return value >= 0 && value <= 1; }

constexpr const char* kFieldNames[kValuesPerParticle] = {
    "local x", "local y", "local z", "column", "row", "layer", "elevation", "colour", "retardation"};

// The nine values of one particle. The window's reading takes the leading
// number of each value; a strict reading (with `faults`) refuses a value that
// is not a number and notes every value that is wrong.
class ParticleValues {
 public:
  ParticleValues(const Token* tokens, int place, std::vector<ParticleFault>* faults)
      : tokens_(tokens), place_(place), faults_(faults) {}

  // Empty when a strict reading found no number.
  std::optional<double> Number(int field) {
    const std::string& text = tokens_[field].text;
    if (!faults_) return LeadingNumber(text);
    const std::optional<double> value = ParseNumber(text);
    if (!value) Fault(field, "'" + text + "' is not a number");
    return value;
  }

  void Fault(int field, const std::string& reason, bool outsideGrid = false) {
    faulty_ = true;
    if (faults_) faults_->push_back({place_, tokens_[field].line, kFieldNames[field], reason, outsideGrid});
  }

  bool Faulty() const { return faulty_; }

 private:
  const Token* tokens_;
  int place_;
  std::vector<ParticleFault>* faults_;
  bool faulty_ = false;
};

// A cell number within 1..count; a fault naming the grid's extent otherwise.
std::optional<std::int16_t> CellNumber(ParticleValues& values, int field, int count, const char* extent) {
  const std::optional<double> number = values.Number(field);
  if (!number) return std::nullopt;
  const std::optional<std::int16_t> cell = RoundToInt16(*number);
  if (cell && *cell >= 1 && *cell <= count) return cell;
  values.Fault(field, TrimmedNumberText(*number) + " lies outside the grid's " + std::to_string(count) + " " + extent,
               true);
  return std::nullopt;
}

std::optional<float> LocalCoordinate(ParticleValues& values, int field) {
  const std::optional<double> number = values.Number(field);
  if (!number) return std::nullopt;
  const float coordinate = static_cast<float>(*number);
  if (IsLocalCoordinate(coordinate)) return coordinate;
  values.Fault(field, TrimmedNumberText(*number) + " lies outside 0..1");
  return std::nullopt;
}

// One particle from nine values; empty when it does not fit the grid, its
// point lies outside its cell or its retardation is not a positive finite
// number.
std::optional<ParticleRecord> ParseParticle(ParticleValues& values, const GridShape& grid) {
  const auto x = LocalCoordinate(values, 0);
  const auto y = LocalCoordinate(values, 1);
  const auto z = LocalCoordinate(values, 2);
  const auto column = CellNumber(values, 3, grid.ncol, "columns");
  const auto row = CellNumber(values, 4, grid.nrow, "rows");
  const auto layer = CellNumber(values, 5, grid.nlay, "layers");
  const std::optional<double> elevation = values.Number(6);
  const std::optional<double> colorValue = values.Number(7);
  const std::optional<std::int32_t> color = colorValue ? RoundToInt32(*colorValue) : std::nullopt;
  if (colorValue && !color) values.Fault(7, TrimmedNumberText(*colorValue) + " is no colour number");
  const std::optional<double> retardationValue = values.Number(8);
  const float retardation = retardationValue ? static_cast<float>(*retardationValue) : 0.0f;
  if (retardationValue && !(std::isfinite(retardation) && retardation > 0))
    values.Fault(8, TrimmedNumberText(*retardationValue) + " is not a positive number");
  if (values.Faulty() || !x || !y || !z || !column || !row || !layer || !elevation || !color || !retardationValue)
    return std::nullopt;
  ParticleSet defaults;
  defaults.DefaultParticleColor = *color;
  defaults.DefaultRetardation = retardation;
  return NewParticle(defaults, {*column, *row, *layer}, {*x, *y, *z}, static_cast<float>(*elevation));
}

std::string FirstLine(const std::string& text, std::size_t& rest) {
  const std::size_t end = text.find('\n');
  rest = end == std::string::npos ? text.size() : end + 1;
  std::string line = text.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

// The count of the second line; empty (after telling the user) when it does
// not fit. A strict reading also notes a count that is not a number or differs
// from the particles the file holds.
std::optional<int> ParticleCount(const std::vector<Token>& values, ParticleLimit limit,
                                 std::vector<ParticleFault>* faults, UserInterface& ui) {
  const double countValue = values.empty() ? 0 : LeadingNumber(values[0].text);
  std::optional<std::int32_t> count = RoundToInt32(countValue);
  if (limit == ParticleLimit::Window && !RoundToInt16(countValue)) count.reset();
  if (!count) {
    ComplainAboutSystemError(ui, ERANGE);
    return std::nullopt;
  }
  if (!faults) return count;
  const std::size_t held = values.empty() ? 0 : values.size() - 1;
  const int line = values.empty() ? 2 : values[0].line;
  if (values.empty() || !ParseNumber(values[0].text))
    faults->push_back({0, line, "count", values.empty() ? "missing" : "'" + values[0].text + "' is not a number"});
  else if (held != static_cast<std::size_t>(*count) * kValuesPerParticle)
    faults->push_back({0, line, "count",
                       std::to_string(*count) + ", but the file holds " +
                           std::to_string(held / kValuesPerParticle) +
                           (held % kValuesPerParticle ? " and " + std::to_string(held % kValuesPerParticle) +
                                                            " values of an incomplete one"
                                                      : "")});
  return count;
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
                      ParticleLimit limit, std::vector<ParticleFault>* faults) {
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
  const std::vector<Token> values = FreeFormatValues(text.substr(rest));
  const std::optional<int> count = ParticleCount(values, limit, faults, ui);
  if (!count) return false;
  // Only complete particles are read: a truncated file adds what it holds.
  const int available = static_cast<int>((values.size() - (values.empty() ? 0 : 1)) / kValuesPerParticle);
  const int wanted = std::max(0, std::min<int>(*count, available));
  if (limit == ParticleLimit::None) set.Particles.reserve(set.Particles.size() + static_cast<std::size_t>(wanted));
  int skipped = 0;
  for (int n = 0; n < wanted; ++n) {
    ParticleValues particleValues(&values[1 + n * kValuesPerParticle], n + 1, faults);
    const auto particle = ParseParticle(particleValues, state.Shape());
    if (!particle) {
      ++skipped;
      continue;
    }
    if (limit == ParticleLimit::None) set.Particles.push_back(*particle);
    else if (!AddParticleGroup(set, {*particle}, ui)) break;
  }
  if (skipped > 0 && !faults) Complain(ui, kSkippedParticlesMessage + NumberText(skipped), MessageIcon::Exclamation);
  return true;
}

}  // namespace kestra
