#include "mf2005/packages.h"

#include "core/number_format.h"
#include "mf2005/record.h"

namespace kestra {
namespace {

// NRCHOP or NEVTOP: 1 top layer, 2 the layer of the layer array, 3 the
// highest active cell; and the budget unit after it.
bool ReadOption(PackageInput& input, bool freeFormat, int& option, int& budgetUnit, std::string& problem) {
  SkipCommentLines(input.file);
  if (!SkipEmptyParameterLine(input.file, problem)) return false;
  std::vector<double> numbers;
  if (!ReadLineNumbers(input.file, freeFormat, "(2I10)", 2, numbers, problem) ||
      !WholeNumber(input.file, numbers[0], option, problem) || !WholeNumber(input.file, numbers[1], budgetUnit, problem))
    return false;
  if (option < 1 || option > 3) {
    problem = LineProblem(input.file, "the option" + NumberText(option) + " must be 1, 2 or 3.");
    return false;
  }
  return true;
}

bool ReadFlags(TextFile& file, bool freeFormat, std::size_t count, std::vector<int>& flags, std::string& problem) {
  std::vector<double> numbers;
  if (!ReadLineNumbers(file, freeFormat, "(4I10)", count, numbers, problem)) return false;
  flags.resize(count);
  for (std::size_t n = 0; n < count; ++n)
    if (!WholeNumber(file, numbers[n], flags[n], problem)) return false;
  return true;
}

bool CheckLayers(const TextFile& file, const std::vector<int>& layers, int nlay, std::string& problem) {
  for (int layer : layers) {
    if (layer < 1 || layer > nlay) {
      problem = LineProblem(file, "the layer" + NumberText(layer) + " of the layer array is not in the grid.");
      return false;
    }
  }
  return true;
}

}  // namespace

int ArealLayer(const CellArray<std::int16_t>& IBOUND, int option, int layerArrayValue, int column, int row) {
  int layer = option == 1 ? 1 : layerArrayValue;
  if (option == 3) {
    layer = 0;
    for (int k = 1; k <= IBOUND.shape.nlay && layer == 0; ++k)
      if (IBOUND(column, row, k) != 0) layer = k;
  }
  return layer > 0 && IBOUND(column, row, layer) > 0 ? layer : 0;
}

namespace {

// Rates (length per time) to flows (volume per time), in MODFLOW's 32-bit
// order RECH * DELR * DELC.
RechargePeriod RechargeFlows(const Mf2005Model& model, int option, const std::vector<float>& rates,
                             const std::vector<int>& layers) {
  RechargePeriod period;
  period.flow.assign(rates.size(), 0.0f);
  period.layer.assign(rates.size(), 0);
  for (int i = 1; i <= model.NROW; ++i) {
    for (int j = 1; j <= model.NCOL; ++j) {
      const std::size_t n = static_cast<std::size_t>(i - 1) * model.NCOL + j - 1;
      period.layer[n] = ArealLayer(model.IBOUND, option, layers[n], j, i);
      if (period.layer[n] > 0) period.flow[n] = rates[n] * model.DELR[j] * model.DELC[i];
    }
  }
  return period;
}

// The layer of every column and row for option 1 or 2; option 3 finds it
// when the flows are placed, from the IBOUND of the time.
EvapotranspirationPeriod EvapotranspirationOf(const Mf2005Model& model, int option, const std::vector<float>& surface,
                                              const std::vector<float>& rates, const std::vector<float>& depths,
                                              const std::vector<int>& layers) {
  EvapotranspirationPeriod period;
  period.surface = surface;
  period.extinctionDepth = depths;
  period.maxFlow.assign(rates.size(), 0.0f);
  period.layer.assign(rates.size(), 0);
  for (int i = 1; i <= model.NROW; ++i) {
    for (int j = 1; j <= model.NCOL; ++j) {
      const std::size_t n = static_cast<std::size_t>(i - 1) * model.NCOL + j - 1;
      period.maxFlow[n] = rates[n] * model.DELR[j] * model.DELC[i];
      period.layer[n] = option == 1 ? 1 : option == 2 ? layers[n] : 0;
    }
  }
  return period;
}

}  // namespace

bool ReadRecharge(PackageInput& input, Mf2005Files& files, bool freeFormat, Mf2005Model& model,
                  std::string& problem) {
  int option = 0;
  int budgetUnit = 0;
  if (!ReadOption(input, freeFormat, option, budgetUnit, problem)) return false;
  const std::size_t cells = static_cast<std::size_t>(model.NCOL) * model.NROW;
  std::vector<float> rates(cells, 0.0f);
  std::vector<int> layers(cells, 1);
  model.recharge.assign(model.stressPeriods.NPER + 1, {});
  for (int period = 1; period <= model.stressPeriods.NPER; ++period) {
    std::vector<int> flags;  // INRECH and, with option 2, INIRCH; < 0 keeps the previous array
    if (!ReadFlags(input.file, freeFormat, option == 2 ? 2 : 1, flags, problem)) return false;
    if (flags[0] >= 0 && !ReadRealArray(input, files, model.NCOL, model.NROW, rates, problem)) return false;
    if (option == 2 && flags[1] >= 0 &&
        !(ReadIntegerArray(input, files, model.NCOL, model.NROW, layers, problem) &&
          CheckLayers(input.file, layers, model.NLAY, problem)))
      return false;
    model.recharge[period] = RechargeFlows(model, option, rates, layers);
  }
  return true;
}

bool ReadEvapotranspiration(PackageInput& input, Mf2005Files& files, bool freeFormat, Mf2005Model& model,
                            int& budgetUnit, std::string& problem) {
  int option = 0;
  if (!ReadOption(input, freeFormat, option, budgetUnit, problem)) return false;
  const std::size_t cells = static_cast<std::size_t>(model.NCOL) * model.NROW;
  // SURF, EVTR and EXDP, each kept from the period before when its flag is < 0.
  std::vector<float> arrays[3] = {std::vector<float>(cells, 0.0f), std::vector<float>(cells, 0.0f),
                                  std::vector<float>(cells, 0.0f)};
  std::vector<int> layers(cells, 1);
  model.evapotranspiration.assign(model.stressPeriods.NPER + 1, {});
  for (int period = 1; period <= model.stressPeriods.NPER; ++period) {
    // INSURF, INEVTR, INEXDP and, with option 2, INIEVT; each >= 0 is followed by its array.
    std::vector<int> flags;
    if (!ReadFlags(input.file, freeFormat, option == 2 ? 4 : 3, flags, problem)) return false;
    for (int n = 0; n < 3; ++n)
      if (flags[n] >= 0 && !ReadRealArray(input, files, model.NCOL, model.NROW, arrays[n], problem)) return false;
    if (option == 2 && flags[3] >= 0 &&
        !(ReadIntegerArray(input, files, model.NCOL, model.NROW, layers, problem) &&
          CheckLayers(input.file, layers, model.NLAY, problem)))
      return false;
    model.evapotranspiration[period] = EvapotranspirationOf(model, option, arrays[0], arrays[1], arrays[2], layers);
  }
  return true;
}

}  // namespace kestra
