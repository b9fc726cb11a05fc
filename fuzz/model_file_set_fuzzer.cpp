// The model file set: a small real set with one of its files (the first byte
// of the input chooses which) replaced by the rest of the input, opened as
// File, Open Model opens it.
#include <filesystem>
#include <iterator>

#include "fuzz_support.h"
#include "session/open_model.h"

namespace {

constexpr const char* kRun = "uniform1/lahey";
constexpr const char* kFiles[] = {"uniform1.mdl", "uniform1.RCD", "uniform1.X",   "uniform1.Y",   "uniform1.TOP",
                                  "uniform1.BOT", "uniform1.IBD", "uniform1.POR", "uniform1.L",   "uniform1.lyp",
                                  "uniform1.ini", "uniform1.TRA", "HEADS.DAT",    "BUDGET.DAT"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  if (size == 0) return 0;
  const std::filesystem::path folder = fuzz::CopyTestRun(kRun, "set");
  const std::string replaced = kFiles[data[0] % std::size(kFiles)];
  fuzz::WriteInput("set/" + replaced, data + 1, size - 1);
  Session session;
  fuzz::SilentInterface ui;
  NoViews views;
  OpenModelFile((folder / "uniform1.mdl").string(), session, ui, views);
  // The next input starts from the real set again.
  fuzz::CopyFile((std::filesystem::path(KESTRA_TESTDATA_DIR) / kRun / replaced).string(),
                 (folder / replaced).string());
  return 0;
}
