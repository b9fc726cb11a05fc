#include "mf2005/packages.h"

#include "core/number_format.h"
#include "mf2005/record.h"

namespace kestra {
namespace {

// Our layer type of an LPF or UPW layer: LAYTYP 0 is confined; any other
// value is convertible, whose saturated thickness is limited by the top
// (a negative LAYTYP only changes how MODFLOW starts the layer).
std::int16_t LayconOfLaytyp(int laytyp) { return laytyp == 0 ? 0 : 3; }

bool ReadLayerPropertyFlow(PackageInput& input, Mf2005Model& model, int& budgetUnit, std::string& problem) {
  // ILPFCB (IUPWCB), HDRY, NPLPF (NPUPW); the rest of the line are options.
  std::vector<double> header;
  if (!ReadLineNumbers(input.file, true, "", 3, header, problem) ||
      !WholeNumber(input.file, header[0], budgetUnit, problem))
    return false;
  model.HDRY = static_cast<float>(header[1]);
  std::vector<int> laytyp;
  if (!ReadFreeIntegers(input.file, static_cast<std::size_t>(model.NLAY), laytyp, problem)) return false;
  for (int k = 1; k <= model.NLAY; ++k) model.LAYCON[k] = LayconOfLaytyp(laytyp[k - 1]);
  return true;
}

bool ReadBlockCenteredFlow(PackageInput& input, bool freeFormat, Mf2005Model& model, int& budgetUnit,
                           std::string& problem) {
  // IBCFCB, HDRY, IWDFLG, WETFCT, IWETIT, IHDWET.
  std::vector<double> header;
  if (!ReadPackageValues(input.file, freeFormat, "(I10,F10.0,I10,F10.0,2I10)", 6, header, problem) ||
      !WholeNumber(input.file, header[0], budgetUnit, problem))
    return false;
  model.HDRY = static_cast<float>(header[1]);
  std::vector<double> ltype;
  if (!ReadPackageValues(input.file, freeFormat, "(40I2)", static_cast<std::size_t>(model.NLAY), ltype, problem))
    return false;
  for (int k = 1; k <= model.NLAY; ++k) {
    // Ltype = 10 * interblock-transmissivity method + layer type.
    int code = 0;
    if (!WholeNumber(input.file, ltype[k - 1], code, problem)) return false;
    const int laycon = code % 10;
    if (code < 0 || laycon > 3) {
      problem = LineProblem(input.file, "the layer type" + NumberText(code) + " of layer" + NumberText(k) +
                                            " is not one of BCF's.");
      return false;
    }
    model.LAYCON[k] = static_cast<std::int16_t>(laycon);
  }
  return true;
}

}  // namespace

bool ReadFlowPackage(const std::string& fileType, PackageInput& input, bool freeFormat, Mf2005Model& model,
                     int& budgetUnit, std::string& problem) {
  SkipCommentLines(input.file);
  model.LAYCON.assign(model.NLAY + 1, 0);
  if (fileType == "BCF6") return ReadBlockCenteredFlow(input, freeFormat, model, budgetUnit, problem);
  return ReadLayerPropertyFlow(input, model, budgetUnit, problem);
}

}  // namespace kestra
