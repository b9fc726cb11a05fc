// Writers of small model file sets and name-file models for the tests, in the
// layouts the readers expect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/model_state.h"
#include "settings/tracking_settings.h"

namespace kestra::test {

struct DirectoryEntry {
  int type = 0;
  int period = 0;
  std::int16_t code = 0;
};

// The record directory: one 16-bit record per (type, period), 0 elsewhere.
void WriteRecordDirectory(const std::string& path, const std::vector<DirectoryEntry>& entries);

// A data file: the 1000-record header listing `codes` (then 0), followed by
// the data sets in order.
void WriteDataFile(const std::string& path, const std::vector<float>& codes,
                   const std::vector<std::vector<float>>& dataSets);

void WriteModelFile(const std::string& path, int ncol, int nrow, int nlay, const DataFlagTable& flags,
                    const std::string& title = "test model");

// The layer type file: `count`, then `codes`.
void WriteLayerTypeFile(const std::string& path, int count, const std::vector<int>& codes);

// The tracking settings file with its period table written `copies` times.
void WriteTraFile(const std::string& path, const StressPeriods& periods, int copies = 1);

// A small model; empty value lists mean uniform defaults. Cell lists hold
// NCOL x NROW x NLAY values, layer 1 first, then row by row.
struct SmallModel {
  int ncol = 3;
  int nrow = 2;
  int nlay = 1;
  std::vector<float> columnWidths;  // default 10 each
  std::vector<float> rowHeights;    // default 20 each
  std::vector<float> top;           // default 10 in every cell
  std::vector<float> bottom;        // default 0
  std::vector<float> ibound;        // default 1
  std::vector<float> porosity;      // default 0.25
  std::vector<float> wells;         // written as data type 11 for period 1 when not empty
  StressPeriods periods;
};

// The model file set of `model` as `folder`/`name`.mdl with its record
// directory, data files, layer type file (all 0) and .TRA; returns the
// model file path.
std::string WriteModelFileSet(const std::string& folder, const std::string& name, const SmallModel& model);

// The same model as a name file `folder`/`name`.nam with a MAIN file of
// INTERNAL records and the listed extra lines (e.g. "WEL wells.wel"); returns
// the name file path. BUDGET and HEAD(BINARY) name empty files.
std::string WriteNameFileModel(const std::string& folder, const std::string& name, const SmallModel& model,
                               const std::vector<std::string>& extraEntries = {});

}  // namespace kestra::test
