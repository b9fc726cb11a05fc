// The budget terms of the boundary packages: which way water crosses each
// well, drain, river, general-head and stream cell in one time step.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/model_family.h"
#include "core/model_state.h"

namespace kestra {

// A boundary package and the TEXT of one of its terms in the budget file,
// without blanks: MODFLOW-2005's labels, then MODFLOW 6's (whose advanced
// packages MAW, SFR, LAK and UZF give their exchange with the cells too).
struct BoundaryTerm {
  const char* packageKey;
  const char* label;
};

inline constexpr BoundaryTerm kBoundaryTerms[] = {
    {"WEL", "WELLS"},     {"DRN", "DRAINS"},   {"RIV", "RIVER LEAKAGE"},   {"GHB", "HEAD DEP BOUNDS"},
    {"STR", "STREAM LEAKAGE"}, {"WEL", "WEL"}, {"DRN", "DRN"},             {"RIV", "RIV"},
    {"GHB", "GHB"},       {"MAW", "MAW"},      {"SFR", "SFR"},             {"LAK", "LAK"},
    {"UZF", "UZF-GWRCH"}, {"UZF", "UZF-GWD"},  {"UZF", "UZF-GWET"},
};

// Marks SINKCODE from every budget term of CurrentStep/CurrentPeriod of the
// packages in `packages` (its TEXT one of the package's labels): kOutflowCell where a term is negative (water
// leaves the aquifer), kInflowCell where it is positive, both combined where
// packages of one cell disagree; a cell whose terms are 0 is not marked.
// Flows that cross a face of their cell (an IFACE of the term's records, or
// the family's default face of the term) mark nothing: they are added to
// BoundaryFaceFlows instead.
// Returns the packages whose term the budget file holds; cells of the
// others are left as they are. Reads silently: a budget file that cannot be
// read holds no term.
PackageKeys MarkCellsByFlowSign(ModelState& state, const PackageKeys& packages);

// One boundary term of a cell: its TEXT without blanks and its flow, volume
// per time, positive into the aquifer.
struct CellTerm {
  std::string label;
  float flow = 0;
};
// The non-zero boundary terms of each cell that has one, by GridShape::Index,
// in the order of the budget file.
using CellTermTable = std::unordered_map<std::size_t, std::vector<CellTerm>>;

// The boundary terms of CurrentStep/CurrentPeriod for every cell, flows on
// a face included in their cell's. Empty when the budget file cannot be
// read or holds none.
CellTermTable BoundaryTermsByCell(const ModelState& state);

// The note that the budget file holds no flow terms of `packages`, so that
// every one of their cells is taken as a sink.
std::string NoBoundaryFlowsText(const PackageKeys& packages);

}  // namespace kestra
