#include <filesystem>
#include <fstream>
#include <string>

#include "cli/commands.h"
#include "cli/single_path_arguments.h"
#include "core/model_paths.h"
#include "modelset/stress_period_file.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "settings/layer_porosity.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace kestra::cli {
namespace {

// Why `path` cannot be a settings file; empty when it can, or is missing
// (the defaults then hold).
std::string NotASettingsFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(std::filesystem::status(path, error))) return {};
  return TextInputProblem(path, "a settings file");
}

}  // namespace

int SettingsCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  constexpr const char* kUsage =
      "usage: kestra-cli settings FILE.ini\n"
      "Prints every setting as SECTION/Key=value in the order of the file, defaults filled in.\n"
      "Exit status: 0 printed (for a missing file the defaults, said on the error stream), 1 the\n"
      "path is a directory, another kind of file or binary data, 2 wrong arguments.\n";
  if (const auto status = AnswerOtherThanOnePath("settings", args, kUsage, out, err)) return *status;
  const std::string path = AbsolutePath(args[0]);
  if (const std::string problem = NotASettingsFile(path); !problem.empty()) {
    err << "kestra-cli settings: " << problem << "\n";
    return 1;
  }
  SilentInterface ui;
  Settings settings;
  ReadSettings(path, settings, ui);
  for (const SettingKey& key : SettingKeys()) out << key.section << "/" << key.key << "=" << key.text(settings) << "\n";

  // The model's time unit comes from the tracking settings file beside the
  // settings file, as when the model is opened.
  StressPeriods periods;
  if (path.size() > 4) ReadStressPeriodFile(path.substr(0, path.size() - 4) + ".TRA", periods, ui);
  const int modelTimeUnit = periods.timeUnit;
  TrackingSettings tracking;
  ReadTimeSettings(path, modelTimeUnit, tracking);
  for (const TimeKey& key : TimeKeys(modelTimeUnit, tracking.TimeUnit))
    out << key.section << "/" << key.key << "=" << key.text(tracking) << "\n";
  for (const auto& [layer, porosity] : ReadLayerPorosity(path).byLayer)
    out << "POROSITY/Layer" << layer << "=" << GeneralNumberText(porosity) << "\n";
  if (!std::ifstream(path)) err << "kestra-cli: no settings file " << path << "; these are the defaults\n";
  return 0;
}

}  // namespace kestra::cli
