// Writes head, drawdown and budget records in any of the record layouts and
// precisions the readers accept: used to convert result files into the
// legacy layouts, and by the tests and benchmarks to build their files.
#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "results/budget_reader.h"
#include "results/layer_result_reader.h"
#include "results/record_layout.h"

namespace kestra {

// One entry of a compact list term: the cell number (columns fastest, from 1),
// its value and, for IMETH 5, the auxiliary values.
struct BudgetListEntry {
  std::int32_t cell = 0;
  float value = 0;
  std::vector<float> auxiliary;
};

class ResultFileWriter {
 public:
  // Writes what the layout puts before the first record.
  ResultFileWriter(std::ostream& out, ResultFileFormat format, int realBytes = 4);

  // A layer header and its NCOL x NROW values.
  void WriteLayer(const LayerResultHeader& header, std::span<const float> values);
  // A budget term: the header (with the compact record when header.compact)
  // and one record of values, NCOL x NROW x NLAY of them, or one layer for IMETH 4.
  void WriteBudgetArray(const BudgetHeader& header, std::span<const float> values);
  // A compact term of IMETH 3: the layer of each column and row, then one layer of values.
  void WriteBudgetLayerIndicated(const BudgetHeader& header, std::span<const std::int32_t> layers,
                                 std::span<const float> values);
  // A compact term of IMETH 2 or 5 (the names only for 5, 16 characters each).
  void WriteBudgetList(const BudgetHeader& header, std::span<const std::string> auxiliaryNames,
                       std::span<const BudgetListEntry> entries);
  // One record of raw data bytes.
  void WriteRecord(const std::string& bytes);

 private:
  void WriteBudgetHeader(const BudgetHeader& header);
  void WriteReals(std::span<const float> values);

  std::ostream& out_;
  const RecordLayout& layout_;
  int realBytes_;
};

}  // namespace kestra
