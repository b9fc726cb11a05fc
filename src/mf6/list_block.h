// The list blocks of MODFLOW 6 stress packages (PERIOD blocks): one row per
// boundary, a cellid (layer row column on a structured grid), the package's
// values, its auxiliary values and, with BOUNDNAMES, a name; or OPEN/CLOSE
// lines whose file holds such rows.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mf6/input_file.h"

namespace kestra {

struct Mf6ListRow {
  int layer = 0;
  int row = 0;
  int column = 0;
  std::vector<double> values;  // the package's values, then the auxiliary values
  std::string boundName;
};

// What a list block holds: its rows, and how many of their values name a
// time series (not read: such a value is 0).
struct Mf6List {
  std::vector<Mf6ListRow> rows;
  int timeSeriesValues = 0;
};

// Reads the rows of `block`, each with `valueCount` values after the cellid
// (package values and auxiliary values), a bound name after them when
// `boundNames`. False with `problem` naming the file and line for a row that
// is too short, a cellid that is not three whole numbers or a list file that
// cannot be read; `list` is then unspecified.
bool ReadMf6List(const Mf6InputFile& file, const Mf6Block& block, std::size_t valueCount, bool boundNames,
                 Mf6List& list, std::string& problem);

}  // namespace kestra
