// MODFLOW array control records: one line naming where an array's values come
// from, followed (INTERNAL) by the values in free format.
#pragma once

#include <string>
#include <vector>

#include "core/text_reader.h"
#include "modelset/layer_grid.h"

namespace kestra {

enum class ArrayRecordResult {
  kRead,      // the target holds the array
  kExternal,  // an EXTERNAL record: nothing read, the target is all 0
  kFailed,    // the record or its values could not be read; target unchanged
};

// The words of a control record: split at blanks, commas and opening
// parentheses, runs of separators counting as one.
std::vector<std::string> ArrayRecordWords(const std::string& line);

// Reads one control record and its ncol x nrow values (row 1 first) into
// `target`, sized (0..ncol, 0..nrow). File names of OPEN/CLOSE records are
// taken relative to `folderOf`'s folder; a factor of 0 counts as 1.
ArrayRecordResult ReadArrayRecord(TextReader& reader, const std::string& folderOf, LayerGrid& target, int ncol,
                                  int nrow);

}  // namespace kestra
