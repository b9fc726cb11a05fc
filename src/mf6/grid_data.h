// The GRIDDATA blocks of MODFLOW 6 packages on a structured grid: named
// arrays, each of one value per cell unless the grid gives it another shape.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "mf6/input_file.h"
#include "mf6/model.h"

namespace kestra {

using Mf6Arrays = std::map<std::string, std::vector<double>>;

// Reads every array of `block` (DELR, DELC and TOP of the grid's shape,
// every other one a value per cell; IDOMAIN, ICELLTYPE and ICONVERT whole
// numbers) and keeps those named in `wanted`. False with `problem` naming
// the file and line.
bool ReadGridData(const Mf6InputFile& file, const Mf6Block& block, const Mf6Grid& grid,
                  const std::set<std::string>& wanted, Mf6Arrays& arrays, std::string& problem);

// Loads `path` and reads the arrays of its GRIDDATA block; `required` must
// all be there.
bool ReadPackageGridData(const std::string& path, const Mf6Grid& grid, const std::set<std::string>& required,
                         Mf6Arrays& arrays, std::string& problem);

}  // namespace kestra
