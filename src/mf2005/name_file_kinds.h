// What a name file lists beyond what the MODFLOW-2005 import reads: name
// files of other MODFLOW versions, and packages whose cells and flows the
// import does not take into account.
#pragma once

#include <string>
#include <vector>

#include "mf2005/name_file.h"

namespace kestra {

// The MODFLOW version of a name file this system cannot import yet:
// "MODFLOW-USG" (DISU, SMS, CLN and the other file types of unstructured
// grids); empty for any other name file or one that cannot be read. (MODFLOW
// 6 name files, with their BEGIN blocks, are told apart before.)
std::string UnsupportedModflowVersion(const std::string& path);

// The message shown when such a name file is imported.
std::string UnsupportedModflowText(const std::string& path, const std::string& version);

// The file types of `nameFile`, in its order and each once, of packages that
// change flows or sinks but are not read (MNW2, SFR, UZF, LAK, ETS, DRT,
// ...). Output files, solvers and packages whose effect is already in the
// budget file's face flows (HFB6) are not named.
std::vector<std::string> UnreadPackages(const Mf2005NameFile& nameFile);

// The one message naming them; empty when there are none.
std::string UnreadPackagesText(const std::vector<std::string>& fileTypes);

}  // namespace kestra
