// One layer of one data type of a model file set: the record directory
// (".RCD") names the data set valid in a stress period, the data file of the
// type holds it.
#pragma once

#include <string>

#include "core/cell_array.h"
#include "core/data_types.h"
#include "core/user_interface.h"
#include "modelset/layer_grid.h"

namespace kestra {

// The record directory keeps 1000 stress periods per data type.
inline constexpr int kDirectoryPeriods = 1000;

// Where the arrays of a model file set are and how their data sets are shaped.
struct ModelArraySource {
  std::string basePath;  // ModelBasePath: the model file path without ".mdl"
  GridShape grid;        // NCOL x NROW x NLAY floats per data set
};

// Fills target(1..target.ncol, 1..target.nrow) with rows of layer `layer` of
// the data set of `type` valid in `period`; the rows are read target.ncol
// values at a time (a target of NROW x 1 takes the row heights as one row).
// The default fills the target when the data file does not list the set.
// False, with a message, when a file is missing or too short (a data file
// shorter than its header included), the directory
// names no data set or the period lies beyond the directory; `target` is
// then unchanged.
bool ReadModelArray(const ModelArraySource& source, int type, int period, int layer, LayerGrid& target,
                    float defaultValue, UserInterface& ui);

}  // namespace kestra
