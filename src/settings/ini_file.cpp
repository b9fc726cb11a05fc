#include "settings/ini_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/atomic_file.h"
#include "core/folder_lock.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// The section name of a "[name]" line, or nothing for other lines.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string text = Trimmed(line);
  if (text.size() < 2 || text.front() != '[') return std::nullopt;
  const auto close = text.find(']');
  if (close == std::string::npos) return std::nullopt;
  return Trimmed(std::string_view(text).substr(1, close - 1));
}

// Key and raw value of a "key=value" line; comments and other lines give nothing.
std::optional<std::pair<std::string, std::string>> KeyAndValue(const std::string& line) {
  const std::string text = Trimmed(line);
  if (text.empty() || text.front() == ';') return std::nullopt;
  const auto equals = text.find('=');
  if (equals == std::string::npos) return std::nullopt;
  return std::make_pair(Trimmed(std::string_view(text).substr(0, equals)),
                        Trimmed(std::string_view(text).substr(equals + 1)));
}

// A value in double quotes loses its quotes, as the private-profile readers do.
std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

// The whole text of `path`; false when it is missing or no text file to read.
bool ReadSettingsText(const std::string& path, std::string& text) {
  // A settings file is a few kilobytes; a larger one is not read at all.
  constexpr std::uintmax_t kLargestSettingsFile = std::uintmax_t{64} << 20;
  if (!IsTextInput(path, kLargestSettingsFile)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream contents;
  contents << in.rdbuf();
  text = contents.str();
  return !in.bad();
}

}  // namespace

std::string QuotedIniValue(const std::string& value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool trimmed = !value.empty() && (blank(value.front()) || blank(value.back()));
  const bool inQuotes = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  return trimmed || inQuotes ? '"' + value + '"' : value;
}

IniFile IniFile::Load(const std::string& path) {
  std::string text;
  return ReadSettingsText(path, text) ? FromText(text) : IniFile{};
}

IniFile IniFile::FromText(const std::string& text) {
  IniFile file;
  if (text.empty()) return file;
  std::size_t start = 0;
  while (start < text.size()) {
    const auto end = text.find('\n', start);
    if (end == std::string::npos) {
      file.lines_.push_back(text.substr(start));
      file.finalNewline_ = false;
      break;
    }
    file.lines_.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  file.crlf_ = !file.lines_.empty() && !file.lines_.front().empty() && file.lines_.front().back() == '\r';
  return file;
}

IniFile::Location IniFile::Find(const std::string& section, const std::string& key) const {
  Location location;
  bool inSection = false;
  for (std::size_t index = 0; index < lines_.size(); ++index) {
    if (const auto name = SectionName(lines_[index])) {
      if (inSection) break;
      inSection = SameName(*name, section);
      if (inSection) {
        location.sectionLine = index;
        location.sectionEnd = index + 1;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trimmed(lines_[index]).empty()) location.sectionEnd = index + 1;
    const auto entry = KeyAndValue(lines_[index]);
    if (entry && !location.keyLine && SameName(entry->first, key)) location.keyLine = index;
  }
  return location;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
  const Location location = Find(section, key);
  if (!location.keyLine) return std::nullopt;
  return Unquoted(KeyAndValue(lines_[*location.keyLine])->second);
}

std::vector<std::pair<std::string, std::string>> IniFile::Entries(const std::string& section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  bool inSection = false;
  for (const std::string& line : lines_) {
    if (const auto name = SectionName(line)) {
      if (inSection) break;
      inSection = SameName(*name, section);
    } else if (const auto entry = inSection ? KeyAndValue(line) : std::nullopt) {
      entries.emplace_back(entry->first, Unquoted(entry->second));
    }
  }
  return entries;
}

std::string IniFile::Terminated(const std::string& line) const { return crlf_ ? line + "\r" : line; }

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
  const std::string line = Terminated(key + "=" + value);
  const Location location = Find(section, key);
  if (location.keyLine) {
    lines_[*location.keyLine] = line;
    return;
  }
  finalNewline_ = true;  // the added line ends the old last line too
  if (location.sectionLine) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(location.sectionEnd), line);
  } else {
    lines_.push_back(Terminated("[" + section + "]"));
    lines_.push_back(line);
  }
}

std::string IniFile::Text() const {
  std::string text;
  for (std::size_t index = 0; index < lines_.size(); ++index) {
    text += lines_[index];
    if (index + 1 < lines_.size() || finalNewline_) text += '\n';
  }
  return text;
}

bool IniFile::Save(const std::string& path, std::string& error) const {
  return WriteFileAtomically(path, Text(), error);
}

bool IniFile::Update(const std::string& path, const std::function<void(IniFile&)>& change, std::string& error) {
  const FolderLock lock(path);
  std::string text;
  std::error_code missing;
  if (!ReadSettingsText(path, text) && std::filesystem::exists(path, missing)) {
    // Writing the changed keys alone would lose the rest of the file.
    error = path + ": the file cannot be read, so it is left as it is";
    return false;
  }
  IniFile file = FromText(text);
  change(file);
  return file.Save(path, error);
}

bool UpdateSettingsFile(const std::string& path, const std::function<void(IniFile&)>& change, UserInterface& ui) {
  if (path.empty()) return true;  // no model open: there is no settings file to keep them
  std::string error;
  if (IniFile::Update(path, change, error)) return true;
  Complain(ui, "The settings could not be saved: " + error + ". The settings file is unchanged.",
           MessageIcon::Exclamation);
  return false;
}

}  // namespace kestra
