// MODPATH 7 input files read as MODPATH reads them: record by record, each
// read starting on a new line and going on over the next lines when one
// line holds too few values (Fortran list-directed input); words after the
// values of a record are notes and are passed over. Lines starting with "#"
// are comments. Every failure names the file and the line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/cell_array.h"

namespace kestra {

class Mp7Input {
 public:
  Mp7Input(std::string path, const std::string& text);

  // False, with the reason in `problem`, when the file cannot be read.
  static std::optional<Mp7Input> Open(const std::string& path, std::string& problem);

  // The next line that is not a comment, without its line end; false at the end.
  bool NextLine(std::string& line);
  // `count` numbers of one record. False (problem set) at the end of the
  // file or at a field that is not a number.
  bool Numbers(std::size_t count, std::vector<double>& values, const std::string& what);
  bool Number(double& value, const std::string& what);
  // As Numbers, each a whole number from `low` to `high`.
  bool Integers(std::size_t count, std::vector<int>& values, const std::string& what, int low, int high);
  bool Integer(int& value, const std::string& what, int low, int high);
  // The first word of the next line; false (problem set) at the end.
  bool Word(std::string& word, const std::string& what);

  // Sets the problem to "`path`, line N: `text`" for the line last read; returns false.
  bool Fail(const std::string& text);
  const std::string& Problem() const { return problem_; }
  const std::string& Path() const { return path_; }
  // The folder the file's relative names start from.
  std::string Folder() const;

 private:
  bool NextFields(std::vector<std::string>& fields, const std::string& what);
  std::string path_;
  std::vector<std::string> lines_;
  std::size_t next_ = 0;  // index of the next line to read
  std::string problem_;
};

// The words of a line, split at blanks, tabs and commas; a quoted word keeps its blanks.
std::vector<std::string> Mp7Fields(const std::string& line);

// One layer of a MODPATH array: a constant, values given in the file, or
// values in a file of their own (OPEN/CLOSE), read when they are needed.
struct Mp7LayerArray {
  enum class Kind { Constant, Internal, External };
  Kind kind = Kind::Constant;
  double constant = 0;
  double multiplier = 1;
  std::vector<double> values;  // Internal: row by row, column inner
  std::string path;            // External: the file
  int line = 0;                // where the control record stood
};

// Reads the array control record of one layer ("CONSTANT value",
// "INTERNAL multiplier format print-code" and its values, "OPEN/CLOSE file
// multiplier format print-code") with `rows` x `columns` values.
bool ReadMp7LayerArray(Mp7Input& input, int rows, int columns, Mp7LayerArray& layer, const std::string& what);

// Reads one layer array per layer of `shape`.
bool ReadMp7Array(Mp7Input& input, const GridShape& shape, std::vector<Mp7LayerArray>& layers, const std::string& what);

// The `rows` x `columns` values of a layer, multiplied: a constant spread,
// an external file read. False, with the reason, when that file is missing or short.
bool Mp7LayerValues(const Mp7LayerArray& layer, int rows, int columns, std::vector<double>& values,
                    std::string& problem);

}  // namespace kestra
