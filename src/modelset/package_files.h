// The list packages of a name-file model (wells, rivers, streams, drains,
// general-head boundaries): per stress period a count ITMP and ITMP lines of
// layer, row, column and values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/model_family.h"
#include "core/model_state.h"

namespace kestra {

// Package files of a model imported from a name file; empty when not listed.
struct PackagePaths {
  std::string wells, rivers, streams, drains, generalHead, recharge;
  bool operator==(const PackagePaths&) const = default;
};

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

// Marks SINKCODE -1 where a package lists a pumping well (rate below 0) or a
// river, stream, drain or general-head cell with a value other than 0; the
// packages in `skipped` mark nothing.
void LoadSinkCellsFromPackages(ModelState& state, const PackagePaths& packages, const PackageKeys& skipped = {});

// The boundary packages the name file lists.
PackageKeys ListedPackages(const PackagePaths& packages);

}  // namespace kestra
