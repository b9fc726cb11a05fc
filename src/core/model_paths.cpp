#include "core/model_paths.h"

#include <algorithm>
#include <filesystem>

#include "core/text_reader.h"

namespace kestra {

namespace fs = std::filesystem;

std::string ModelBasePath(const std::string& modelPath) {
  return modelPath.size() >= 4 ? modelPath.substr(0, modelPath.size() - 4) : std::string();
}

std::string PathWithoutExtension(const std::string& path) {
  return fs::path(path).replace_extension().string();
}

std::string FileNameOf(const std::string& path) { return fs::path(path).filename().string(); }

std::string FolderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string(".") : parent.string();
}

std::string BesideFile(const std::string& path, const std::string& name) {
  // Names written on Windows separate folders with backslashes.
  std::string portable = name;
  if (fs::path::preferred_separator == '/') std::replace(portable.begin(), portable.end(), '\\', '/');
  const fs::path named(portable);
  if (named.is_absolute()) return name;
  return (fs::path(path).parent_path() / named).string();
}

bool IsModelFilePath(const std::string& path) {
  return UpperCase(fs::path(path).extension().string()) == ".MDL";
}

bool FileExists(const std::string& path) {
  std::error_code error;
  return fs::is_regular_file(path, error);
}

std::string FileOfOtherLetterCase(const std::string& path) {
  const fs::path wanted(path);
  const std::string name = UpperCase(wanted.filename().string());
  std::error_code error;
  fs::directory_iterator folder(wanted.parent_path().empty() ? fs::path(".") : wanted.parent_path(), error);
  if (error) return {};
  std::string found;
  for (const fs::directory_entry& entry : folder) {
    if (UpperCase(entry.path().filename().string()) != name || !entry.is_regular_file(error)) continue;
    if (!found.empty()) return {};
    found = (wanted.parent_path() / entry.path().filename()).string();
  }
  return found;
}

std::string AbsolutePath(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const fs::path absolute = fs::absolute(path, error);
  if (error) return path;
  // ".." stays: through a symbolic link it need not lead back to the folder.
  fs::path tidy;
  for (const fs::path& part : absolute)
    if (part != ".") tidy /= part;
  return tidy.string();
}

}  // namespace kestra
