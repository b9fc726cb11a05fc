// Array control records and their values, as a MODFLOW-2005 package holds
// them (real and integer arrays one after the other) and as the
// pre-processor's MAIN file holds them.
#include <optional>

#include "fuzz_support.h"
#include "mf2005/array.h"
#include "modelset/array_record.h"

namespace {

constexpr int kColumns = 7;
constexpr int kRows = 3;
constexpr int kArrays = 4;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("arrays.txt", data, size);
  PackageInput input;
  input.unit = 11;
  if (!LoadTextFile(path, input.file)) return 0;
  Mf2005Files files;
  files.nameFile.path = path;
  files.nameFile.entries.push_back({"DIS", 11, path});
  files.nameFile.entries.push_back({"DATA", 12, path});
  files.nameFile.entries.push_back({"DATA(BINARY)", 13, path});
  std::string problem;
  std::vector<float> reals;
  std::vector<int> integers;
  for (int n = 0; n < kArrays; ++n) {
    const bool read = n % 2 == 0 ? ReadRealArray(input, files, kColumns, kRows, reals, problem)
                                 : ReadIntegerArray(input, files, kColumns, kRows, integers, problem);
    if (!read) break;
  }
  std::optional<TextReader> reader;
  if (!TextReader::FromFile(path, reader)) return 0;
  LayerGrid grid;
  for (int n = 0; n < kArrays; ++n)
    if (ReadArrayRecord(*reader, path, grid, kColumns, kRows) == ArrayRecordResult::kFailed) break;
  return 0;
}
