// The MODPATH 7 name file (.mpnam): the files of the flow model a run
// reads, and the search for the flow model's own name file among them.
#pragma once

#include <string>

namespace kestra {

// The files named, each as a path from the working folder of the run
// (the folder of the name file); empty when not named.
struct Mp7NameFile {
  std::string mpbas;
  std::string dis;      // MODFLOW-2005 discretization file
  std::string gridFile; // MODFLOW 6 binary grid file (GRBDIS)
  std::string tdis;
  std::string head;
  std::string budget;
};

// False, with the file and line in `problem`, when the file cannot be
// read, a line names an unknown file type, or neither DIS nor GRBDIS is named.
bool ReadMp7NameFile(const std::string& path, Mp7NameFile& names, std::string& problem);

// The flow model's name file for `names`. MODFLOW 6: "mfsim.nam" in the
// folder of the grid file. MODFLOW-2005: the ".nam" file in the folder of
// the DIS file that lists it (and the head and budget files), else the one
// named as the DIS file is; `guess` then says which was taken. Empty, with
// the reason in `problem`, when none is found.
struct FlowModelChoice {
  std::string path;
  std::string guess;  // a note for the user when the name file was not listed by its files
};
bool FindFlowModelNameFile(const Mp7NameFile& names, FlowModelChoice& choice, std::string& problem);

}  // namespace kestra
