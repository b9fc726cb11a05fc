#include "mf2005/name_file.h"

#include <algorithm>
#include <filesystem>

#include "core/model_paths.h"
#include "mf2005/text_file.h"

namespace kestra {
bool ReadMf2005NameFile(const std::string& path, Mf2005NameFile& nameFile, std::string& problem) {
  TextFile file;
  if (!LoadTextFile(path, file)) {
    problem = "the name file " + path + " cannot be read.";
    return false;
  }
  Mf2005NameFile read;
  read.path = path;
  std::string line;
  while (NextLine(file, line)) {
    const auto words = SplitWords(line);
    if (words.empty() || words[0].empty() || words[0][0] == '#') {
      const std::size_t hash = line.find('#');
      if (read.entries.empty() && hash != std::string::npos) read.headerComments.push_back(line.substr(hash + 1));
      continue;
    }
    NameFileEntry entry;
    entry.fileType = UpperCase(words[0]);
    if (words.size() < 3 || !ParseInteger(words[1], entry.unit)) {
      problem = LineProblem(file, "a file type, a unit number and a file name are needed.");
      return false;
    }
    entry.path = ResolveModelFile(path, words[2]);
    if (!FileExists(entry.path))
      if (std::string found = FileOfOtherLetterCase(entry.path); !found.empty()) {
        entry.path = std::move(found);
        read.otherLetterCase.push_back(words[2]);
      }
    read.entries.push_back(std::move(entry));
  }
  nameFile = std::move(read);
  return true;
}

std::string OtherLetterCaseText(const std::vector<std::string>& names) {
  std::string text = "The name file lists files whose names on disk differ in letter case only; they are read as found:";
  for (std::size_t n = 0; n < names.size(); ++n) text += (n == 0 ? " " : ", ") + names[n];
  return text + ".";
}

std::string ResolveModelFile(const std::string& nameFilePath, const std::string& fileName) {
  std::string portable = fileName;
  std::replace(portable.begin(), portable.end(), '\\', '/');
  const std::filesystem::path file(portable);
  return (file.is_absolute() ? file : std::filesystem::path(nameFilePath).parent_path() / file)
      .lexically_normal()
      .string();
}

bool IsMf2005NameFile(const Mf2005NameFile& nameFile) {
  return FindFileType(nameFile, "DIS") != nullptr && FindFileType(nameFile, "BAS6") != nullptr;
}

bool IsMf2005NameFile(const std::string& path) {
  TextFile file;
  if (!LoadTextFile(path, file)) return false;
  bool hasDis = false;
  bool hasBas = false;
  for (const auto& line : file.lines) {
    const auto words = SplitWords(line);
    const std::string fileType = words.empty() ? std::string() : UpperCase(words[0]);
    hasDis = hasDis || fileType == "DIS";
    hasBas = hasBas || fileType == "BAS6";
  }
  return hasDis && hasBas;
}

const NameFileEntry* FindFileType(const Mf2005NameFile& nameFile, const std::string& fileType) {
  for (const auto& entry : nameFile.entries)
    if (entry.fileType == fileType) return &entry;
  return nullptr;
}

const NameFileEntry* FindUnit(const Mf2005NameFile& nameFile, int unit) {
  for (const auto& entry : nameFile.entries)
    if (entry.unit == unit) return &entry;
  return nullptr;
}

}  // namespace kestra
