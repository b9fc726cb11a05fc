// Fortran formats: the first line of the input is a format, the lines after
// it the records it reads.
#include <string>

#include "mf2005/fortran_format.h"

namespace {

constexpr std::size_t kValues = 40;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto lineEnd = text.find('\n');
  FortranFormat format;
  if (!ParseFortranFormat(text.substr(0, lineEnd), format)) return 0;
  TextFile records{"records", {}, 0};
  for (std::size_t start = lineEnd; start != std::string::npos && start < text.size();) {
    const auto end = text.find('\n', start + 1);
    records.lines.push_back(text.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1));
    start = end;
  }
  std::vector<double> values;
  std::string problem;
  ReadFormattedValues(records, format, kValues, values, problem);
  return 0;
}
