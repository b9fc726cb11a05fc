// Small result files built in the test itself through the library's writers.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/model_family.h"
#include "core/model_state.h"
#include "results/result_file_writer.h"

namespace kestra::test {

// The four layouts a result file may have.
inline constexpr ResultFileFormat kEveryFormat[] = {ResultFileFormat::PowerStation, ResultFileFormat::Lahey,
                                                    ResultFileFormat::Sequential, ResultFileFormat::Stream};

// NCOL x NROW values, row 1 first: base + column + 100 x row, so that every
// cell of a layer differs.
std::vector<float> LayerPattern(int ncol, int nrow, float base);
// NCOL x NROW x NLAY values, layer 1 first, with the same pattern plus 10000 x layer.
std::vector<float> GridPattern(int ncol, int nrow, int nlay, float base);

LayerResultHeader LayerHeader(int kstp, int kper, int layer, int ncol, int nrow, const std::string& text = "HEAD");
BudgetHeader BudgetTermHeader(int kstp, int kper, const std::string& text, int ncol, int nrow, int nlay);

// Writes a file at `path` in `format` and precision, its records added by `records`.
void WriteResultFile(const std::string& path, ResultFileFormat format, int realBytes,
                     const std::function<void(ResultFileWriter&)>& records);

// A model of every cell active whose head, drawdown and budget files are
// "heads", "ddown" and "budget" in `folder`.
ModelState ActiveModel(const std::string& folder, int ncol, int nrow, int nlay);

// A grid of the column and row widths given (from column 1 and row 1) and
// `nlay` layers, its geometry computed; every array zero.
ModelState GridOfWidths(const std::vector<float>& columnWidths, const std::vector<float>& rowWidths, int nlay);

// Copies the head file at `from` to `to` without the records of one time
// step, as an output control that did not save it would have written it.
void CopyHeadsWithoutStep(const std::string& from, const std::string& to, int period, int step);

// The areal terms a model file set with the DataFlags of `state` takes from
// its budget file.
BudgetArealTerms FileSetArealTerms(const ModelState& state);

}  // namespace kestra::test
