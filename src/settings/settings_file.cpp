#include "settings/settings_file.h"

#include "settings/ini_file.h"
#include "settings/settings_keys.h"

namespace kestra {
namespace {

bool IsLabelFormatKey(const SettingKey& key) {
  return key.section == "CONTOURS" && (key.key == "LabelStyle" || key.key == "Decimal" || key.key == "LabelPrefix" ||
                                       key.key == "LabelSuffix");
}

template <typename State>
void ReadKey(const IniFile& file, const KeyOf<State>& key, State& state) {
  key.assign(state, file.Get(key.section, key.key).value_or(key.defaultText));
}

}  // namespace

void ReadSettings(const std::string& path, Settings& settings, UserInterface& ui) {
  Hourglass busy(ui);
  const IniFile file = IniFile::Load(path);
  for (const SettingKey& key : SettingKeys()) ReadKey(file, key, settings);
  settings.labelFormatStored = file.Get("CONTOURS", "LabelStyle").has_value();
}

bool WriteSettings(const std::string& path, const Settings& settings, UserInterface& ui) {
  Hourglass busy(ui);
  return UpdateSettingsFile(
      path,
      [&settings](IniFile& file) {
        for (const SettingKey& key : SettingKeys())
          if (key.written && (settings.labelFormatStored || !IsLabelFormatKey(key)))
            file.Set(key.section, key.writtenName, key.text(settings));
      },
      ui);
}

bool WriteSettingsKey(const std::string& path, const std::string& section, const std::string& key,
                      const std::string& value, UserInterface& ui) {
  return UpdateSettingsFile(path, [&](IniFile& file) { file.Set(section, key, value); }, ui);
}

bool SectionsStored(const std::string& path) {
  const IniFile file = IniFile::Load(path);
  return file.Get("CROSS_SECTIONS", "COLUMN").has_value() || file.Get("CROSS_SECTIONS", "ROW").has_value();
}

void ClampSectionsToGrid(Settings& settings, int ncol, int nrow) {
  auto clamp = [](std::int16_t& position, int count) {
    if (position < 1) position = 1;
    if (count >= 1 && position > count) position = static_cast<std::int16_t>(std::min(count, 32767));
  };
  clamp(settings.sectionColumn, ncol);
  clamp(settings.sectionRow, nrow);
}

void ReadTimeSettings(const std::string& path, int modelTimeUnit, TrackingSettings& tracking) {
  const IniFile file = IniFile::Load(path);
  ReadKey(file, TimeKeys(modelTimeUnit, modelTimeUnit).front(), tracking);
  const auto keys = TimeKeys(modelTimeUnit, tracking.TimeUnit);
  for (auto key = keys.begin() + 1; key != keys.end(); ++key) ReadKey(file, *key, tracking);
}

bool WriteTimeSettings(const std::string& path, const TrackingSettings& tracking, UserInterface& ui) {
  return UpdateSettingsFile(
      path,
      [&tracking](IniFile& file) {
        for (const TimeKey& key : TimeKeys(tracking.TimeUnit, tracking.TimeUnit))
          file.Set(key.section, key.writtenName, key.text(tracking));
      },
      ui);
}

}  // namespace kestra
