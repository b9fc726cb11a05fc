// Text input files of a MODFLOW-2005 model, read line by line the way
// MODFLOW's Fortran reads them: a record is one line, free-format values are
// separated by blanks, tabs or commas, and a list-directed read of several
// values may run over several lines.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

struct TextFile {
  std::string path;
  std::vector<std::string> lines;  // without line ends
  std::size_t next = 0;            // index of the next line to read
};

// Loads the whole file; false (file untouched) when it cannot be read.
bool LoadTextFile(const std::string& path, TextFile& file);

// The next line, or false at the end of the file.
bool NextLine(TextFile& file, std::string& line);

// Skips the comment lines (first character '#') at the current position, as
// MODFLOW does at the top of every package file.
void SkipCommentLines(TextFile& file);

// "name.dis, line 12: " + text, naming the line read last.
std::string LineProblem(const TextFile& file, const std::string& text);
// "name.dis: " + text.
std::string FileProblem(const TextFile& file, const std::string& text);

// Words of a free-format record: runs of blanks, tabs and commas separate
// them; a word in single or double quotes may hold blanks.
std::vector<std::string> SplitWords(std::string_view line);

std::string UpperCase(std::string_view text);

// A Fortran real ("1.5", "-2.", ".5E-3", "1.0D+30", "+4"); false when the
// whole word is not a number.
bool ParseReal(std::string_view word, double& value);
// A whole number; a real with no fraction ("3.0") is taken too.
bool ParseInteger(std::string_view word, int& value);

// `value` as a whole number; false with `problem` set (naming the line read
// last) when it has a fraction or does not fit.
bool WholeNumber(const TextFile& file, double value, int& number, std::string& problem);

// List-directed read (Fortran READ(unit,*)) of `count` values starting with
// the next line: values may run over lines, "r*v" repeats v r times, a word
// "/" ends the read leaving the remaining values as they were, and whatever
// follows the last value on its line is ignored. False with `problem` set on
// the end of the file or a word that is not a number.
bool ReadFreeValues(TextFile& file, std::size_t count, std::vector<double>& values, std::string& problem);

// The same for whole numbers.
bool ReadFreeIntegers(TextFile& file, std::size_t count, std::vector<int>& values, std::string& problem);

}  // namespace kestra
