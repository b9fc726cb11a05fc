// kestra-cli track MODEL --particles FILE [--out PATHLINES] [--endpoints FILE]
// ...: opens a model, tracks the particles of a particle file as the run
// commands do and writes the pathlines (in the record layout of the pathline
// export or of MODPATH 7) while it tracks, and the end points.
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "cli/batch_model.h"
#include "cli/commands.h"
#include "cli/porosity_option.h"
#include "cli/time_units.h"
#include "cli/track_output.h"
#include "cli/track_progress.h"
#include "core/number_format.h"
#include "input/sink_cells.h"
#include "input/time_step_results.h"
#include "tracking/batch_output.h"
#include "tracking/mp7_files.h"
#include "tracking/particle_file.h"
#include "tracking/time_steps.h"
#include "tracking/track_particles.h"

namespace kestra::cli {
namespace {

constexpr const char* kUsage =
    "usage: kestra-cli track MODEL --particles FILE [--out PATHLINES] [--endpoints FILE] [options]\n"
    "\n"
    "Opens a model file (.mdl) or imports a MODFLOW name file, tracks the particles of a\n"
    "particle file (any number of them) and writes their pathlines in the MODPATH record\n"
    "layout, one line per point: particle code (negative backward), x, y (up from the grid's\n"
    "last-row edge), local z, z, time, column, row, layer. The tracking settings come from\n"
    "the model's settings file; the options below override them.\n"
    "\n"
    "  --particles FILE          particle file (\"KESTRA_V100_PARTICLES\") to track\n"
    "  --out PATHLINES           pathline file to write (replaced)\n"
    "  --endpoints FILE          end point file to write (replaced); in the kestra format one\n"
    "                            CSV line per particle and direction: release and final cell\n"
    "                            and local point, final X, Y, Z, travel time and why the\n"
    "                            tracking ended. At least one of --out and --endpoints is needed;\n"
    "                            --endpoints alone tracks without writing pathlines\n"
    "  --format kestra|mp7       layout of both files: kestra (the default: the pathline\n"
    "                            records above and the CSV) or the text files of MODPATH 7\n"
    "                            (one direction only)\n"
    "  --forward                 run forward (the default when neither direction is given)\n"
    "  --backward                run backward (after the forward run when both are given)\n"
    "  --pathlines               pathline mode: walk through the time steps of the\n"
    "                            simulation (default: flowlines of the current time step)\n"
    "  --step-length T           length of one tracking step, in the time unit below\n"
    "  --time-unit U             unit of --step-length: seconds, minutes, hours, days,\n"
    "                            years or a code 0..5 (default: the settings' unit)\n"
    "  --max-steps N             tracking steps of a run\n"
    "  --stop-at-sinks on|off    stop particles entering cells with internal sinks\n"
    "  --stop-at-time-limit on|off  stop at the end (start, backward) of the simulation\n"
    "  --sinks all|by-flow       boundary cells (wells, drains, rivers, streams, general-head\n"
    "                            cells): all are sinks, or sinks by flow sign - a cell ends\n"
    "                            forward particles where its budget term takes water out of\n"
    "                            the aquifer, backward particles where it puts water in\n"
    "                            (default: the settings' rule, by flow sign when not set)\n"
    "  --release-time T|end      pathline mode: release the particles at simulation time T\n"
    "                            (model time units) or at the end of the simulation\n"
    "                            (default: the start of the time step they start in)\n"
    "  --recharge-faces 0..3     recharge on 0 top, 1 bottom, 2 both faces, 3 distributed\n"
    "  --et-faces 0..1           evapotranspiration on 0 the top face, 1 distributed\n"
    "  --period P --step S       the time step the particles start in (default 1, 1)\n"
    "  --threads N               track on N threads (0: all cores); the output does not\n"
    "                            depend on N\n"
    "  --quiet                   no progress line on the error stream (shown for runs that\n"
    "                            take longer than a second)\n"
    "  --replay                  write the pathlines by retracing the particles after the\n"
    "                            runs, as the window's pathline export does (slower, the\n"
    "                            same file)\n"
    "\n"
    "Exit status: 0 done, 1 the model, particle file or an output could not be used,\n"
    "2 wrong arguments, 3 some particles were not tracked to their end (a cell without\n"
    "saturated thickness stopped the run, or the particle file held particles outside\n"
    "the grid); they are named on the error stream and listed in the end point file.\n";

constexpr int kMaxThreads = 256;
constexpr int kSomeNotTracked = 3;

// Prints every message of the open and the runs as it comes.
class PrintingInterface : public UserInterface {
 public:
  explicit PrintingInterface(std::ostream& err) : err_(err) {}
  void Beep() override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string& title) override {
    err_ << title << ": " << text << "\n";
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }

 private:
  std::ostream& err_;
};

struct TrackOptions {
  std::string model, particles, out, endpoints;
  bool forward = false, backward = false, pathlines = false, quiet = false, replay = false;
  PathlineLayout layout = PathlineLayout::Kestra;
  std::optional<double> stepLength;
  std::optional<int> timeUnit, maxSteps, rechargeFaces, etFaces, period, step;
  std::optional<bool> stopAtSinks, stopAtTimeLimit;
  std::optional<BoundaryCellRule> sinks;
  std::optional<double> releaseTime;  // negative: the end of the simulation
  LayerPorosity porosity;
  std::optional<int> threads;
};

template <typename Number>
bool ParseNumber(const std::string& text, Number& value) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  return error == std::errc{} && stop == end;
}

bool ParseInt(const std::string& text, int low, int high, std::optional<int>& value) {
  int parsed = 0;
  if (!ParseNumber(text, parsed) || parsed < low || parsed > high) return false;
  value = parsed;
  return true;
}

bool ParseSwitch(const std::string& text, std::optional<bool>& value) {
  if (text != "on" && text != "off") return false;
  value = text == "on";
  return true;
}

bool ParseStepLength(const std::string& text, std::optional<double>& value) {
  double length = 0;
  if (!ParseNumber(text, length) || !(length > 0)) return false;
  value = length;
  return true;
}

bool ParseUnit(const std::string& text, std::optional<int>& value) {
  const int unit = ParseTimeUnit(text);
  if (unit < 0) return false;
  value = unit;
  return true;
}

bool ParseSinks(const std::string& text, std::optional<BoundaryCellRule>& value) {
  if (text != "all" && text != "by-flow") return false;
  value = text == "all" ? BoundaryCellRule::AllAreSinks : BoundaryCellRule::SinksByFlowSign;
  return true;
}

bool ParseReleaseTime(const std::string& text, std::optional<double>& value) {
  double time = -1;
  if (text != "end" && (!ParseNumber(text, time) || !(time >= 0) || !std::isfinite(time))) return false;
  value = time;
  return true;
}

bool ParseLayout(const std::string& text, PathlineLayout& layout) {
  if (text != "kestra" && text != "mp7") return false;
  layout = text == "mp7" ? PathlineLayout::Mp7 : PathlineLayout::Kestra;
  return true;
}

bool ParseText(const std::string& text, std::string& value) {
  value = text;
  return true;
}

// Reads one option with its value; false on an unknown option or a bad value.
bool ParseOption(const std::string& name, const std::string& value, TrackOptions& o) {
  if (name == "--particles") return ParseText(value, o.particles);
  if (name == "--out") return ParseText(value, o.out);
  if (name == "--endpoints") return ParseText(value, o.endpoints);
  if (name == "--step-length") return ParseStepLength(value, o.stepLength);
  if (name == "--time-unit") return ParseUnit(value, o.timeUnit);
  if (name == "--max-steps") return ParseInt(value, 1, 2147483647, o.maxSteps);
  if (name == "--stop-at-sinks") return ParseSwitch(value, o.stopAtSinks);
  if (name == "--stop-at-time-limit") return ParseSwitch(value, o.stopAtTimeLimit);
  if (name == "--sinks") return ParseSinks(value, o.sinks);
  if (name == "--release-time") return ParseReleaseTime(value, o.releaseTime);
  if (name == "--recharge-faces") return ParseInt(value, 0, 3, o.rechargeFaces);
  if (name == "--et-faces") return ParseInt(value, 0, 1, o.etFaces);
  if (name == "--period") return ParseInt(value, 1, 32767, o.period);
  if (name == "--step") return ParseInt(value, 1, 32767, o.step);
  if (name == "--threads") return ParseInt(value, 0, kMaxThreads, o.threads);
  if (name == "--format") return ParseLayout(value, o.layout);
  return false;
}

// Reads an option without a value; false when `arg` is none.
bool ParseFlag(const std::string& arg, TrackOptions& o) {
  if (arg == "--forward") return o.forward = true;
  if (arg == "--backward") return o.backward = true;
  if (arg == "--pathlines") return o.pathlines = true;
  if (arg == "--quiet") return o.quiet = true;
  if (arg == "--replay") return o.replay = true;
  return false;
}

// False, with the reason in `err`, on a wrong command line.
bool ParseArguments(const Arguments& args, TrackOptions& o, std::ostream& err) {
  for (std::size_t n = 0; n < args.size(); ++n) {
    const std::string& arg = args[n];
    if (ParseFlag(arg, o)) continue;
    if (!arg.starts_with("--") && o.model.empty()) {
      o.model = arg;
      continue;
    }
    const bool hasValue = n + 1 < args.size();
    if (hasValue && ParseOption(arg, args[n + 1], o)) {
      ++n;
      continue;
    }
    err << "kestra-cli track: bad option or value: " << arg << (hasValue ? " " + args[n + 1] : "") << "\n";
    return false;
  }
  if (o.model.empty() || o.particles.empty() || (o.out.empty() && o.endpoints.empty())) {
    err << "kestra-cli track: MODEL, --particles and --out or --endpoints are needed\n";
    return false;
  }
  if (o.layout == PathlineLayout::Mp7 && o.forward && o.backward) {
    err << "kestra-cli track: a MODPATH 7 file holds one tracking direction\n";
    return false;
  }
  if (o.replay && (o.out.empty() || o.layout != PathlineLayout::Kestra)) {
    err << "kestra-cli track: --replay writes the pathline file of the kestra format\n";
    return false;
  }
  if (o.period.has_value() != o.step.has_value()) {
    err << "kestra-cli track: --period and --step go together\n";
    return false;
  }
  if (o.releaseTime && !o.pathlines) {
    err << "kestra-cli track: --release-time needs --pathlines\n";
    return false;
  }
  if (!o.forward && !o.backward) o.forward = true;
  return true;
}

void ApplyOverrides(const TrackOptions& o, const StressPeriods& periods, TrackingSettings& t) {
  if (o.pathlines) t.SimulationMode = 2;
  if (o.timeUnit) t.TimeUnit = static_cast<std::int16_t>(*o.timeUnit);
  // Step lengths are kept in the model's time unit.
  if (o.stepLength) t.StepLength = *o.stepLength * TimeUnitFactor(t.TimeUnit, periods.timeUnit);
  if (o.maxSteps) t.MaximumSteps = *o.maxSteps;
  if (o.stopAtSinks) t.StopAtSinks = *o.stopAtSinks ? -1 : 0;
  if (o.stopAtTimeLimit) t.StopAtTimeLimit = *o.stopAtTimeLimit ? -1 : 0;
  if (o.rechargeFaces) t.RechargeAssignment = static_cast<std::int16_t>(*o.rechargeFaces);
  if (o.etFaces) t.EvapotranspirationAssignment = static_cast<std::int16_t>(*o.etFaces);
  if (o.sinks) t.BoundaryCells = *o.sinks;
  if (o.releaseTime) t.ReleaseTime = *o.releaseTime < 0 ? SimulationEnd(periods) : *o.releaseTime;
}

// Makes the asked time step current and loads its results. False (after
// saying why) when the model has no such step or its flow terms did not load.
bool LoadStartStep(const TrackOptions& o, Session& session, UserInterface& ui, std::ostream& err) {
  ModelState& model = session.model;
  if (o.period) {
    if (*o.period > session.periods.NPER || *o.step > session.periods.NSTP[*o.period]) {
      err << "kestra-cli track: the model has no time step" << NumberText(*o.step) << " in stress period"
          << NumberText(*o.period) << "\n";
      return false;
    }
    model.CurrentPeriod = *o.period;
    model.CurrentStep = *o.step;
    session.loaded = LoadTimeStepResults(model, session.settings, session.tracking, ui, StepResults::All);
  }
  if (!model.flowTermsLoaded) err << "kestra-cli track: the flow terms of the time step could not be loaded\n";
  return model.flowTermsLoaded;
}

int ThreadCount(const TrackOptions& o) {
  const int threads = o.threads.value_or(1);
  return threads > 0 ? threads : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// The simulation time at which the particles are released: the start of
// the time step current when the runs begin.
// The simulation time the particles start at: a pathline run's release time
// when one is set, else the start of the time step they start in.
double ReleaseTime(const Session& session) {
  const TrackingSettings& tracking = session.tracking;
  if (tracking.SimulationMode == 2 && tracking.ReleaseTime) return *tracking.ReleaseTime;
  return StepTimeWindow(session.periods, session.model.CurrentStep, session.model.CurrentPeriod).T0;
}

// Tracks in the asked directions, the pathlines going into `output` as they come.
void RunDirections(const TrackOptions& o, TrackingRun& run, BatchOutput& output, std::ostream& err) {
  TrackProgress progress(err, o.quiet);
  output.OnProgress([&progress](const BatchCounts& counts) { progress.Update(counts); });
  for (const int direction : {1, -1}) {
    if (!(direction > 0 ? o.forward : o.backward)) continue;
    progress.Start(direction > 0 ? "forward" : "backward", run.particles.ParticleCount(), output.Counts());
    RunTrackingCommand(run, direction > 0 ? TrackMode::ForwardRun : TrackMode::BackwardRun);
    progress.Finish();
    output.Endpoints().AddMissing(run.particles, direction);
  }
}

int Track(const TrackOptions& o, std::ostream& out, std::ostream& err) {
  Session session;
  PrintingInterface ui(err);
  if (!OpenBatchModel(o.model, session, ui, o.porosity)) {
    err << "kestra-cli track: " << o.model << " could not be opened\n";
    return 1;
  }
  ApplyOverrides(o, session.periods, session.tracking);
  if (o.releaseTime && !WithinSimulation(session.periods, *session.tracking.ReleaseTime)) {
    err << "kestra-cli track: the release time lies beyond the end of the simulation,"
        << NumberText(SimulationEnd(session.periods)) << "\n";
    return 2;
  }
  // The open decided the sink cells by the settings' rule.
  if (o.sinks) LoadSinkCells(session.model, session.tracking.BoundaryCells, ui, true);
  if (!LoadStartStep(o, session, ui, err)) return 1;
  ParticleSet particles;
  std::vector<int> skipped;
  if (!ReadParticleFile(o.particles, session.model, particles, ui, ParticleLimit::None, &skipped)) return 1;

  std::ofstream pathlineFile;
  const bool writesWhileTracking = !o.out.empty() && !o.replay;
  if (writesWhileTracking) {
    pathlineFile.open(o.out, std::ios::binary);
    if (!pathlineFile) {
      err << "kestra-cli track: cannot write " << o.out << "\n";
      return 1;
    }
  }
  if (writesWhileTracking && o.layout == PathlineLayout::Mp7) {
    std::string header;
    AppendMp7PathlineHeader(header, o.backward ? -1 : 1, ReleaseTime(session));
    pathlineFile << header;
  }
  BatchOutput output(session.model, particles.ParticleCount(), writesWhileTracking ? &pathlineFile : nullptr,
                     o.layout);
  ModelStepLoader loader(session.settings, session.tracking, ui);
  RunControl control;
  TrackingRun run{session.model, session.settings, session.tracking, session.periods, particles,
                  session.busy,  ui,               output,           loader,          control,
                  ThreadCount(o)};
  RunDirections(o, run, output, err);

  pathlineFile.close();
  if ((writesWhileTracking && pathlineFile.fail()) || (o.replay && !WriteReplayedPathlines(o.out, run))) {
    err << "kestra-cli track: cannot write " << o.out << "\n";
    return 1;
  }
  const std::vector<Endpoint> endpoints = output.Endpoints().Endpoints();
  if (!o.endpoints.empty() && !WriteEndpointFile(o.endpoints, o.layout, session.model, endpoints,
                                                 o.backward ? -1 : 1, ReleaseTime(session))) {
    err << "kestra-cli track: cannot write " << o.endpoints << "\n";
    return 1;
  }
  const bool allTracked = ReportUntracked(endpoints, skipped, err);
  out << "tracked" << NumberText(particles.ParticleCount()) << " particles";
  if (!o.out.empty()) out << "; pathlines in " << o.out;
  if (!o.endpoints.empty()) out << "; end points in " << o.endpoints;
  out << "\n";
  return allTracked ? 0 : kSomeNotTracked;
}

}  // namespace

int TrackCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage << kPorosityUsage;
    return 0;
  }
  TrackOptions options;
  Arguments rest = args;
  if (!TakePorosityOption(rest, options.porosity, err) || !ParseArguments(rest, options, err)) {
    err << kUsage << kPorosityUsage;
    return 2;
  }
  return Track(options, out, err);
}

}  // namespace kestra::cli
