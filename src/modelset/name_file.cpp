#include "modelset/name_file.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>
#include <vector>

#include "core/model_paths.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

// Where the file name of each recognised type word goes.
std::string* EntryFor(const std::string& type, NameFileEntries& entries) {
  if (type == "MAIN") return &entries.main;
  if (type == "RCH") return &entries.packages.recharge;
  if (type == "WEL") return &entries.packages.wells;
  if (type == "RIV") return &entries.packages.rivers;
  if (type == "STR") return &entries.packages.streams;
  if (type == "DRN") return &entries.packages.drains;
  if (type == "GHB") return &entries.packages.generalHead;
  if (type == "EVT") return &entries.evapotranspiration;
  if (type == "BUDGET") return &entries.budget;
  if (type == "HEAD(BINARY)") return &entries.heads;
  if (type == "DRAWDOWN(BINARY)") return &entries.drawdowns;
  return nullptr;
}

bool ListedFilesExist(const NameFileEntries& entries) {
  const std::string* listed[] = {&entries.main, &entries.packages.recharge, &entries.packages.wells,
                                 &entries.packages.rivers, &entries.packages.streams, &entries.packages.drains,
                                 &entries.packages.generalHead, &entries.evapotranspiration, &entries.budget,
                                 &entries.heads, &entries.drawdowns};
  return std::all_of(std::begin(listed), std::end(listed),
                     [](const std::string* path) { return path->empty() || FileExists(*path); });
}

}  // namespace

bool ReadNameFile(const std::string& path, NameFileEntries& entries, UserInterface& ui) {
  entries = NameFileEntries{};
  const auto text = ReadTextFile(path);
  std::istringstream lines(text.value_or(""));
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string type, name;
    words >> type >> name;
    std::string* entry = EntryFor(UpperCase(type), entries);
    if (entry && !name.empty()) *entry = BesideFile(path, name);
  }
  const bool complete = text && !entries.main.empty() && !entries.budget.empty() && !entries.heads.empty() &&
                        ListedFilesExist(entries);
  if (!complete)
    Complain(ui,
             "Error(s) found in the Name File " + path + "\n\r" +
                 "Could not find data files listed in the Name File.",
             MessageIcon::Error);
  return complete;
}

}  // namespace kestra
