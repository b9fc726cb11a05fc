#include "results/saved_steps.h"

#include "results/budget_header.h"
#include "results/budget_reader.h"
#include "results/budget_term_data.h"
#include "results/layer_result_reader.h"

namespace kestra {

bool ListHeadSteps(const std::string& path, SavedSteps& steps) {
  ResultFile result;
  if (OpenLayerResultFile(path, result) != ResultFileOpening::Opened) return false;
  for (std::int64_t offset = result.layout->FirstRecordOffset();;) {
    LayerResultHeader header;
    RecordSpan data;
    if (ReadLayerHeader(result, offset, header) != RecordRead::Read || !LocateLayerData(result, header, data))
      return true;
    steps.insert({header.KPER, header.KSTP});
    offset = data.end;
  }
}

bool ListBudgetSteps(const std::string& path, SavedSteps& steps) {
  ResultFile result;
  if (OpenBudgetFile(path, result) != ResultFileOpening::Opened) return false;
  for (std::int64_t offset = result.layout->FirstRecordOffset();;) {
    BudgetHeader header;
    std::int64_t next = 0;
    if (ReadBudgetHeader(result, offset, header) != RecordRead::Read || !SkipBudgetData(result, header, next))
      return true;
    steps.insert({header.KPER, header.KSTP});
    offset = next;
  }
}

std::string StepListText(const SavedSteps& steps) {
  std::string text;
  for (const SavedStep& s : steps)
    text += (text.empty() ? "" : ", ") + std::string("period ") + std::to_string(s.period) + " step " +
            std::to_string(s.step);
  return text;
}

std::string HeldStepsNote(const SavedSteps& held) {
  if (held.empty()) return {};
  return "Flow field of the step loaded last held over unsaved time steps: " + StepListText(held);
}

}  // namespace kestra
