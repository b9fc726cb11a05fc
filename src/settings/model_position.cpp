#include "settings/model_position.h"

#include <cmath>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "core/world_position.h"
#include "settings/ini_file.h"

namespace kestra {
namespace {

constexpr const char* kPositionSection = "MODEL_POSITION";
constexpr const char* kXOriginKey = "XOrigin";
constexpr const char* kYOriginKey = "YOrigin";
constexpr const char* kRotationKey = "Rotation";
constexpr const char* kCrsKey = "CRS";

std::optional<double> FiniteNumber(const std::optional<std::string>& text) {
  return text ? ParseFiniteNumber(*text) : std::nullopt;
}

std::string OptionalNumberText(const std::optional<double>& value) {
  return value ? TrimmedNumberText(*value) : std::string();
}

}  // namespace

PositionChoice ReadModelPosition(const std::string& path) {
  const IniFile file = IniFile::Load(path);
  PositionChoice choice;
  choice.xOrigin = FiniteNumber(file.Get(kPositionSection, kXOriginKey));
  choice.yOrigin = FiniteNumber(file.Get(kPositionSection, kYOriginKey));
  choice.rotation = FiniteNumber(file.Get(kPositionSection, kRotationKey));
  if (auto crs = file.Get(kPositionSection, kCrsKey); crs && !crs->empty()) choice.crs = std::move(crs);
  return choice;
}

bool WriteModelPosition(const std::string& path, const PositionChoice& choice, UserInterface& ui) {
  return UpdateSettingsFile(
      path,
      [&choice](IniFile& file) {
        file.Set(kPositionSection, kXOriginKey, OptionalNumberText(choice.xOrigin));
        file.Set(kPositionSection, kYOriginKey, OptionalNumberText(choice.yOrigin));
        file.Set(kPositionSection, kRotationKey, OptionalNumberText(choice.rotation));
        file.Set(kPositionSection, kCrsKey, choice.crs.value_or(""));
      },
      ui);
}

PositionChoice OverriddenPosition(const PositionChoice& base, const PositionChoice& over) {
  return {over.xOrigin ? over.xOrigin : base.xOrigin, over.yOrigin ? over.yOrigin : base.yOrigin,
          over.rotation ? over.rotation : base.rotation, over.crs ? over.crs : base.crs};
}

void ApplyPositionChoice(const PositionChoice& choice, ModelState& state) {
  if (choice.IsEmpty()) return;
  WorldPosition position = PositionOf(state);
  position.xOrigin = choice.xOrigin.value_or(position.xOrigin);
  position.yOrigin = choice.yOrigin.value_or(position.yOrigin);
  position.rotation = choice.rotation.value_or(position.rotation);
  position.crs = choice.crs.value_or(position.crs);
  SetWorldPosition(state, position);
}

}  // namespace kestra
