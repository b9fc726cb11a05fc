// Heads and drawdowns: for every saved time step and layer a header record
// (KSTP, KPER, PERTIM, TOTIM, TEXT, NCOL, NROW, ILAY) and a data record of
// NCOL x NROW reals, row 1 first, columns 1..NCOL within a row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/user_interface.h"
#include "results/result_file.h"
#include "results/result_messages.h"

namespace kestra {

struct LayerResultHeader {
  std::int32_t KSTP = 0;
  std::int32_t KPER = 0;
  double PERTIM = 0;  // time within the stress period
  double TOTIM = 0;   // total elapsed time
  std::string TEXT;
  std::int32_t NCOL = 0;
  std::int32_t NROW = 0;
  std::int32_t ILAY = 0;
  std::int64_t dataOffset = 0;  // where the data record starts
};

// The ILAY of a cross-section model's record (option XSECTION): one record
// per time step holds every layer, NROW counting layers, layer 1 first.
inline constexpr std::int32_t kSectionLayer = -1;

// Reads the header record at `offset`. Damaged when it does not read whole or
// its fields cannot be a header (TEXT not printable, a dimension below 1).
RecordRead ReadLayerHeader(ResultFile& result, std::int64_t offset, LayerResultHeader& header);
// Finds the data record after `header`; false when it is damaged or runs past
// the end of the file.
bool LocateLayerData(ResultFile& result, const LayerResultHeader& header, RecordSpan& data);

// Opens a head or drawdown file and finds its layout and precision; a file
// whose first records parse only in part is Opened with the first guess.
ResultFileOpening OpenLayerResultFile(const std::string& path, ResultFile& result);
// True when the first record of the open file is a cross-section record.
bool HoldsSections(ResultFile& result);

// One layer wanted: kind, time step, stress period, layer and the model's grid.
struct LayerResultQuery {
  ResultKind kind = ResultKind::Heads;
  int kstp = 1;
  int kper = 1;
  int layer = 1;
  int ncol = 0;
  int nrow = 0;
};

// Searches the open file from 1-based `position` for the layer of `query` and
// fills `target` (value (j, i) at (i - 1) * ncol + j - 1). On success the
// position is left behind the layer's data; on failure it and the layer are
// unchanged, apart from values of a damaged or refused data record already read.
bool FindLayerResult(ResultFile& result, const LayerResultQuery& query, std::vector<float>& target,
                     std::int64_t& position, const ResultMessages& messages);

// The same for the file at `path`, opened for this one call. False, with the
// missing-file or compatibility message, when it cannot be read.
bool ReadLayerResult(const LayerResultQuery& query, const std::string& path, std::vector<float>& target,
                     std::int64_t& position, UserInterface& ui, bool showMessages);

}  // namespace kestra
