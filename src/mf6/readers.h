// The readers of the single MODFLOW 6 input files a model open needs; each
// returns false with `problem` naming the file (and line) and leaves its
// output unspecified then.
#pragma once

#include <string>
#include <vector>

#include "core/cell_connections.h"
#include "core/stress_periods.h"
#include "mf6/model.h"

namespace kestra {

// One entry of a name file's list block: the file type without its version
// ("GWF", "DIS", "WEL"), the file's path and the given name (may be empty).
struct Mf6FileEntry {
  std::string type;
  std::string path;
  std::string name;
};

// mfsim.nam: the TDIS file and the GWF models (type "GWF", path of the
// model's name file, model name).
bool ReadSimulationNameFile(const std::string& path, std::string& tdisPath, std::vector<Mf6FileEntry>& models,
                            std::string& problem);

// A GWF name file: its packages in file order; paths relative to `folder`.
bool ReadGwfNameFile(const std::string& path, const std::string& folder, std::vector<Mf6FileEntry>& packages,
                     std::string& problem);

bool ReadTimeDiscretization(const std::string& path, StressPeriods& periods, std::string& problem);
bool ReadDiscretization(const std::string& path, Mf6Grid& grid, std::string& problem);
// Only the length unit and the coordinate reference system of a DIS file,
// which a binary grid file does not hold; false, with `grid` unchanged, when
// the file cannot be read.
bool ReadDiscretizationPlace(const std::string& path, Mf6Grid& grid, std::string& problem);

// The binary grid file <model>.dis.grb: grid, origin, IDOMAIN and the
// connections, every definition and size checked against the file.
bool ReadGridFile(const std::string& path, Mf6Grid& grid, CellConnections& connections, PagedVector<int>& cellTypes,
                  std::string& problem);

// ICELLTYPE of the NPF file, NCOL x NROW x NLAY values.
bool ReadCellTypes(const std::string& path, const Mf6Grid& grid, PagedVector<int>& cellTypes, std::string& problem);

// Steady or transient per period (1..NPER) from the STO file's PERIOD blocks.
bool ReadStorage(const std::string& path, int nper, std::vector<bool>& steadyState, std::string& problem);

// The head and budget files the OC file saves to (empty when it saves none).
bool ReadOutputControl(const std::string& path, const std::string& folder, std::string& headPath,
                       std::string& budgetPath, std::string& problem);

// A list package ("WEL", "RIV", "DRN", "GHB", "CHD") per stress period,
// 1..nper; a period without a PERIOD block keeps the one before. Notes
// what is not read (time-series values).
bool ReadListPackage(const std::string& path, const std::string& kind, const Mf6Grid& grid, int nper,
                     Mf6BoundaryPackage& package, std::vector<std::string>& notes, std::string& problem);

// A MODPATH 7 basic data file for MODFLOW 6: its default IFACE entries
// (budget label, upper case, and face) and its porosity, into `porosity`,
// dimensioned for the grid; a porosity of 0 is stored as 1E-20.
bool ReadMpbas(const std::string& path, const Mf6Grid& grid, std::vector<DefaultFace>& defaultIface,
               CellArray<float>& porosity, std::string& problem);

}  // namespace kestra
