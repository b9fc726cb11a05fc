#include "mf2005/packages.h"

#include <cmath>

#include "core/grid_size.h"
#include "core/number_format.h"
#include "mf2005/record.h"
#include "settings/tracking_settings.h"

namespace kestra {
namespace {

// Dimensions are 16-bit in the model state.
constexpr int kMaxDimension = 32767;

bool CheckDimensions(const TextFile& file, const std::vector<double>& numbers, std::string& problem) {
  for (int n = 0; n < 4; ++n) {
    // Written so that NaN fails too, before any conversion to int.
    if (!(numbers[n] >= 1 && numbers[n] <= kMaxDimension) || numbers[n] != std::floor(numbers[n])) {
      problem = LineProblem(file, "NLAY, NROW, NCOL and NPER must lie between 1 and" + NumberText(kMaxDimension) + ".");
      return false;
    }
  }
  if (!GridSizeFits(numbers[2], numbers[1], numbers[0])) {
    problem = LineProblem(file, "the grid must have " + GridSizeLimitText() + ".");
    return false;
  }
  return true;
}

bool ReadWidths(PackageInput& input, Mf2005Files& files, int count, std::vector<float>& widths, std::string& problem) {
  std::vector<float> values;
  if (!ReadRealArray(input, files, count, 1, values, problem)) return false;
  for (float width : values) {
    // A width of 0 would divide by zero in every velocity of its column or row.
    if (!(width > 0)) {
      problem = LineProblem(input.file, "column and row widths must be greater than 0.");
      return false;
    }
  }
  widths.assign(1, 0.0f);
  widths.insert(widths.end(), values.begin(), values.end());
  return true;
}

bool ReadElevations(PackageInput& input, Mf2005Files& files, Mf2005Model& model, std::string& problem) {
  const GridShape shape = model.Shape();
  model.TOP.Dimension(shape);
  model.BOT.Dimension(shape);
  std::vector<float> values;
  if (!ReadRealArray(input, files, model.NCOL, model.NROW, values, problem)) return false;
  PutLayerValues(values, 1, model.TOP);
  for (int k = 1; k <= model.NLAY; ++k) {
    if (!ReadRealArray(input, files, model.NCOL, model.NROW, values, problem)) return false;
    PutLayerValues(values, k, model.BOT);
    // Without confining beds a layer's top is the bottom of the layer above.
    if (k < model.NLAY) PutLayerValues(values, k + 1, model.TOP);
  }
  return true;
}

bool ReadLaycbd(TextFile& file, int nlay, std::string& problem) {
  std::vector<int> laycbd;
  if (!ReadFreeIntegers(file, static_cast<std::size_t>(nlay), laycbd, problem)) return false;
  // MODFLOW ignores LAYCBD of the bottom layer.
  for (int k = 0; k + 1 < nlay; ++k) {
    if (laycbd[k] != 0) {
      problem = LineProblem(file, "quasi-3-D confining beds (LAYCBD not 0) are not supported.");
      return false;
    }
  }
  return true;
}

bool ReadStressPeriod(TextFile& file, int period, Mf2005Model& model, std::string& problem) {
  std::string line;
  if (!NextLine(file, line)) {
    problem = LineProblem(file, "the file ends before the stress period" + NumberText(period) + ".");
    return false;
  }
  const auto words = SplitWords(line);
  double perlen = 0;
  double tsmult = 0;
  int nstp = 0;
  const std::string kind = words.size() >= 4 ? UpperCase(words[3]) : std::string();
  if (words.size() < 4 || !ParseReal(words[0], perlen) || !ParseInteger(words[1], nstp) ||
      !ParseReal(words[2], tsmult) || (kind != "SS" && kind != "TR")) {
    problem = LineProblem(file, "PERLEN, NSTP, TSMULT and SS or TR are needed.");
    return false;
  }
  if (nstp < 1 || nstp > kMaxDimension) {
    problem = LineProblem(file, "NSTP must lie between 1 and" + NumberText(kMaxDimension) + ".");
    return false;
  }
  // Kept as 32-bit values: a huge length is infinite there.
  if (!std::isfinite(static_cast<float>(perlen)) || !std::isfinite(static_cast<float>(tsmult))) {
    problem = LineProblem(file, "PERLEN and TSMULT must be finite numbers.");
    return false;
  }
  model.stressPeriods.PERLEN[period] = static_cast<float>(perlen);
  model.stressPeriods.NSTP[period] = nstp;
  model.stressPeriods.TSMULT[period] = static_cast<float>(tsmult);
  model.steadyState[period] = kind == "SS";
  return true;
}

void SetTimeUnit(int itmuni, StressPeriods& periods) {
  // MODFLOW codes its time units as we do; it takes any other code as undefined.
  periods.timeUnit = static_cast<std::int16_t>(itmuni >= 0 && itmuni < kTimeUnitCount ? itmuni : 0);
}

}  // namespace

bool ReadDiscretization(PackageInput& input, Mf2005Files& files, Mf2005Model& model, std::string& problem) {
  SkipCommentLines(input.file);
  std::vector<double> numbers;
  if (!ReadLineNumbers(input.file, true, "", 6, numbers, problem) ||
      !CheckDimensions(input.file, numbers, problem))
    return false;
  int itmuni = 0;
  if (!WholeNumber(input.file, numbers[4], itmuni, problem)) return false;
  // MODFLOW never uses LENUNI; a code it would not know leaves the unit undefined.
  model.lengthUnit = numbers[5] == std::floor(numbers[5]) && std::abs(numbers[5]) < 10
                         ? LengthUnitFromCode(static_cast<int>(numbers[5]))
                         : LengthUnit::Undefined;
  model.NLAY = static_cast<int>(numbers[0]);
  model.NROW = static_cast<int>(numbers[1]);
  model.NCOL = static_cast<int>(numbers[2]);
  const int nper = static_cast<int>(numbers[3]);
  model.stressPeriods.NPER = nper;
  SetTimeUnit(itmuni, model.stressPeriods);
  model.stressPeriods.PERLEN.assign(nper + 1, 0.0f);
  model.stressPeriods.NSTP.assign(nper + 1, 0);
  model.stressPeriods.TSMULT.assign(nper + 1, 0.0f);
  model.steadyState.assign(nper + 1, false);
  if (!ReadLaycbd(input.file, model.NLAY, problem) || !ReadWidths(input, files, model.NCOL, model.DELR, problem) ||
      !ReadWidths(input, files, model.NROW, model.DELC, problem) || !ReadElevations(input, files, model, problem))
    return false;
  for (int period = 1; period <= nper; ++period)
    if (!ReadStressPeriod(input.file, period, model, problem)) return false;
  return true;
}

}  // namespace kestra
