#include "core/text_reader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/number_format.h"

namespace kestra {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool IsSeparator(char c) { return IsBlank(c) || c == ',' || c == '\n'; }

}  // namespace

bool IsTextInput(const std::string& path, std::uintmax_t limit) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  return !error && size <= limit;
}

std::string InputFileProblem(const std::string& path, const std::string& kind, std::uintmax_t limit) {
  namespace fs = std::filesystem;
  std::error_code statusError, linkError;
  const fs::file_status status = fs::status(path, statusError);
  if (!fs::exists(status) && fs::is_symlink(fs::symlink_status(path, linkError))) {
    const bool dangling = !statusError || statusError == std::errc::no_such_file_or_directory;
    return path + " is a link that leads to no file" + (dangling ? "" : " (" + statusError.message() + ")");
  }
  if (!fs::exists(status)) return path + " does not exist";
  if (fs::is_directory(status)) return path + " is a directory, not " + kind;
  if (!fs::is_regular_file(status)) return path + " is not a regular file";
  if (!IsTextInput(path, limit)) return path + " is larger than " + std::to_string(limit >> 20) + " MB, not " + kind;
  if (!std::ifstream(path, std::ios::binary)) return path + " cannot be read: " + std::strerror(errno);
  return {};
}

std::string TextInputProblem(const std::string& path, const std::string& kind, std::uintmax_t limit) {
  if (std::string problem = InputFileProblem(path, kind, limit); !problem.empty()) return problem;
  constexpr std::size_t kProbeBytes = 65536;
  std::ifstream file(path, std::ios::binary);
  if (!file) return path + " cannot be read: " + std::strerror(errno);
  std::string start(kProbeBytes, '\0');
  file.read(start.data(), static_cast<std::streamsize>(start.size()));
  start.resize(static_cast<std::size_t>(file.gcount()));
  if (start.find('\0') != std::string::npos) return path + " holds binary data, not " + kind;
  return {};
}

std::optional<std::string> ReadTextFile(const std::string& path) {
  if (!IsTextInput(path)) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream contents;
  contents << file.rdbuf();
  if (file.bad()) return std::nullopt;
  return contents.str();
}

bool TextReader::FromFile(const std::string& path, std::optional<TextReader>& reader) {
  auto text = ReadTextFile(path);
  if (!text) return false;
  reader.emplace(std::move(*text));
  return true;
}

std::string Trimmed(std::string_view text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string UpperCase(std::string word) {
  std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::toupper(c); });
  return word;
}

std::string Capitalised(std::string text) {
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

std::optional<double> ParseNumber(const std::string& field) {
  std::string text = field;
  for (char& c : text)
    if (c == 'D' || c == 'd') c = 'E';
  std::size_t start = text.size() > 1 && text[0] == '+' ? 1 : 0;
  double value = 0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(first, last, value);
  if (result.ec != std::errc() || result.ptr != last || first == last) return std::nullopt;
  return value;
}

std::optional<double> ParseFiniteNumber(const std::string& field) {
  const auto value = ParseNumber(field);
  return value && std::isfinite(*value) ? value : std::nullopt;
}

std::optional<int> ParseWholeNumber(const std::string& field, int low, int high) {
  const auto value = ParseNumber(field);
  if (!value || *value != std::floor(*value) || *value < low || *value > high) return std::nullopt;
  return static_cast<int>(*value);
}

std::vector<std::string> SplitText(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
    parts.push_back(text.substr(start, end - start));
  parts.push_back(text.substr(start));
  return parts;
}

void TextReader::SkipBlanks() {
  while (position_ < text_.size() && IsBlank(text_[position_])) ++position_;
}

std::optional<std::string> TextReader::NextField() {
  while (position_ < text_.size() && (IsBlank(text_[position_]) || text_[position_] == '\n')) ++position_;
  if (position_ >= text_.size()) return std::nullopt;
  const std::size_t start = position_;
  while (position_ < text_.size() && !IsSeparator(text_[position_])) ++position_;
  std::string field = text_.substr(start, position_ - start);
  SkipBlanks();
  atLineStart_ = position_ < text_.size() && text_[position_] == '\n';
  if (position_ < text_.size() && (text_[position_] == ',' || text_[position_] == '\n')) ++position_;
  return field;
}

bool TextReader::NextNumber(double& value) {
  const auto field = NextField();
  if (!field) return false;
  const auto number = ParseNumber(*field);
  if (!number) return false;
  value = *number;
  return true;
}

bool TextReader::NextNumber(float& value) {
  double number = 0;
  if (!NextNumber(number)) return false;
  value = static_cast<float>(number);
  return true;
}

bool TextReader::NextInt16(std::int16_t& value) {
  double number = 0;
  if (!NextNumber(number)) return false;
  const auto rounded = RoundToInt16(number);
  if (!rounded) return false;
  value = *rounded;
  return true;
}

bool TextReader::NextInt(int& value) {
  std::int16_t number = 0;
  if (!NextInt16(number)) return false;
  value = number;
  return true;
}

std::optional<std::string> TextReader::NextLine() {
  if (position_ >= text_.size()) return std::nullopt;
  const std::size_t end = text_.find('\n', position_);
  const std::size_t stop = end == std::string::npos ? text_.size() : end;
  std::string line = text_.substr(position_, stop - position_);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  position_ = end == std::string::npos ? text_.size() : end + 1;
  atLineStart_ = true;
  return line;
}

void TextReader::SkipRestOfLine() {
  if (!atLineStart_) NextLine();
}

}  // namespace kestra
