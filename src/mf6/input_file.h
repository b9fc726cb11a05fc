// Text input files of MODFLOW 6: blocks between "BEGIN name" and "END name",
// comment lines and comments after '#' or '!', keywords in any letter case,
// values separated by blanks, tabs or commas.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestra {

struct Mf6Line {
  std::string text;  // without its comment, never empty
  int number = 0;    // 1-based line number in the file
};

struct Mf6Block {
  std::string name;  // upper case: "OPTIONS", "PERIOD", ...
  std::string id;    // the word after the name ("1" of "BEGIN PERIOD 1"), upper case
  std::size_t first = 0;  // index in Mf6InputFile::lines of the first line inside
  std::size_t end = 0;    // index of the END line
};

struct Mf6InputFile {
  std::string path;
  std::vector<Mf6Line> lines;
  std::vector<Mf6Block> blocks;  // in file order
};

// Loads `path` and finds its blocks. False with `problem` naming the file
// (and line) when it cannot be read, a block is not closed by its own END or
// a line lies outside every block.
bool LoadMf6Input(const std::string& path, Mf6InputFile& file, std::string& problem);

// Loads the lines of `path` without blocks (a list or array file named by
// OPEN/CLOSE). False with `problem` when it cannot be read.
bool LoadMf6Lines(const std::string& path, Mf6InputFile& file, std::string& problem);

// The first block named `name` (upper case); null when there is none.
const Mf6Block* FindBlock(const Mf6InputFile& file, std::string_view name);

// The word after `keyword` on the first line of `block` that starts with it
// ("XORIGIN 10.0" gives "10.0"); empty when no line does or `block` is null.
std::string KeywordValue(const Mf6InputFile& file, const Mf6Block* block, std::string_view keyword);

// True when a line of `block` starts with `keyword`.
bool HasKeyword(const Mf6InputFile& file, const Mf6Block* block, std::string_view keyword);

// Words of a line: runs of blanks, tabs and commas separate them; a word in
// single or double quotes may hold blanks and loses its quotes.
std::vector<std::string> Mf6Words(std::string_view line);

// "name.dis, line 12: " + text.
std::string Mf6LineProblem(const Mf6InputFile& file, std::size_t line, const std::string& text);

// A path of an input file as MODFLOW 6 resolves it: relative to the folder
// of the simulation (`folder`), with '\' read as '/'.
std::string Mf6Path(const std::string& folder, const std::string& name);


}  // namespace kestra
