// Fortran edit descriptors of an array control record's FMTIN, such as
// "(10F8.2)", "(20I4)", "(7E12.4)" or "(1X,10F10.3)", interpreted well enough
// to read values by field width.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "mf2005/text_file.h"

namespace kestra {

struct FortranField {
  enum class Kind { Value, Skip, NextRecord };
  Kind kind = Kind::Value;
  int width = 0;     // characters of a value or of a skip
  int decimals = 0;  // implied decimals of a value written without a point
  bool integer = false;  // an I field: digits and a sign only
};

struct FortranFormat {
  std::vector<FortranField> fields;  // groups and repeat counts expanded
  std::size_t reversionStart = 0;    // where reading goes on when a record needs more values
};

// Parses a format in parentheses; false when it holds no value field or a
// descriptor that input cannot use (A, L, quoted text).
bool ParseFortranFormat(const std::string& text, FortranFormat& format);

// One formatted READ of `count` values starting with the next line: fields
// are taken by width (a short line reads as blanks, a blank field is 0,
// blanks inside a field are ignored), and when the format is used up before
// all values are read, reading goes on with the next line at the format's
// reversion point. False with `problem` set on the end of the file or a field
// that is not a number.
bool ReadFormattedValues(TextFile& file, const FortranFormat& format, std::size_t count, std::vector<double>& values,
                         std::string& problem);

}  // namespace kestra
