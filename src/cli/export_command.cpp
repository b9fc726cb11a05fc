// kestra-cli export heads|drawdowns|velocity MODEL --layer K --out FILE: one
// layer's results of a time step written as the window's export commands
// write them.
#include <cmath>
#include <ostream>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "cli/time_step_option.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "export/result_exports.h"

namespace kestra::cli {
namespace {

constexpr const char* kUsage =
    "usage: kestra-cli export heads|drawdowns|velocity MODEL --layer K --out FILE\n"
    "                         [--period P --step S]\n"
    "Writes the heads, drawdowns or velocities of one layer of a model file (.mdl) or\n"
    "name-file model as a text array: a line with the column and row counts, then\n"
    "every row of the layer, ten 15-character values to a line. The velocity file\n"
    "holds four such arrays: the speeds, then the J, I and K components.\n"
    "  --layer K       the layer written\n"
    "  --out FILE      the file written (replaced)\n"
    "  --period P      the stress period (default: the first; --step defaults to 1)\n"
    "  --step S        the time step within the period\n"
    "  --porosity LIST, --model NAME  as for info\n"
    "Exit status: 0 written, 1 the model, the results of the step (heads, drawdowns or flow\n"
    "terms, loaded whole) or the file could not be used, nothing written; 2 wrong arguments.\n";

struct ExportOptions {
  ResultExport kind = ResultExport::Heads;
  std::string model, out;
  std::optional<int> layer;
  TimeStepChoice time;
  OpenChoices open;
};

std::optional<ResultExport> KindNamed(const std::string& word) {
  if (word == "heads") return ResultExport::Heads;
  if (word == "drawdowns") return ResultExport::Drawdowns;
  if (word == "velocity") return ResultExport::Velocity;
  return std::nullopt;
}

std::optional<int> Count(const std::string& text) {
  const auto value = ParseNumber(text);
  if (!value || *value != std::floor(*value) || *value < 1 || *value > 32767) return std::nullopt;
  return static_cast<int>(*value);
}

bool Refuse(std::ostream& err, const std::string& reason) {
  err << "kestra-cli export: " << reason << "\n";
  return false;
}

int Fail(std::ostream& err, const std::string& reason, int code) {
  Refuse(err, reason);
  return code;
}

bool ReadValue(const std::string& option, const std::string& value, ExportOptions& o) {
  if (option == "--out") return !(o.out = value).empty();
  if (option == "--layer") return (o.layer = Count(value)).has_value();
  if (option == "--period") return (o.time.period = Count(value)).has_value();
  if (option == "--step") return (o.time.step = Count(value)).has_value();
  return false;
}

bool ReadArguments(const Arguments& args, ExportOptions& o, std::ostream& err) {
  if (args.empty()) return Refuse(err, "say what to export: heads, drawdowns or velocity");
  const auto kind = KindNamed(args[0]);
  if (!kind) return Refuse(err, "cannot export '" + args[0] + "': heads, drawdowns or velocity");
  o.kind = *kind;
  for (std::size_t n = 1; n < args.size(); ++n) {
    const std::string& word = args[n];
    if (!word.starts_with("-")) {
      if (!o.model.empty()) return Refuse(err, "more than one model given");
      o.model = word;
      continue;
    }
    if (n + 1 >= args.size() || !ReadValue(word, args[n + 1], o))
      return Refuse(err, "bad option or value: " + word + (n + 1 < args.size() ? " " + args[n + 1] : ""));
    ++n;
  }
  if (o.model.empty() || o.out.empty() || !o.layer) return Refuse(err, "MODEL, --layer and --out are needed");
  if (o.time.step && !o.time.period) return Refuse(err, "--step needs --period");
  return true;
}

// What the export of `kind` needs that the time step did not load whole;
// empty when everything loaded.
std::string MissingResults(const Session& session, ResultExport kind) {
  switch (kind) {
    case ResultExport::Heads:
      return session.loaded.headsLoaded ? "" : "the heads";
    case ResultExport::Drawdowns:
      return session.loaded.drawdownsLoaded ? "" : "the drawdowns";
    case ResultExport::Velocity:
      return session.model.flowTermsLoaded && session.loaded.velocitiesComputed ? "" : "the flow terms";
  }
  return {};
}

int Export(const ExportOptions& o, std::ostream& out, std::ostream& err) {
  Session session;
  CollectingInterface ui;
  const auto reportMessages = [&] {
    for (const std::string& message : ui.messages) err << "kestra-cli export: " << message << "\n";
    ui.messages.clear();
  };
  const bool opened = OpenBatchModel(o.model, session, ui, o.open);
  reportMessages();
  if (!opened) return Fail(err, o.model + " could not be opened", 1);
  if (*o.layer > session.model.NLAY)
    return Fail(err, "--layer" + NumberText(*o.layer) + " lies beyond the" + NumberText(session.model.NLAY) +
                         " layers of the model", 2);
  if (const std::string problem = OutputPathProblem(o.out, session); !problem.empty()) return Fail(err, problem, 1);
  const bool stepFound = LoadChosenTimeStep(o.time, session, ui, "export", err);
  reportMessages();
  if (!stepFound) return 1;
  // An array of what did not load would pass for results: nothing is written.
  if (const std::string missing = MissingResults(session, o.kind); !missing.empty())
    return Fail(err, missing + " of the time step could not be loaded whole; " + o.out + " was not written", 1);
  const NoResultHeads marks{session.settings.HNOFLO, session.settings.HDRY};
  std::string error;
  if (!SaveResultExport(o.out, session.model, *o.layer, o.kind, marks, error)) return Fail(err, error, 1);
  out << "wrote " << o.out << "\n";
  return 0;
}

}  // namespace

int ExportCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage;
    return 0;
  }
  ExportOptions options;
  Arguments rest = args;
  if (!TakeOpenOptions(rest, options.open, err) || !ReadArguments(rest, options, err)) {
    err << kUsage;
    return 2;
  }
  return Export(options, out, err);
}

}  // namespace kestra::cli
