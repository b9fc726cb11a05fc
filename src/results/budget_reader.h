// Finding one term of one time step in a budget file.
#pragma once

#include <cstdint>
#include <string>

#include "core/cell_array.h"
#include "core/user_interface.h"
#include "results/budget_header.h"
#include "results/budget_term_data.h"
#include "results/result_messages.h"

namespace kestra {

// Opens a budget file and finds its layout and precision. Undecided when
// neither precision reads the first term whole and the header after it:
// guessing would read every flow with the wrong precision or from the
// wrong place.
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
