#include <fstream>

#include "cli/commands.h"
#include "cli/single_path_arguments.h"
#include "core/model_paths.h"
#include "modelset/stress_period_file.h"
#include "core/number_format.h"
#include "settings/layer_porosity.h"
#include "settings/settings_file.h"
#include "settings/settings_keys.h"

namespace kestra::cli {

int SettingsCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  constexpr const char* kUsage =
      "usage: kestra-cli settings FILE.ini\n"
      "Prints every setting as SECTION/Key=value in the order of the file, defaults filled in.\n";
  if (const auto status = AnswerOtherThanOnePath("settings", args, kUsage, out, err)) return *status;
  const std::string path = AbsolutePath(args[0]);
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
