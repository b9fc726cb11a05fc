#include <algorithm>
#include <functional>
#include <vector>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/open_options.h"
#include "cli/single_path_arguments.h"
#include "cli/time_units.h"
#include "core/model_family.h"
#include "core/number_format.h"
#include "core/sink_codes.h"
#include "results/budget_reader.h"
#include "results/layer_result_reader.h"
#include "tracking/time_steps.h"

namespace kestra::cli {
namespace {

// A long list of periods or steps shows this many at its start and its end.
constexpr int kListedAtEachEnd = 3;

std::string YesNo(bool value) { return value ? "yes" : "no"; }

std::string ResultFileText(const std::string& path, ResultFileOpener open) {
  if (path.empty()) return "not listed";
  ResultFile result;
  switch (open(path, result)) {
    case ResultFileOpening::Missing: return path + " (missing)";
    case ResultFileOpening::Incompatible: return path + " (no known record layout)";
    case ResultFileOpening::Undecided: return path + " (damaged: neither precision reads it whole)";
    case ResultFileOpening::Opened: break;
  }
  return path + " (" + FormatName(result.Format()) + "," + NumberText(result.realBytes) + "-byte reals)";
}

void PrintGrid(const ModelState& model, std::ostream& out) {
  out << "grid:" << NumberText(model.NCOL) << " columns," << NumberText(model.NROW) << " rows,"
      << NumberText(model.NLAY) << " layers\n";
  out << "extent:" << NumberText(model.XEDGE[model.NCOL]) << " x" << NumberText(model.YEDGE[model.NROW]) << "\n";
  out << "layer types:";
  for (int k = 1; k <= model.NLAY; ++k) out << NumberText(model.LAYCON[k]);
  out << "\n";
}

std::string ModelKindText(const ModelState& model) { return FamilyOf(model).Description(); }

// The porosity of each layer: one value, or the smallest and largest of its cells.
void PrintPorosity(const ModelState& model, std::ostream& out) {
  out << "porosity:";
  for (int k = 1; k <= model.NLAY; ++k) {
    float smallest = model.POROSITY(1, 1, k), largest = smallest;
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) {
        smallest = std::min(smallest, model.POROSITY(j, i, k));
        largest = std::max(largest, model.POROSITY(j, i, k));
      }
    out << (k > 1 ? "," : "") << NumberText(smallest);
    if (largest != smallest) out << " to" << NumberText(largest);
  }
  out << "\n";
}

// Calls `print` for 1..count when there are few, else for the first and
// last kListedAtEachEnd with one line saying how many lie between.
void PrintSummarised(int count, const std::string& indent, const char* itemWord, const std::function<void(int)>& print,
                     std::ostream& out) {
  const bool summarise = count > 2 * kListedAtEachEnd + 1;
  for (int n = 1; n <= count; ++n) {
    if (summarise && n == kListedAtEachEnd + 1) {
      out << indent << "..." << NumberText(count - 2 * kListedAtEachEnd) << " " << itemWord << " more\n";
      n = count - kListedAtEachEnd;
      continue;
    }
    print(n);
  }
}

void PrintPeriods(const StressPeriods& periods, std::ostream& out) {
  const int unit = periods.timeUnit >= 0 && periods.timeUnit < kTimeUnitCount ? periods.timeUnit : 0;
  std::int64_t steps = 0;
  for (int p = 1; p <= periods.NPER; ++p) steps += periods.NSTP[p];
  out << "stress periods:" << NumberText(periods.NPER) << " (time unit " << kTimeUnitNames[unit] << "),"
      << NumberText(steps) << " time steps\n";
  const auto printPeriod = [&](int p) {
    out << "  period" << NumberText(p) << ": length" << NumberText(periods.PERLEN[p]) << "," << NumberText(periods.NSTP[p])
        << " time steps, multiplier" << NumberText(periods.TSMULT[p]) << "\n";
    const auto printStep = [&](int step) {
      const TimeWindow window = StepTimeWindow(periods, step, p);
      out << "    step" << NumberText(step) << ":" << NumberText(window.T0) << " to" << NumberText(window.T1) << "\n";
    };
    PrintSummarised(periods.NSTP[p], "    ", "time steps", printStep, out);
  };
  PrintSummarised(periods.NPER, "  ", "stress periods", printPeriod, out);
}

void PrintResults(const Session& session, std::ostream& out) {
  const ModelState& model = session.model;
  out << "heads file: " << ResultFileText(model.HeadPath, OpenLayerResultFile) << "\n";
  out << "drawdowns file: " << ResultFileText(model.DrawdownPath, OpenLayerResultFile) << "\n";
  out << "budget file: " << ResultFileText(model.BudgetPath, OpenBudgetFile) << "\n";
  out << "loaded: heads " << YesNo(session.loaded.headsLoaded) << ", drawdowns " << YesNo(session.loaded.drawdownsLoaded)
      << ", flow terms " << YesNo(model.flowTermsLoaded) << ", velocities " << YesNo(model.flowTermsLoaded)
      << "\n";
  out << "HNOFLO:" << NumberText(session.settings.HNOFLO) << "\nHDRY:" << NumberText(session.settings.HDRY) << "\n";
}

void PrintCellCounts(const ModelState& model, std::ostream& out) {
  int active = 0, inactive = 0, fixedHead = 0, sinks = 0;
  for (int k = 1; k <= model.NLAY; ++k)
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) {
        const int code = model.IBOUND(j, i, k);
        (code > 0 ? active : code < 0 ? fixedHead : inactive) += 1;
        sinks += IsSinkCode(model.SINKCODE(j, i, k));
      }
  out << "cells: active" << NumberText(active) << ", inactive" << NumberText(inactive) << ", fixed head"
      << NumberText(fixedHead) << ", sinks" << NumberText(sinks) << "\n";
}

}  // namespace

int InfoCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
  Arguments args = arguments;
  OpenChoices choices;
  if (!TakeOpenOptions(args, choices, err)) return 2;
  const std::string usage =
      std::string("usage: kestra-cli info [--porosity LIST] [--model NAME] MODEL\n"
                  "Opens a model file (.mdl) or imports a MODFLOW name file and prints what it holds.\n") +
      kOpenUsage;
  if (const auto status = AnswerOtherThanOnePath("info", args, usage, out, err)) return *status;
  const std::string& path = args[0];
  Session session;
  CollectingInterface ui;
  const bool opened = OpenBatchModel(path, session, ui, choices);
  if (opened) {
    out << "model: " << path << " (" << ModelKindText(session.model) << ")\n";
    PrintGrid(session.model, out);
    PrintPorosity(session.model, out);
    PrintPeriods(session.periods, out);
    PrintResults(session, out);
    PrintCellCounts(session.model, out);
  }
  out << "messages:" << NumberText(static_cast<int>(ui.messages.size())) << "\n";
  for (const std::string& message : ui.messages) out << "  " << message << "\n";
  if (!opened) err << "kestra-cli info: " << path << " could not be opened\n";
  return opened ? 0 : 1;
}

}  // namespace kestra::cli
