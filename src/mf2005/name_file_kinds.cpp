#include "mf2005/name_file_kinds.h"

#include <algorithm>
#include <iterator>
#include <string_view>

#include "mf2005/text_file.h"

namespace kestra {
namespace {

// File types that exist only in MODFLOW-USG name files.
constexpr std::string_view kUsgFileTypes[] = {"DISU", "SMS", "CLN", "GNC", "BCT",
                                                           "DPT",  "DDC", "MDT", "PCB"};

// Read by the import, or without effect on where particles go: result and
// list files, solvers, observations, output of other programs, parameter
// tables, and HFB6, whose barriers are already in the face flows.
constexpr std::string_view kAccountedFileTypes[] = {
    "DIS",  "BAS6", "LPF",  "UPW",  "BCF6", "OC",   "WEL",         "RIV",  "DRN",  "GHB",
    "STR",  "RCH",  "EVT",  "CHD",  "LIST", "DATA", "DATA(BINARY)", "DATAGLO", "DATAGLO(BINARY)", "GLOBAL",
    "PCG",  "PCGN", "SIP",  "SOR",  "DE4",  "GMG",  "NWT",         "LMG",  "HFB6", "HOB",
    "DROB", "RVOB", "GBOB", "CHOB", "STOB", "GAGE", "HYD"};

// Other file types that only feed packages read or programs run later.
constexpr std::string_view kSupportFileTypes[] = {"MULT", "ZONE", "PVAL", "LMT6", "LMT7"};

template <std::size_t N>
bool Contains(const std::string_view (&list)[N], const std::string& fileType) {
  return std::find(std::begin(list), std::end(list), fileType) != std::end(list);
}

}  // namespace

std::string UnsupportedModflowVersion(const std::string& path) {
  TextFile file;
  if (!LoadTextFile(path, file)) return {};
  for (const auto& line : file.lines) {
    const auto words = SplitWords(line);
    if (words.empty()) continue;
    const std::string first = UpperCase(words[0]);
    if (Contains(kUsgFileTypes, first)) return "MODFLOW-USG";
  }
  return {};
}

std::string UnsupportedModflowText(const std::string& path, const std::string& version) {
  return "The name file " + path + " belongs to a " + version +
         " model. Kestra imports MODFLOW-2005 and MODFLOW-NWT models; " + version + " models are not supported yet.";
}

std::vector<std::string> UnreadPackages(const Mf2005NameFile& nameFile) {
  std::vector<std::string> unread;
  for (const auto& entry : nameFile.entries) {
    const std::string& fileType = entry.fileType;
    if (Contains(kAccountedFileTypes, fileType) || Contains(kSupportFileTypes, fileType)) continue;
    if (std::find(unread.begin(), unread.end(), fileType) == unread.end()) unread.push_back(fileType);
  }
  return unread;
}

std::string UnreadPackagesText(const std::vector<std::string>& fileTypes) {
  if (fileTypes.empty()) return {};
  std::string names;
  for (const auto& fileType : fileTypes) names += (names.empty() ? "" : ", ") + fileType;
  return "These packages of the name file are not read: " + names +
         ". Their cells are not marked as sinks or fixed heads, and flows they add to or take from cells are not "
         "taken into account (only the face flows of the budget file are).";
}

}  // namespace kestra
