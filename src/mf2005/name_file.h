// The name file of a MODFLOW-2005 or MODFLOW-NWT model: one line per file,
// "Ftype Nunit Fname [Fstatus]", comment lines starting with '#'.
#pragma once

#include <string>
#include <vector>

namespace kestra {

struct NameFileEntry {
  std::string fileType;  // upper case: "DIS", "BAS6", "DATA(BINARY)", ...
  int unit = 0;
  std::string path;      // resolved against the name file's folder, letter case kept
};

struct Mf2005NameFile {
  std::string path;
  std::vector<NameFileEntry> entries;
  // Entries whose file exists only in another letter case: the name as
  // listed, in name-file order (their `path` is the file found).
  std::vector<std::string> otherLetterCase;
  // The comment lines before the first entry, without their '#': where
  // FloPy states the model's place ("xll:...; yll:...; rotation:...").
  std::vector<std::string> headerComments;
};

// The note that the files of `names` were found in another letter case.
std::string OtherLetterCaseText(const std::vector<std::string>& names);

// Reads the name file; false with `problem` set (and `nameFile` untouched)
// when it cannot be read or a line lacks its unit number or file name. A
// listed file that does not exist but is found in another letter case alone
// is taken in that case.
bool ReadMf2005NameFile(const std::string& path, Mf2005NameFile& nameFile, std::string& problem);

// True when the file types DIS and BAS6 are both listed: a standard
// MODFLOW-2005 model rather than another kind of name file.
bool IsMf2005NameFile(const Mf2005NameFile& nameFile);
// The same for the name file at `path`, looking at the first word of each
// line only, so that it also answers (false) for name files of other forms;
// false when the file cannot be read.
bool IsMf2005NameFile(const std::string& path);

// A file name of the model as a path: backslashes (of name files written on
// Windows) become slashes, a relative name lies in the name file's folder,
// letter case is kept.
std::string ResolveModelFile(const std::string& nameFilePath, const std::string& fileName);

// The first entry of a file type (upper case), or nullptr.
const NameFileEntry* FindFileType(const Mf2005NameFile& nameFile, const std::string& fileType);
// The entry of a unit number, or nullptr.
const NameFileEntry* FindUnit(const Mf2005NameFile& nameFile, int unit);

}  // namespace kestra
