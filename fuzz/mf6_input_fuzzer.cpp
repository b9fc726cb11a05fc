// MODFLOW 6 text input: the input replaces one package file of the first
// USGS example in turn (simulation and model name files, TDIS, DIS, NPF,
// OC, WEL, RIV, RCH, the MODPATH basic data file) and the model is read.
#include <filesystem>

#include "fuzz_support.h"
#include "mf6/model.h"

namespace {

constexpr const char* kReplaced[] = {"mfsim.nam",    "ex01_mf6.nam", "ex01_mf6.tdis", "ex01_mf6.dis",  "ex01_mf6.npf",
                                     "ex01_mf6.oc",  "ex01_mf6.wel", "ex01_mf6.riv",  "ex01_mf6.mpbas"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string folder = fuzz::CopyTestRun("usgs/ex01_mf6", "ex01_mf6_input");
  // The DIS file is read only without the binary grid file.
  std::filesystem::remove(folder + "/ex01_mf6.dis.grb");
  const std::string choice = size > 0 ? kReplaced[data[0] % std::size(kReplaced)] : kReplaced[0];
  const std::string path = folder + "/" + choice;
  const std::string original = folder + "/original";
  fuzz::CopyFile(path, original);
  fuzz::WriteInput("input", data, size);
  fuzz::CopyFile(fuzz::WorkFolder() + "/input", path);
  Mf6Model model;
  std::string problem;
  ReadMf6Model(folder + "/mfsim.nam", {}, {}, model, problem);
  fuzz::CopyFile(original, path);
  return 0;
}
