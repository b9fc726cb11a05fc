#include <exception>
#include <map>

#include "cli/commands.h"
#include "core/quoted_text.h"
#include "core/version.h"

namespace kestra::cli {
namespace {

struct Command {
  CommandFunction run;
  const char* summary;
};

using CommandTable = std::map<std::string, Command>;

CommandTable Commands(const CommandFunction& plot) {
  return {
      {"capture", {CaptureCommand, "capture MODEL ...   capture and time-of-travel zones of wells as GIS polygons"}},
      {"export", {ExportCommand, "export KIND MODEL --out F  results as text, GIS (gpkg, shp, geojson, csv, tif) or VTK files"}},
      {"info", {InfoCommand, "info MODEL          open a model file (.mdl) or name file and print what it holds"}},
      {"settings", {SettingsCommand, "settings FILE.ini   print every setting of a settings file, defaults filled in"}},
      {"particles", {ParticlesCommand, "particles MODEL --out F  place particle groups over cells into a particle file"}},
      {"plot", {plot, "plot MODEL --out F  draw plan and sections of a model into a DXF, HPGL or PNG file"}},
      {"results", {ResultsCommand, "results FILE        list the records of a head, drawdown or budget file"}},
      {"track", {TrackCommand, "track MODEL ...     track the particles of a particle file, write pathlines and end points"}},
  };
}

void PrintUsage(const CommandTable& commands, std::ostream& out) {
  out << "usage: kestra-cli COMMAND [ARGUMENTS]\n       kestra-cli --version\n\ncommands:\n";
  for (const auto& [name, command] : commands) out << "  " << command.summary << "\n";
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

int RunCommandLineWith(const Arguments& args, std::ostream& out, std::ostream& err, const CommandFunction& plot) {
  const CommandTable commands = Commands(plot);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(commands, args.empty() ? err : out);
    return args.empty() ? 2 : 0;
  }
  if (args[0] == "--version") {
    out << VersionLine("kestra-cli") << "\nQt " << KESTRA_QT_VERSION << " (pictures)\n";
    return 0;
  }
  const auto found = commands.find(args[0]);
  if (found == commands.end()) {
    err << "kestra-cli: unknown command " << SingleQuotedText(args[0]) << "\n";
    PrintUsage(commands, err);
    return 2;
  }
  const Arguments commandArgs(args.begin() + 1, args.end());
  return RunCatchingFailures([&] { return found->second.run(commandArgs, out, err); }, err);
}

}  // namespace kestra::cli
