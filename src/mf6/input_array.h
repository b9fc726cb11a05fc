// The arrays of MODFLOW 6 text input: a keyword line ("TOP", "IDOMAIN
// LAYERED") and, for the whole array or for each layer, a control line
// "CONSTANT value", "INTERNAL [FACTOR f] [IPRN n]" followed by the values,
// or "OPEN/CLOSE file [FACTOR f] [(BINARY)] [IPRN n]".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mf6/input_file.h"

namespace kestra {

struct Mf6ArrayShape {
  std::size_t layerCells = 0;  // values of one layer (NCOL x NROW; NCOL for DELR)
  int layers = 1;              // 1 for a two-dimensional array
  bool integer = false;        // whole numbers: FACTOR is whole, binary values 4-byte integers
};

// Reads the array whose keyword line is lines[line] (inside `block`) into
// `values` (layer 1 first, row 1 first within a layer). On success `line` is
// the index of the first line after the array; false with `problem` naming
// the file and line, `values` then unspecified.
bool ReadMf6Array(const Mf6InputFile& file, const Mf6Block& block, std::size_t& line, const Mf6ArrayShape& shape,
                  std::vector<double>& values, std::string& problem);

// Reads the array whose control line is lines[line] (no keyword line):
// `count` values, as in ReadMf6Array.
bool ReadMf6ArrayControl(const Mf6InputFile& file, const Mf6Block& block, std::size_t& line, std::size_t count,
                         bool integer, std::vector<double>& values, std::string& problem);

}  // namespace kestra
