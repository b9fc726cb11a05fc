#include "mf2005/packages.h"

#include <cstdint>
#include <limits>

#include "core/number_format.h"
#include "mf2005/record.h"

namespace kestra {
namespace {

bool PutBoundaryCodes(const TextFile& file, const std::vector<int>& codes, int layer, Mf2005Model& model,
                      std::string& problem) {
  for (int i = 1; i <= model.NROW; ++i) {
    for (int j = 1; j <= model.NCOL; ++j) {
      const int code = codes[static_cast<std::size_t>(i - 1) * model.NCOL + j - 1];
      if (code < std::numeric_limits<std::int16_t>::min() || code > std::numeric_limits<std::int16_t>::max()) {
        problem = LineProblem(file, "the IBOUND value" + NumberText(code) + " is out of range.");
        return false;
      }
      model.IBOUND(j, i, layer) = static_cast<std::int16_t>(code);
    }
  }
  return true;
}

// A cross-section model (option XSECTION, one row) gives IBOUND as one
// array of NCOL columns by NLAY layers.
bool ReadSectionBoundary(PackageInput& input, Mf2005Files& files, Mf2005Model& model, std::string& problem) {
  if (model.NROW != 1) {
    problem = FileProblem(input.file, "the option XSECTION needs a grid of one row.");
    return false;
  }
  std::vector<int> codes;
  if (!ReadIntegerArray(input, files, model.NCOL, model.NLAY, codes, problem)) return false;
  for (int k = 1; k <= model.NLAY; ++k) {
    const std::vector<int> layer(codes.begin() + static_cast<std::ptrdiff_t>(k - 1) * model.NCOL,
                                 codes.begin() + static_cast<std::ptrdiff_t>(k) * model.NCOL);
    if (!PutBoundaryCodes(input.file, layer, k, model, problem)) return false;
  }
  return true;
}

}  // namespace

bool ReadBasic(PackageInput& input, Mf2005Files& files, Mf2005Model& model, bool& freeFormat, std::string& problem) {
  SkipCommentLines(input.file);
  std::string options;
  if (!NextLine(input.file, options)) {
    problem = FileProblem(input.file, "the options line is missing.");
    return false;
  }
  bool crossSection = false;
  freeFormat = false;
  for (const auto& word : SplitWords(options)) {
    freeFormat = freeFormat || UpperCase(word) == "FREE";
    crossSection = crossSection || UpperCase(word) == "XSECTION";
  }
  model.IBOUND.Dimension(model.Shape());
  if (crossSection) {
    if (!ReadSectionBoundary(input, files, model, problem)) return false;
  } else {
    std::vector<int> codes;
    for (int k = 1; k <= model.NLAY; ++k)
      if (!ReadIntegerArray(input, files, model.NCOL, model.NROW, codes, problem) ||
          !PutBoundaryCodes(input.file, codes, k, model, problem))
        return false;
  }
  std::vector<double> hnoflo;
  if (!ReadPackageValues(input.file, freeFormat, "(F10.0)", 1, hnoflo, problem)) return false;
  model.HNOFLO = static_cast<float>(hnoflo[0]);
  return true;
}

}  // namespace kestra
