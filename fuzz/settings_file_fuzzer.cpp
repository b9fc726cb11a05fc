// The settings file of a model: read, written back over itself and read again.
#include "fuzz_support.h"
#include "settings/settings_file.h"

namespace {

constexpr int kDaysUnit = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("model.ini", data, size);
  fuzz::SilentInterface ui;
  Settings settings;
  TrackingSettings tracking;
  ReadSettings(path, settings, ui);
  ReadTimeSettings(path, kDaysUnit, tracking);
  ClampSectionsToGrid(settings, 5, 4);
  if (!WriteSettings(path, settings, ui) || !WriteTimeSettings(path, tracking, ui)) return 0;
  Settings again;
  ReadSettings(path, again, ui);
  return 0;
}
