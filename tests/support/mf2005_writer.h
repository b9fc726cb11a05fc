// Writes small MODFLOW-2005 models into a test folder: a name file and its
// package files, with a one-layer 3 x 2 grid unless a test gives its own.
#pragma once

#include <map>
#include <string>

#include "mf2005/text_file.h"
#include "support/temp_dir.h"

namespace kestra::test {

// Writes "model.nam" and one file per package: `packages` maps a file type
// ("DIS", "BAS6", "LPF", "OC", "WEL", ...) to its text; DIS, BAS6, LPF and OC
// get the defaults below unless given (an empty text leaves the type out).
// The name file lists units 30, 31 and 32 for heads, drawdowns and budget.
// Returns the name file's path.
std::string WriteMf2005Model(const TempDir& dir, std::map<std::string, std::string> packages);

inline constexpr const char* kDefaultDis =
    "# one layer, 2 rows, 3 columns, 2 periods\n"
    "1 2 3 2 4 2\n"
    "0\n"
    "CONSTANT 10.0\n"
    "CONSTANT 20.0\n"
    "CONSTANT 5.0\n"
    "CONSTANT -5.0\n"
    "1.0 1 1.0 SS\n"
    "10.0 2 1.2 TR\n";
inline constexpr const char* kDefaultBas = "FREE\nCONSTANT 1\n-999.99\nCONSTANT 0.0\n";
inline constexpr const char* kDefaultLpf = "32 -1.0E+30 0\n0\n";
inline constexpr const char* kDefaultOc = "HEAD SAVE UNIT 30\nDRAWDOWN SAVE UNIT 31\n";

// A text file held in memory, as a package reader sees it.
TextFile TextOf(const std::string& text, const std::string& path = "package.txt");

}  // namespace kestra::test
