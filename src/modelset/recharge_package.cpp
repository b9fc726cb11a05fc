#include "modelset/recharge_package.h"

#include <optional>

#include "core/number_format.h"
#include "core/text_reader.h"
#include "modelset/array_record.h"

namespace kestra {
namespace {

enum RechargeOption { kTopLayer = 1, kLayerArray = 2, kUppermostActive = 3 };

struct RechargeArrays {
  int option = kTopLayer;
  LayerGrid rates;
  LayerGrid layers;
};

// Reads the periods 1..period; arrays not given again stay from before.
bool ReadPeriods(TextReader& text, const std::string& path, int period, RechargeArrays& arrays) {
  for (int p = 1; p <= period; ++p) {
    int inrech = -1, inirch = -1;
    if (!text.NextInt(inrech) || !text.NextInt(inirch)) return false;
    text.SkipRestOfLine();
    const int ncol = arrays.rates.ncol, nrow = arrays.rates.nrow;
    if (inrech >= 0 && ReadArrayRecord(text, path, arrays.rates, ncol, nrow) == ArrayRecordResult::kFailed)
      return false;
    if (inirch >= 0 && ReadArrayRecord(text, path, arrays.layers, ncol, nrow) == ArrayRecordResult::kFailed)
      return false;
  }
  return true;
}

int RechargeLayer(const ModelState& state, const RechargeArrays& arrays, int column, int row) {
  switch (arrays.option) {
    case kTopLayer: return 1;
    case kLayerArray: return RoundToInt16(arrays.layers(column, row)).value_or(0);
    case kUppermostActive:
      for (int k = 1; k <= state.NLAY; ++k)
        if (state.IBOUND(column, row, k) != 0) return k;
      return 0;
    default: return 0;
  }
}

void PlaceRecharge(ModelState& state, const RechargeArrays& arrays) {
  state.QRECH.Dimension(state.Shape());
  for (int i = 1; i <= state.NROW; ++i)
    for (int j = 1; j <= state.NCOL; ++j) {
      const int layer = RechargeLayer(state, arrays, j, i);
      // MODFLOW recharges variable-head cells only, so a fixed-head or
      // inactive cell takes none, as in the budget term of a model file set.
      if (layer >= 1 && layer <= state.NLAY && state.IBOUND(j, i, layer) > 0) state.QRECH(j, i, layer) = arrays.rates(j, i) * state.DELR[j] * state.DELC[i];
    }
}

}  // namespace

bool ReadRechargePackage(const std::string& path, ModelState& state) {
  RechargeArrays arrays;
  arrays.rates.Dimension(state.NCOL, state.NROW);
  arrays.layers.Dimension(state.NCOL, state.NROW);
  std::optional<TextReader> text;
  bool complete = TextReader::FromFile(path, text);
  if (complete) {
    text->NextInt(arrays.option);
    text->SkipRestOfLine();
    complete = ReadPeriods(*text, path, state.CurrentPeriod, arrays);
  }
  PlaceRecharge(state, arrays);
  return complete;
}

}  // namespace kestra
