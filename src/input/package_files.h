// The list packages of a name-file model (wells, rivers, streams, drains,
// general-head boundaries): per stress period a count ITMP and ITMP lines of
// layer, row, column and values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "input/boundary_flows.h"

namespace kestra {

struct PackageCell {
  int layer = 0;
  int row = 0;
  int column = 0;
  float value = 0;
};

// The cells listed for `period`, each with the value of word `valueWord`
// (1-based) of its line. A period with ITMP < 0 keeps the list before it.
// Reading stops at the first unreadable line; the cells read so far count.
// A missing file gives an empty list.
std::vector<PackageCell> ReadPackageList(const std::string& path, int valueWord, int period);

// The cells the package `key` ("WEL", "RIV", "STR", "DRN" or "GHB") lists
// for `period`, each with its rate (wells) or conductance; empty (no list)
// when the key is unknown or the name file lists no such package.
std::optional<std::vector<PackageCell>> ListedPackageCells(const PackagePaths& packages, const std::string& key,
                                                           int period);

// Fills target(column, row, layer) with the value of each cell the package
// `key` ("WEL", "RIV", "STR", "DRN" or "GHB") lists for CurrentPeriod, 0
// elsewhere; cells outside the grid are ignored. A MODFLOW-2005 import gives
// the cells it read.
void ReadPackageCells(const ModelState& state, const std::string& key, CellArray<float>& target);

// Marks SINKCODE -1 where a package lists a pumping well (rate below 0) or a
// river, stream, drain or general-head cell with a value other than 0; the
// packages in `skipped` mark nothing.
void LoadSinkCellsFromPackages(ModelState& state, const PackageKeys& skipped = {});

// The boundary packages the name file lists.
PackageKeys ListedPackages(const PackagePaths& packages);

}  // namespace kestra
