#include "modpath/mp7_name_file.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "core/text_reader.h"
#include "modpath/mp7_input.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

std::string* Entry(Mp7NameFile& names, const std::string& type) {
  static const std::map<std::string, std::string Mp7NameFile::*> kTypes = {
      {"MPBAS", &Mp7NameFile::mpbas}, {"DIS", &Mp7NameFile::dis},   {"GRBDIS", &Mp7NameFile::gridFile},
      {"TDIS", &Mp7NameFile::tdis},   {"HEAD", &Mp7NameFile::head}, {"BUDGET", &Mp7NameFile::budget}};
  const auto found = kTypes.find(type);
  return found == kTypes.end() ? nullptr : &(names.*(found->second));
}

std::string FileNameKey(const std::string& path) { return UpperCase(fs::path(path).filename().string()); }

// The files of the folder whose names end in `extension` (any case), sorted.
std::vector<fs::path> FilesEndingIn(const fs::path& folder, const std::string& extension) {
  std::vector<fs::path> found;
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder.empty() ? "." : folder, error)) {
    const std::string name = UpperCase(entry.path().filename().string());
    if (name.size() >= extension.size() && name.ends_with(extension)) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

// True when the MODFLOW-2005 name file at `path` lists every one of `files` (by file name).
bool ListsFiles(const fs::path& path, const std::vector<std::string>& files) {
  const std::optional<std::string> text = ReadTextFile(path.string());
  if (!text) return false;
  std::vector<std::string> listed;
  Mp7Input input(path.string(), *text);
  for (std::string line; input.NextLine(line);) {
    const std::vector<std::string> fields = Mp7Fields(line);
    if (fields.size() >= 3) listed.push_back(FileNameKey(fields[2]));
  }
  return std::all_of(files.begin(), files.end(), [&listed](const std::string& file) {
    return file.empty() || std::find(listed.begin(), listed.end(), FileNameKey(file)) != listed.end();
  });
}

bool FindMf6Simulation(const Mp7NameFile& names, FlowModelChoice& choice, std::string& problem) {
  const fs::path folder = fs::path(names.gridFile).parent_path();
  for (const fs::path& candidate : FilesEndingIn(folder, "MFSIM.NAM"))
    if (UpperCase(candidate.filename().string()) == "MFSIM.NAM") {
      choice.path = candidate.string();
      return true;
    }
  problem = "no mfsim.nam lies in the folder of the grid file " + names.gridFile + ".";
  return false;
}

bool FindMf2005NameFile(const Mp7NameFile& names, FlowModelChoice& choice, std::string& problem) {
  const fs::path folder = fs::path(names.dis).parent_path();
  const std::vector<fs::path> candidates = FilesEndingIn(folder, ".NAM");
  for (const fs::path& candidate : candidates)
    if (ListsFiles(candidate, {names.dis, names.head, names.budget})) {
      choice.path = candidate.string();
      return true;
    }
  const std::string stem = UpperCase(fs::path(names.dis).stem().string()) + ".NAM";
  for (const fs::path& candidate : candidates)
    if (UpperCase(candidate.filename().string()) == stem) {
      choice.path = candidate.string();
      choice.guess = "no name file beside " + names.dis + " lists it with the head and budget files; " +
                     candidate.string() + ", named as the DIS file, was opened.";
      return true;
    }
  problem = "no MODFLOW name file (.nam) in the folder of " + names.dis + " lists it, and none is named as it is.";
  return false;
}

}  // namespace

bool ReadMp7NameFile(const std::string& path, Mp7NameFile& names, std::string& problem) {
  std::optional<Mp7Input> input = Mp7Input::Open(path, problem);
  if (!input) return false;
  Mp7NameFile read;
  const fs::path folder = input->Folder();
  for (std::string line; input->NextLine(line);) {
    const std::vector<std::string> fields = Mp7Fields(line);
    if (fields.empty()) continue;
    std::string* entry = Entry(read, UpperCase(fields[0]));
    if (!entry || fields.size() < 2) {
      input->Fail("\"" + line + "\" is not a file type (MPBAS, DIS, GRBDIS, TDIS, HEAD, BUDGET) and a file name.");
      problem = input->Problem();
      return false;
    }
    *entry = (folder / fields[1]).string();
  }
  if (read.dis.empty() == read.gridFile.empty()) {
    problem = path + " names " + (read.dis.empty() ? "neither a DIS nor a GRBDIS file." : "both a DIS and a GRBDIS file.");
    return false;
  }
  names = read;
  return true;
}

bool FindFlowModelNameFile(const Mp7NameFile& names, FlowModelChoice& choice, std::string& problem) {
  choice = {};
  return names.gridFile.empty() ? FindMf2005NameFile(names, choice, problem)
                                : FindMf6Simulation(names, choice, problem);
}

}  // namespace kestra
