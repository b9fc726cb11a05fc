#include "mf6/input_file.h"

#include <algorithm>
#include <filesystem>

#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; }

// The line without its comment: a line starting with "//" is all comment,
// and '#' or '!' outside quotes start one.
std::string WithoutComment(std::string_view line) {
  const auto start = line.find_first_not_of(" \t");
  if (start != std::string_view::npos && line.substr(start, 2) == "//") return {};
  char quote = 0;
  std::size_t end = 0;
  for (; end < line.size(); ++end) {
    const char c = line[end];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == '#' || c == '!') {
      break;
    }
  }
  std::string text(line.substr(0, end));
  while (!text.empty() && IsSeparator(text.back())) text.pop_back();
  return text;
}

std::string WordAt(const std::vector<std::string>& words, std::size_t n) {
  return n < words.size() ? UpperCase(words[n]) : std::string();
}

bool FindBlocks(Mf6InputFile& file, std::string& problem) {
  for (std::size_t n = 0; n < file.lines.size(); ++n) {
    const auto words = Mf6Words(file.lines[n].text);
    if (WordAt(words, 0) != "BEGIN" || words.size() < 2) {
      problem = Mf6LineProblem(file, n, "\"" + file.lines[n].text + "\" lies outside a BEGIN ... END block.");
      return false;
    }
    Mf6Block block{WordAt(words, 1), WordAt(words, 2), n + 1, n + 1};
    while (block.end < file.lines.size()) {
      const auto inner = Mf6Words(file.lines[block.end].text);
      if (WordAt(inner, 0) == "END") break;
      if (WordAt(inner, 0) == "BEGIN") block.end = file.lines.size();
      else ++block.end;
    }
    if (block.end >= file.lines.size() || WordAt(Mf6Words(file.lines[block.end].text), 1) != block.name) {
      problem = Mf6LineProblem(file, n, "the block " + block.name + " is not closed by END " + block.name + ".");
      return false;
    }
    file.blocks.push_back(block);
    n = block.end;
  }
  return true;
}

}  // namespace

bool LoadMf6Lines(const std::string& path, Mf6InputFile& file, std::string& problem) {
  const auto text = ReadTextFile(path);
  if (!text) {
    problem = "the file " + path + " is missing or cannot be read.";
    return false;
  }
  Mf6InputFile read;
  read.path = path;
  std::size_t start = 0;
  for (int number = 1; start <= text->size(); ++number) {
    std::size_t end = text->find('\n', start);
    if (end == std::string::npos) end = text->size();
    std::string line = WithoutComment(std::string_view(*text).substr(start, end - start));
    if (line.find_first_not_of(" \t") != std::string::npos) read.lines.push_back({std::move(line), number});
    start = end + 1;
  }
  file = std::move(read);
  return true;
}

bool LoadMf6Input(const std::string& path, Mf6InputFile& file, std::string& problem) {
  Mf6InputFile read;
  if (!LoadMf6Lines(path, read, problem) || !FindBlocks(read, problem)) return false;
  file = std::move(read);
  return true;
}

const Mf6Block* FindBlock(const Mf6InputFile& file, std::string_view name) {
  const auto found =
      std::find_if(file.blocks.begin(), file.blocks.end(), [name](const Mf6Block& b) { return b.name == name; });
  return found == file.blocks.end() ? nullptr : &*found;
}

namespace {

const Mf6Line* KeywordLine(const Mf6InputFile& file, const Mf6Block* block, std::string_view keyword,
                           std::vector<std::string>& words) {
  if (block == nullptr) return nullptr;
  for (std::size_t n = block->first; n < block->end; ++n) {
    words = Mf6Words(file.lines[n].text);
    if (!words.empty() && UpperCase(words[0]) == keyword) return &file.lines[n];
  }
  return nullptr;
}

}  // namespace

std::string KeywordValue(const Mf6InputFile& file, const Mf6Block* block, std::string_view keyword) {
  std::vector<std::string> words;
  return KeywordLine(file, block, keyword, words) && words.size() > 1 ? words[1] : std::string();
}

bool HasKeyword(const Mf6InputFile& file, const Mf6Block* block, std::string_view keyword) {
  std::vector<std::string> words;
  return KeywordLine(file, block, keyword, words) != nullptr;
}

std::vector<std::string> Mf6Words(std::string_view line) {
  std::vector<std::string> words;
  std::size_t n = 0;
  while (n < line.size()) {
    while (n < line.size() && IsSeparator(line[n])) ++n;
    if (n >= line.size()) break;
    if (line[n] == '\'' || line[n] == '"') {
      const char quote = line[n];
      const std::size_t close = line.find(quote, n + 1);
      const std::size_t end = close == std::string_view::npos ? line.size() : close;
      words.emplace_back(line.substr(n + 1, end - n - 1));
      n = end + 1;
      continue;
    }
    const std::size_t start = n;
    while (n < line.size() && !IsSeparator(line[n])) ++n;
    words.emplace_back(line.substr(start, n - start));
  }
  return words;
}

std::string Mf6LineProblem(const Mf6InputFile& file, std::size_t line, const std::string& text) {
  const std::string name = std::filesystem::path(file.path).filename().string();
  if (line >= file.lines.size()) return name + ": " + text;
  return name + ", line" + NumberText(file.lines[line].number) + ": " + text;
}

std::string Mf6Path(const std::string& folder, const std::string& name) {
  std::string relative = name;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  const std::filesystem::path path(relative);
  return path.is_absolute() ? relative : (std::filesystem::path(folder) / path).lexically_normal().string();
}


}  // namespace kestra
