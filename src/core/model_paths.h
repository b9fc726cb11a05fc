// Names of the files of a model, all derived from the path of its model file.
#pragma once

#include <string>

namespace kestra {

// The model file path without its last four characters (its ".mdl").
std::string ModelBasePath(const std::string& modelPath);

// The path without its extension (a name file "site.nam" gives "site"); the
// whole path when the file name has none.
std::string PathWithoutExtension(const std::string& path);

// The file name after the last separator of the platform.
std::string FileNameOf(const std::string& path);

// The folder of the file `path`, "." when it names none.
std::string FolderOf(const std::string& path);

// `name` in the folder of `path`; `name` itself when it is absolute. A
// backslash in `name` separates folders on every platform.
std::string BesideFile(const std::string& path, const std::string& name);

// True for a model file (extension ".mdl" in any letter case); other files
// are taken as name files.
bool IsModelFilePath(const std::string& path);

bool FileExists(const std::string& path);

// For a `path` that names no file: the one file in its folder whose name is
// the same apart from the letter case of A-Z (name files made on Windows name
// "EX01.DIS" for "ex01.dis"); empty when none or several are.
std::string FileOfOtherLetterCase(const std::string& path);

// `path` made absolute against the working folder, without "." parts, so
// that the files found beside it do not depend on where the program was
// started. Every path a user gives is resolved once, where it enters the
// program. `path` itself when it is empty or cannot be resolved.
std::string AbsolutePath(const std::string& path);

}  // namespace kestra
