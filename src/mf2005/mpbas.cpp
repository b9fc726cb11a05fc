#include "mf2005/packages.h"

#include "core/text_reader.h"

namespace kestra {
namespace {

// A porosity of 0 would divide by zero in every velocity of the cell.
constexpr float kSmallestPorosity = 1.0E-20f;

// HNOFLO and HDRY and LAYTYP (MODPATH's own copies of what the MODFLOW files
// give) are passed over; the default IFACE of each budget label is kept.
bool ReadHeader(TextFile& file, int nlay, std::vector<DefaultFace>& defaultFaces, std::string& problem) {
  std::vector<double> values;
  std::vector<int> count;
  std::vector<int> iface;
  if (!ReadFreeValues(file, 2, values, problem) || !ReadFreeIntegers(file, 1, count, problem)) return false;
  defaultFaces.clear();
  for (int n = 0; n < count[0]; ++n) {
    std::string label;
    if (!NextLine(file, label) || !ReadFreeIntegers(file, 1, iface, problem)) {
      if (problem.empty()) problem = LineProblem(file, "the file ends in the default IFACE list.");
      return false;
    }
    defaultFaces.push_back({UpperCase(Trimmed(label)), iface[0]});
  }
  std::vector<int> laytyp;
  return ReadFreeIntegers(file, static_cast<std::size_t>(nlay), laytyp, problem);
}

}  // namespace

bool ReadMpbasPorosity(PackageInput& input, Mf2005Files& files, Mf2005Model& model, std::string& problem) {
  SkipCommentLines(input.file);
  if (!ReadHeader(input.file, model.NLAY, model.defaultFaces, problem)) return false;
  std::vector<int> codes;
  for (int k = 1; k <= model.NLAY; ++k)
    if (!ReadIntegerArray(input, files, model.NCOL, model.NROW, codes, problem)) return false;
  model.POROSITY.Dimension(model.Shape());
  std::vector<float> values;
  for (int k = 1; k <= model.NLAY; ++k) {
    if (!ReadRealArray(input, files, model.NCOL, model.NROW, values, problem)) return false;
    for (float& porosity : values)
      if (porosity == 0) porosity = kSmallestPorosity;
    PutLayerValues(values, k, model.POROSITY);
  }
  return true;
}

}  // namespace kestra
