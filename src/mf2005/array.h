// Array control records of MODFLOW-2005 (the rules of its U2DREL, U2DINT
// and U1DREL) and the values they lead to.
//
// Free-format records: "CONSTANT c", "INTERNAL cnstnt fmtin iprn",
// "EXTERNAL unit cnstnt fmtin iprn", "OPEN/CLOSE file cnstnt fmtin iprn".
// Any other record is fixed format: LOCAT (I10), CNSTNT (F10 or I10), FMTIN
// (20 characters), IPRN (I10); LOCAT 0 is a constant, LOCAT > 0 a formatted
// unit (the package's own unit reads on in the package file), LOCAT < 0 a
// binary unit. FMTIN "(FREE)" or "*" reads list-directed, anything else as a
// Fortran format. Each row is one READ, so it starts on a new line.
//
// CNSTNT multiplies the values read unless it is 0, which leaves them as read
// (MODFLOW's rule for real and integer arrays alike).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/cell_array.h"
#include "mf2005/name_file.h"
#include "mf2005/text_file.h"

namespace kestra {

// The files a model's array control records can name. An EXTERNAL unit stays
// open: the next array on the same unit reads on where the last one stopped.
struct Mf2005Files {
  Mf2005NameFile nameFile;
  std::map<int, TextFile> openUnits;
};

// A package file being read, with the unit number the name file gave it.
struct PackageInput {
  TextFile file;
  int unit = 0;
};

// The text file of formatted unit `unit`: the package file itself for its
// own unit, else the name file's entry, opened on first use. nullptr with
// `problem` set when the unit is not listed, is binary or cannot be read.
TextFile* FormattedUnitFile(PackageInput& input, Mf2005Files& files, int unit, std::string& problem);

// Loads the file an OPEN/CLOSE record names (as the name file names files);
// false with `problem` set when it cannot be read.
bool LoadOpenCloseFile(const PackageInput& input, const Mf2005Files& files, const std::string& name, TextFile& file,
                       std::string& problem);

// Reads a control record and its ncol x nrow values (row 1 first, columns
// 1..ncol in a row) into `values`. False with `problem` set when the record,
// a file it names or a value cannot be read; binary arrays are refused.
bool ReadRealArray(PackageInput& input, Mf2005Files& files, int ncol, int nrow, std::vector<float>& values,
                   std::string& problem);
bool ReadIntegerArray(PackageInput& input, Mf2005Files& files, int ncol, int nrow, std::vector<int>& values,
                      std::string& problem);

// Puts an array read row by row (row 1 first) into layer `layer` of `target`.
template <typename T, typename V>
void PutLayerValues(const std::vector<V>& values, int layer, CellArray<T>& target) {
  const int ncol = target.shape.ncol;
  for (int i = 1; i <= target.shape.nrow; ++i)
    for (int j = 1; j <= ncol; ++j)
      target(j, i, layer) = static_cast<T>(values[static_cast<std::size_t>(i - 1) * ncol + j - 1]);
}

}  // namespace kestra
