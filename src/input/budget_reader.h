// The budget file: for every saved time step and budget term a header record
// (KSTP, KPER, TEXT, NCOL, NROW, NLAY) and its data. A negative NLAY marks a
// compact term: a second header record (IMETH, DELT, PERTIM, TOTIM) follows,
// and IMETH tells the data: 0 or 1 a full array, 2 a list of cells and
// values, 3 a layer-indicator array and one layer of values, 4 one layer of
// values for layer 1, 5 a list with auxiliary values.
#pragma once

#include <cstdint>
#include <string>

#include "core/cell_array.h"
#include "core/user_interface.h"
#include "input/result_file.h"
#include "input/result_messages.h"

namespace kestra {

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
};

// Reads the header record(s) at `offset`. Damaged when they do not read whole
// or cannot be a header (TEXT not printable, a dimension below 1, an unknown
// IMETH).
RecordRead ReadBudgetHeader(ResultFile& result, std::int64_t offset, BudgetHeader& header);
// Passes over the term's data records without reading their values; `next`
// is then the offset of the next header. False for damaged or truncated data.
bool SkipBudgetData(ResultFile& result, const BudgetHeader& header, std::int64_t& next);
// Reads the term into `target` (shaped for the header's grid): cells the term
// does not list get 0, values listed twice for a cell are added. False for
// damaged data (a cell or layer number outside the grid included).
bool ReadBudgetData(ResultFile& result, const BudgetHeader& header, CellArray<float>& target, std::int64_t& next);

// Opens a budget file and finds its layout and precision.
ResultFileOpening OpenBudgetFile(const std::string& path, ResultFile& result);

// One term wanted: time step, stress period, label and the model's grid.
struct BudgetTermQuery {
  int kstp = 1;
  int kper = 1;
  std::string label;  // found anywhere in TEXT, case-sensitive
  int ncol = 0;
  int nrow = 0;
  int nlay = 0;
};

// Searches the open file from 1-based `position` for the term and fills every
// cell of `target`. On success the position is left behind the term's data;
// on failure it and `target` are unchanged.
bool FindBudgetTerm(ResultFile& result, const BudgetTermQuery& query, CellArray<float>& target,
                    std::int64_t& position, const ResultMessages& messages);

// The same for the file at `path`, opened for this one call. False, with the
// missing-file or compatibility message, when it cannot be read.
bool ReadBudgetTerm(const BudgetTermQuery& query, const std::string& path, CellArray<float>& target,
                    std::int64_t& position, UserInterface& ui, bool showMessages);

}  // namespace kestra
