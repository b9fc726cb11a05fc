// Free-format list input over a text file held in memory: values separated
// by blanks, tabs, commas or line ends, as the model's text files are written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace kestra {

class TextReader {
 public:
  explicit TextReader(std::string text) : text_(std::move(text)) {}

  // False when the file cannot be read; `reader` is left unchanged then.
  static bool FromFile(const std::string& path, std::optional<TextReader>& reader);

  // The next field and its closing separator (trailing blanks and one comma
  // or one line end); empty at the end of the text.
  std::optional<std::string> NextField();
  // The next field as a number. False at the end or when the field is not a
  // number; the field is consumed either way and `value` keeps what it had.
  bool NextNumber(double& value);
  bool NextNumber(float& value);
  bool NextInt16(std::int16_t& value);
  bool NextInt(int& value);
  // The rest of the current line without its line end; empty at the end.
  std::optional<std::string> NextLine();
  // Skips what is left of the current line; nothing when the last field
  // ended it.
  void SkipRestOfLine();

 private:
  void SkipBlanks();
  std::string text_;
  std::size_t position_ = 0;
  bool atLineStart_ = true;
};

// Text inputs are read whole; no file of a model comes near this size.
inline constexpr std::uintmax_t kLargestTextFile = std::uintmax_t{1} << 30;

// True for a regular file (a link followed to one) of at most `limit`
// bytes: a FIFO would block a reader for ever, a device or a link to one
// (/dev/zero) would flood it.
bool IsTextInput(const std::string& path, std::uintmax_t limit = kLargestTextFile);

// Why `path` cannot be read as `kind` ("a budget file"): it does not exist, a
// link of it cannot be followed, it is a directory or no regular file, it
// is larger than `limit` or it cannot be opened (with the system's reason).
// Empty when it can.
std::string InputFileProblem(const std::string& path, const std::string& kind,
                             std::uintmax_t limit = kLargestTextFile);

// Why `path` cannot be read as `kind` ("a name file"): it does not exist, a
// link of it cannot be followed, it is a directory or no regular file, it
// is larger than `limit`, it cannot be opened (with the system's reason) or
// it holds binary data (a NUL byte in its first block). Empty when it can.
std::string TextInputProblem(const std::string& path, const std::string& kind,
                             std::uintmax_t limit = kLargestTextFile);

// The whole text of `path`, or nothing when it is no text input or cannot
// be read.
std::optional<std::string> ReadTextFile(const std::string& path);

// `text` without its leading and trailing blanks, tabs and carriage returns.
std::string Trimmed(std::string_view text);

// `word` in upper case (ASCII letters only).
std::string UpperCase(std::string word);
// `text` with its first letter in upper case: a sentence's start.
std::string Capitalised(std::string text);

// A field parsed completely as a number (Fortran "D" exponents accepted).
std::optional<double> ParseNumber(const std::string& field);
// The same, nothing for an infinity or NaN.
std::optional<double> ParseFiniteNumber(const std::string& field);

// A field parsed completely as a whole number within low..high.
std::optional<int> ParseWholeNumber(const std::string& field, int low, int high);

// The parts of `text` between the separators, empty ones kept ("a,,b": "a", "", "b").
std::vector<std::string> SplitText(const std::string& text, char separator);

}  // namespace kestra
