#include <QtGlobal>
#include <exception>
#include <map>

#include "cli/commands.h"
#include "core/quoted_text.h"
#include "core/version.h"

namespace kestra::cli {
namespace {

struct Command {
  std::function<int(const Arguments&, std::ostream&, std::ostream&)> run;
  const char* summary;
};

const std::map<std::string, Command>& CommandTable() {
  static const std::map<std::string, Command> table = {
      {"export", {ExportCommand, "export heads|drawdowns|velocity MODEL --layer K --out F  one layer's results as text"}},
      {"info", {InfoCommand, "info MODEL          open a model file (.mdl) or name file and print what it holds"}},
      {"settings", {SettingsCommand, "settings FILE.ini   print every setting of a settings file, defaults filled in"}},
      {"plot", {PlotCommand, "plot MODEL --out F  draw plan and sections of a model into a DXF, HPGL or PNG file"}},
      {"results", {ResultsCommand, "results FILE        list the records of a head, drawdown or budget file"}},
      {"track", {TrackCommand, "track MODEL ...     track the particles of a particle file, write pathlines and end points"}},
  };
  return table;
}

void PrintUsage(std::ostream& out) {
  out << "usage: kestra-cli COMMAND [ARGUMENTS]\n       kestra-cli --version\n\ncommands:\n";
  for (const auto& [name, command] : CommandTable()) out << "  " << command.summary << "\n";
}

}  // namespace

int RunCatchingFailures(const std::function<int()>& command, std::ostream& err) {
  try {
    return command();
  } catch (const std::exception& failure) {
    err << "kestra-cli: the command failed: " << failure.what() << "\n";
  } catch (...) {
    err << "kestra-cli: the command failed\n";
  }
  return 1;
}

int RunCommandLine(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(args.empty() ? err : out);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    out << VersionLine("kestra-cli") << "\nQt " << qVersion() << "\n";
    return 0;
  }
  const auto found = CommandTable().find(args[0]);
  if (found == CommandTable().end()) {
    err << "kestra-cli: unknown command " << SingleQuotedText(args[0]) << "\n";
    PrintUsage(err);
    return 2;
  }
  const Arguments commandArgs(args.begin() + 1, args.end());
  return RunCatchingFailures([&] { return found->second.run(commandArgs, out, err); }, err);
}

}  // namespace kestra::cli
