// The commands of kestra-cli. Each takes its own arguments (without the
// command word) and returns the process exit code.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace kestra::cli {

using Arguments = std::vector<std::string>;
using CommandFunction = std::function<int(const Arguments&, std::ostream&, std::ostream&)>;

int InfoCommand(const Arguments& args, std::ostream& out, std::ostream& err);
int SettingsCommand(const Arguments& args, std::ostream& out, std::ostream& err);
// results FILE: layout, precision and one line per record of a result file.
int ResultsCommand(const Arguments& args, std::ostream& out, std::ostream& err);
// plot MODEL --out FILE [...]: plan and sections into a DXF, HPGL or PNG file.
int PlotCommand(const Arguments& args, std::ostream& out, std::ostream& err);
// export heads|drawdowns|velocity MODEL --layer K --out FILE: one layer's results as text.
int ExportCommand(const Arguments& args, std::ostream& out, std::ostream& err);
// particles MODEL --out FILE [...]: particle groups placed over cells into a particle file.
int ParticlesCommand(const Arguments& args, std::ostream& out, std::ostream& err);
// track MODEL --particles FILE --out PATHLINES [options]: tracks and writes pathlines and end points.
int TrackCommand(const Arguments& args, std::ostream& out, std::ostream& err);
// capture MODEL --well L,R,C --times LIST --out ZONES: capture and time-of-travel zones of wells.
int CaptureCommand(const Arguments& args, std::ostream& out, std::ostream& err);

// Runs `command`; no exception leaves it: a file system or memory failure
// the command did not foresee ends it with a message on `err` and exit
// status 1. Every command runs so.
int RunCatchingFailures(const std::function<int()>& command, std::ostream& err);

// Runs the command line (argv without the program name), the plot command
// through `plot`: the commands that draw no picture need no graphics library,
// so a program without one can hand plots to one that has it.
int RunCommandLineWith(const Arguments& args, std::ostream& out, std::ostream& err, const CommandFunction& plot);

// Runs the command line with every command in this process (the picture
// program and the tests).
int RunCommandLine(const Arguments& args, std::ostream& out, std::ostream& err);

}  // namespace kestra::cli
