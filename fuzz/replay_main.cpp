// Runs a fuzz harness once over every file of the folders given, so that the
// test suite replays each corpus, crashes found and fixed included.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
  int inputs = 0;
  for (int n = 1; n < argc; ++n) {
    for (const auto& entry : std::filesystem::directory_iterator(argv[n])) {
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++inputs;
    }
  }
  std::cout << inputs << " inputs replayed\n";
  // A corpus that is missing or empty replays nothing: that is a failure.
  return inputs > 0 ? 0 : 1;
}
