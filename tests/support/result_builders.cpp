#include "support/result_builders.h"

#include <algorithm>
#include <fstream>

#include <gtest/gtest.h>

#include "modelset/model_file_set.h"
#include "support/temp_dir.h"

namespace kestra::test {

std::vector<float> LayerPattern(int ncol, int nrow, float base) {
  std::vector<float> values;
  for (int row = 1; row <= nrow; ++row)
    for (int column = 1; column <= ncol; ++column) values.push_back(base + column + 100.0f * row);
  return values;
}

std::vector<float> GridPattern(int ncol, int nrow, int nlay, float base) {
  std::vector<float> values;
  for (int layer = 1; layer <= nlay; ++layer) {
    const auto layerValues = LayerPattern(ncol, nrow, base + 10000.0f * layer);
    values.insert(values.end(), layerValues.begin(), layerValues.end());
  }
  return values;
}

LayerResultHeader LayerHeader(int kstp, int kper, int layer, int ncol, int nrow, const std::string& text) {
  LayerResultHeader header;
  header.KSTP = kstp;
  header.KPER = kper;
  header.PERTIM = kstp;
  header.TOTIM = kper * 100.0 + kstp;
  header.TEXT = std::string(16 - text.size(), ' ') + text;
  header.NCOL = ncol;
  header.NROW = nrow;
  header.ILAY = layer;
  return header;
}

BudgetHeader BudgetTermHeader(int kstp, int kper, const std::string& text, int ncol, int nrow, int nlay) {
  BudgetHeader header;
  header.KSTP = kstp;
  header.KPER = kper;
  header.TEXT = std::string(16 - text.size(), ' ') + text;
  header.NCOL = ncol;
  header.NROW = nrow;
  header.NLAY = nlay;
  return header;
}

void WriteResultFile(const std::string& path, ResultFileFormat format, int realBytes,
                     const std::function<void(ResultFileWriter&)>& records) {
  std::ofstream out(path, std::ios::binary);
  ResultFileWriter writer(out, format, realBytes);
  records(writer);
}

ModelState ActiveModel(const std::string& folder, int ncol, int nrow, int nlay) {
  ModelState state;
  DimensionModel(state, ncol, nrow, nlay);
  std::fill(state.IBOUND.values.begin(), state.IBOUND.values.end(), std::int16_t{1});
  state.IBOUND0 = state.IBOUND;
  state.HeadPath = folder + "/heads";
  state.DrawdownPath = folder + "/ddown";
  state.BudgetPath = folder + "/budget";
  return state;
}

ModelState GridOfWidths(const std::vector<float>& columnWidths, const std::vector<float>& rowWidths, int nlay) {
  ModelState state;
  DimensionModel(state, static_cast<int>(columnWidths.size()), static_cast<int>(rowWidths.size()), nlay);
  std::copy(columnWidths.begin(), columnWidths.end(), state.DELR.begin() + 1);
  std::copy(rowWidths.begin(), rowWidths.end(), state.DELC.begin() + 1);
  ComputeGridGeometry(state);
  return state;
}

BudgetArealTerms FileSetArealTerms(const ModelState& state) {
  return ModelFileSetFamily(state.ModelPath, state.Shape()).ArealTermsInBudget(state);
}

void CopyHeadsWithoutStep(const std::string& from, const std::string& to, int period, int step) {
  const std::string bytes = ReadWholeFile(from);
  ResultFile result;
  ASSERT_EQ(OpenLayerResultFile(from, result), ResultFileOpening::Opened) << from;
  const std::int64_t first = result.layout->FirstRecordOffset();
  std::string kept = bytes.substr(0, static_cast<std::size_t>(first));
  for (std::int64_t offset = first;;) {
    LayerResultHeader header;
    RecordSpan data;
    if (ReadLayerHeader(result, offset, header) != RecordRead::Read || !LocateLayerData(result, header, data)) break;
    if (header.KPER != period || header.KSTP != step)
      kept += bytes.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(data.end - offset));
    offset = data.end;
  }
  ASSERT_LT(kept.size(), bytes.size()) << from << " holds no records of the step";
  WriteWholeFile(to, kept);
}

}  // namespace kestra::test
