// A settings file in the private-profile form: "[Section]" lines followed by
// "key=value" lines. Section and key names match without regard to letter
// case, values are trimmed of surrounding blanks, and every line this class
// does not change is written back byte for byte.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/user_interface.h"

namespace kestra {

// `value` as written for a text key: in double quotes when the reader would
// otherwise trim its blanks or take its own quotes off, so that it reads
// back as it was.
std::string QuotedIniValue(const std::string& value);

class IniFile {
 public:
  // The file's contents; a missing or unreadable file gives an empty one.
  static IniFile Load(const std::string& path);
  static IniFile FromText(const std::string& text);

  // The trimmed value of the first matching key, or nothing when absent.
  std::optional<std::string> Get(const std::string& section, const std::string& key) const;

  // Every key of the section with its trimmed value, in file order.
  std::vector<std::pair<std::string, std::string>> Entries(const std::string& section) const;

  // Replaces the key's line (with the key spelled as given) or adds it at the
  // end of its section; a missing section is added at the end of the file.
  void Set(const std::string& section, const std::string& key, const std::string& value);

  std::string Text() const;

  // Writes the file through a new file of a unique name beside it, renamed
  // over the old one once on the disk, so a failed write never leaves half
  // a file. False, with the reason in `error`, on failure.
  bool Save(const std::string& path, std::string& error) const;

  // Reads `path`, applies `change` and writes it back while holding the lock
  // of its folder, so that two programs saving the same file keep both
  // changes. False, with the reason in `error`, when it cannot be written.
  static bool Update(const std::string& path, const std::function<void(IniFile&)>& change, std::string& error);

 private:
  struct Location {
    std::optional<std::size_t> keyLine;      // the line holding the key
    std::optional<std::size_t> sectionLine;  // the section's header line
    std::size_t sectionEnd = 0;              // one past the section's last non-blank line
  };
  Location Find(const std::string& section, const std::string& key) const;
  std::string Terminated(const std::string& line) const;

  // Lines without their '\n'; a CR LF file keeps the '\r' on each line.
  std::vector<std::string> lines_;
  bool crlf_ = true;
  bool finalNewline_ = true;
};

// IniFile::Update of a settings file; when it cannot be written the user is
// told why (the file is then unchanged) and the result is false. An empty
// path (no model open) keeps nothing and succeeds.
bool UpdateSettingsFile(const std::string& path, const std::function<void(IniFile&)>& change, UserInterface& ui);

}  // namespace kestra
