// The name-file import: a real MODFLOW-2005 model, or the same model as the
// pre-processor's name file with its MAIN file, with one of its files (the
// first byte of the input chooses which) replaced by the rest of the input,
// imported as File, Import Model imports it.
#include <filesystem>
#include <iterator>

#include "fuzz_support.h"
#include "session/open_model.h"

namespace {

struct ModelFile {
  const char* run;
  const char* folder;
  const char* name;
};

constexpr ModelFile kFiles[] = {
    {"mixed3d/modflow", "mf2005", "mixed3d.nam"},   {"mixed3d/modflow", "mf2005", "mixed3d.dis"},
    {"mixed3d/modflow", "mf2005", "mixed3d.bas"},   {"mixed3d/modflow", "mf2005", "mixed3d.lpf"},
    {"mixed3d/modflow", "mf2005", "mixed3d.oc"},    {"mixed3d/modflow", "mf2005", "mixed3d.wel"},
    {"mixed3d/modflow", "mf2005", "mixed3d.riv"},   {"mixed3d/modflow", "mf2005", "mixed3d.drn"},
    {"mixed3d/modflow", "mf2005", "mixed3d.ghb"},   {"mixed3d/modflow", "mf2005", "mixed3d.rch"},
    {"mixed3d/modflow", "mf2005", "mixed3d.evt"},   {"mixed3d/modflow", "mf2005", "mixed3d.mpbas"},
    {"mixed3d/namefile", "preprocessor", "mixed3d.nam"}, {"mixed3d/namefile", "preprocessor", "mixed3d.main"},
    {"mixed3d/namefile", "preprocessor", "mixed3d.wel"}, {"mixed3d/namefile", "preprocessor", "mixed3d.rch"},
    {"mixed3d/namefile", "preprocessor", "mixed3d.evt"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  if (size == 0) return 0;
  const ModelFile& replaced = kFiles[data[0] % std::size(kFiles)];
  const std::filesystem::path folder = fuzz::CopyTestRun(replaced.run, replaced.folder);
  fuzz::WriteInput(std::string(replaced.folder) + "/" + replaced.name, data + 1, size - 1);
  Session session;
  fuzz::SilentInterface ui;
  NoViews views;
  ImportNameFile((folder / "mixed3d.nam").string(), session, ui, views);
  // The next input starts from the real model again.
  fuzz::CopyFile((std::filesystem::path(KESTRA_TESTDATA_DIR) / replaced.run / replaced.name).string(),
                 (folder / replaced.name).string());
  return 0;
}
