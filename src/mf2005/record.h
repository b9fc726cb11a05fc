// One record of numbers in a MODFLOW-2005 package file. The basic package's
// FREE option decides the form: free format reads the words of one line
// (blanks, tabs or commas between them; text after the numbers is ignored),
// fixed format reads the columns of a Fortran format such as "(2I10)".
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mf2005/text_file.h"

namespace kestra {

// Reads the next line into `count` numbers. False with `problem` set at the
// end of the file, or when a needed word is missing or not a number.
bool ReadLineNumbers(TextFile& file, bool freeFormat, const std::string& fixedFormat, std::size_t count,
                     std::vector<double>& values, std::string& problem);

// A READ of `count` values as MODFLOW does it for most package items:
// list-directed in free format (values may run over lines), with the Fortran
// format `fixedFormat` otherwise.
bool ReadPackageValues(TextFile& file, bool freeFormat, const std::string& fixedFormat, std::size_t count,
                       std::vector<double>& values, std::string& problem);

// Passes over the optional "PARAMETER NP ..." line at the current position;
// false with `problem` set when it declares parameters (NP > 0), which are
// not supported.
bool SkipEmptyParameterLine(TextFile& file, std::string& problem);

}  // namespace kestra
