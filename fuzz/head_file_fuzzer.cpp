// Head and drawdown files: every record walked as the results listing walks
// them, then the layers of the first record's time step loaded into a model
// of its grid as an open loads them.
#include "core/model_state.h"
#include "fuzz_support.h"
#include "results/layer_result_reader.h"
#include "results/result_files.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("heads.hds", data, size);
  ResultFile result;
  if (OpenLayerResultFile(path, result) != ResultFileOpening::Opened) return 0;
  LayerResultHeader first;
  LayerResultHeader header;
  RecordSpan span;
  std::int64_t offset = result.layout->FirstRecordOffset();
  for (int records = 0; records < fuzz::kMaxRecords; ++records, offset = span.end) {
    if (ReadLayerHeader(result, offset, header) != RecordRead::Read || !LocateLayerData(result, header, span)) break;
    if (records == 0) first = header;
  }
  if (first.NCOL < 1 || first.NROW < 1 || std::int64_t{first.NCOL} * first.NROW > fuzz::kMaxModelCells) return 0;
  // A section model's record holds all layers as rows.
  const bool section = first.ILAY < 0;
  ModelState state;
  DimensionModel(state, first.NCOL, section ? 1 : first.NROW, section ? first.NROW : 3);
  state.HeadPath = path;
  state.DrawdownPath = path;
  state.CurrentStep = first.KSTP;
  state.CurrentPeriod = first.KPER;
  fuzz::SilentInterface ui;
  LoadHeads(state, Settings{}, ui, true);
  LoadDrawdowns(state, ui, true);
  return 0;
}
