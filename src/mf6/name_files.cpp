#include "mf6/input_file.h"
#include "mf6/readers.h"
#include "core/model_paths.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

// "GWF6" -> "GWF", "DIS6" -> "DIS".
std::string TypeWithoutVersion(const std::string& word) {
  std::string type = UpperCase(word);
  if (!type.empty() && type.back() == '6') type.pop_back();
  return type;
}

// The entries of `block`: type, file and optional name on each line.
bool ReadEntries(const Mf6InputFile& file, const Mf6Block& block, const std::string& folder,
                 std::vector<Mf6FileEntry>& entries, std::string& problem) {
  for (std::size_t line = block.first; line < block.end; ++line) {
    const auto words = Mf6Words(file.lines[line].text);
    if (words.size() < 2) {
      problem = Mf6LineProblem(file, line, "a file type and a file name are expected.");
      return false;
    }
    entries.push_back({TypeWithoutVersion(words[0]), Mf6Path(folder, words[1]), words.size() > 2 ? words[2] : ""});
  }
  return true;
}

}  // namespace

bool ReadSimulationNameFile(const std::string& path, std::string& tdisPath, std::vector<Mf6FileEntry>& models,
                            std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* timing = FindBlock(file, "TIMING");
  const Mf6Block* modelBlock = FindBlock(file, "MODELS");
  std::vector<Mf6FileEntry> timingEntries;
  std::vector<Mf6FileEntry> entries;
  const std::string folder = FolderOf(path);
  if (timing == nullptr || modelBlock == nullptr || !ReadEntries(file, *timing, folder, timingEntries, problem) ||
      !ReadEntries(file, *modelBlock, folder, entries, problem)) {
    if (problem.empty()) problem = Mf6LineProblem(file, file.lines.size(), "the TIMING or MODELS block is missing.");
    return false;
  }
  tdisPath.clear();
  for (const auto& entry : timingEntries)
    if (entry.type == "TDIS") tdisPath = entry.path;
  models.clear();
  for (const auto& entry : entries)
    if (entry.type == "GWF") models.push_back(entry);
  if (tdisPath.empty() || models.empty()) {
    problem = Mf6LineProblem(file, file.lines.size(), tdisPath.empty() ? "the TIMING block names no TDIS6 file."
                                                                       : "the MODELS block lists no GWF6 model.");
    return false;
  }
  return true;
}

bool ReadGwfNameFile(const std::string& path, const std::string& folder, std::vector<Mf6FileEntry>& packages,
                     std::string& problem) {
  Mf6InputFile file;
  if (!LoadMf6Input(path, file, problem)) return false;
  const Mf6Block* block = FindBlock(file, "PACKAGES");
  if (block == nullptr) {
    problem = Mf6LineProblem(file, file.lines.size(), "the PACKAGES block is missing.");
    return false;
  }
  packages.clear();
  return ReadEntries(file, *block, folder, packages, problem);
}

}  // namespace kestra
