// The budget file: for every saved time step and budget term a header record
// (KSTP, KPER, TEXT, NCOL, NROW, NLAY) and its data. A negative NLAY marks a
// compact term: a second header record (IMETH, DELT, PERTIM, TOTIM) follows,
// and IMETH tells the data: 0 or 1 a full array, 2 a list of cells and
// values, 3 a layer-indicator array and one layer of values, 4 one layer of
// values for layer 1, 5 a list with auxiliary values, 6 (MODFLOW 6) a list
// of cell, boundary number, value and auxiliary values after four names
// (model and package of the cells and of the boundaries). A MODFLOW 6 term
// "FLOW-JA-FACE" holds one value per connection of the grid (NCOL counts
// the connections, NROW and NLAY are 1).
#pragma once

#include <cstdint>
#include <string>

#include "results/result_file.h"

namespace kestra {

// IMETH codes of a compact term.
inline constexpr std::int32_t kFullArrayOld = 0;
inline constexpr std::int32_t kFullArray = 1;
inline constexpr std::int32_t kList = 2;
inline constexpr std::int32_t kLayerIndicator = 3;
inline constexpr std::int32_t kLayerOne = 4;
inline constexpr std::int32_t kListWithAuxiliary = 5;
inline constexpr std::int32_t kListWithNames = 6;

// The TEXT of MODFLOW 6's term of flows between connected cells.
inline constexpr const char* kConnectionFlowText = "FLOW-JA-FACE";

struct BudgetHeader {
  std::int32_t KSTP = 0;
  std::int32_t KPER = 0;
  std::string TEXT;
  std::int32_t NCOL = 0;
  std::int32_t NROW = 0;
  std::int32_t NLAY = 0;  // the number of layers, also of a compact term
  bool compact = false;
  std::int32_t method = 1;  // IMETH of a compact term; 1 (full array) otherwise
  double DELT = 0;
  double PERTIM = 0;
  double TOTIM = 0;
  std::int64_t dataOffset = 0;  // where the data records start
  std::string packageName;      // the package of the boundaries of an IMETH 6 term, trimmed

  // TEXT without its leading and trailing blanks.
  std::string Name() const;
};

// Reads the header record(s) at `offset`. Damaged when they do not read whole
// or cannot be a header (TEXT not printable, a dimension below 1, an unknown
// IMETH).
RecordRead ReadBudgetHeader(ResultFile& result, std::int64_t offset, BudgetHeader& header);

// True for a term whose data give every cell a value (IMETH 0 or 1).
bool FillsEveryCell(const BudgetHeader& header);

// True for a term of one flow per connection (FLOW-JA-FACE): its NCOL is
// the number of connections, not of columns.
bool IsConnectionTerm(const BudgetHeader& header);

}  // namespace kestra
