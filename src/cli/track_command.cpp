// kestra-cli track MODEL --particles FILE [--out PATHLINES] [--endpoints FILE]
// ...: opens a model, tracks the particles of a particle file as the run
// commands do and writes the pathlines (in the record layout of the pathline
// export or of MODPATH 7) while it tracks, and the end points.
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch_model.h"
#include "cli/batch_particles.h"
#include "cli/mpsim_run.h"
#include "cli/commands.h"
#include "cli/open_options.h"
#include "cli/output_paths.h"
#include "cli/run_summary.h"
#include "cli/time_units.h"
#include "cli/track_output.h"
#include "cli/track_progress.h"
#include "cli/tracking_options.h"
#include "core/atomic_file.h"
#include "core/number_format.h"
#include "core/world_position.h"
#include "export/export_formats.h"
#include "export/gis_writer.h"
#include "session/result_files.h"
#include "session/sink_cells.h"
#include "session/time_step_results.h"
#include "tracking/batch_output.h"
#include "tracking/mp7_files.h"
#include "tracking/particle_file.h"
#include "tracking/time_steps.h"
#include "tracking/track_particles.h"

namespace kestra::cli {
namespace {

constexpr const char* kUsage =
    "usage: kestra-cli track MODEL --particles FILE [--out PATHLINES] [--endpoints FILE] [options]\n"
    "       kestra-cli track --mpsim RUN.mpsim [--endpoints FILE] [--out PATHLINES] [--timeseries FILE]\n"
    "                        [--unsaved-steps refuse|hold]\n"
    "\n"
    "Opens a model file (.mdl) or imports a MODFLOW name file, tracks the particles of a\n"
    "particle file (any number of them) and writes their pathlines in the MODPATH record\n"
    "layout, one line per point: particle code (negative backward), x, y (up from the grid's\n"
    "last-row edge), local z, z, time, column, row, layer. The tracking settings come from\n"
    "the model's settings file; the options below override them.\n"
    "\n"
    "  --mpsim RUN.mpsim         run a MODPATH 7 simulation file: the flow model, options,\n"
    "                            particle groups and release times it names, MODPATH's\n"
    "                            tracking rules; writes its end point file (and pathline\n"
    "                            and time series files) in the MODPATH 7 layout, or those\n"
    "                            given; options it has that are not used are named on the\n"
    "                            error stream\n"
    "  --timeseries FILE         (with --mpsim) the time series file to write (replaced)\n"
    "  --particles FILE.sloc     (with MODEL) a MODPATH 7 starting locations file instead of\n"
    "                            a particle file; the MODPATH 7 layout gives its ids\n"
    "  --out PATHLINES           pathline file to write (replaced); - or /dev/stdout for\n"
    "                            standard output, as for --endpoints\n"
    "  --endpoints FILE          end point file to write (replaced); in the kestra format one\n"
    "                            CSV line per particle and direction: release and final cell\n"
    "                            and local point, final X, Y, Z, travel time and why the\n"
    "                            tracking ended. At least one of --out and --endpoints is needed;\n"
    "                            --endpoints alone tracks without writing pathlines\n"
    "  --format kestra|mp7       layout of both files: kestra (the default: the pathline\n"
    "                            records above and the CSV) or the text files of MODPATH 7\n"
    "                            (one direction only)\n"
    "  --format gpkg|shp|geojson|csv|vtp\n"
    "                            both files as GIS layers in world coordinates (as kestra-cli\n"
    "                            export pathlines and endpoints write them; vtp: the pathlines\n"
    "                            as VTK poly data); a file ending in .gpkg, .shp, .geojson or\n"
    "                            .vtp is written so without --format\n"
    "  --threads N               track on N threads (0: all cores); the output does not\n"
    "                            depend on N\n"
    "  --quiet                   no progress line on the error stream (shown for runs that\n"
    "                            take longer than a second)\n"
    "  --replay                  write the pathlines by retracing the particles after the\n"
    "                            runs, as the window's pathline export does (slower, the\n"
    "                            same file; not to standard output)\n"
    "  --summary                 the lines after the run (what was tracked, where it went\n"
    "                            and how many particles ended for each reason, with the\n"
    "                            packages of their sink cells) on standard output instead\n"
    "                            of the error stream\n";

constexpr const char* kExitStatus =
    "\n"
    "Exit status: 0 done, 1 the model, particle file or an output could not be used,\n"
    "2 wrong arguments, 3 some particles were not tracked to their end (a cell without\n"
    "saturated thickness stopped the run, the particle file held particles outside\n"
    "the grid, or particles were still moving when their tracking steps ran out); they\n"
    "are named on the error stream and listed in the end point file.\n";

constexpr int kSomeNotTracked = 3;

struct TrackOptions {
  std::string model, out, endpoints, mpsim, timeSeries;
  TrackingOptions tracking;
  bool quiet = false, replay = false, summary = false;
  PathlineLayout layout = PathlineLayout::Kestra;
  std::optional<ExportFormat> fileFormat;  // --format of a GIS or VTK format
  OpenChoices open;                        // --porosity, --model
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

bool ParseFormat(const std::string& text, TrackOptions& o) {
  if (text == "kestra" || text == "mp7") {
    o.layout = text == "mp7" ? PathlineLayout::Mp7 : PathlineLayout::Kestra;
    return true;
  }
  o.fileFormat = ExportFormatNamed(text);
  return o.fileFormat && FormatFits(ExportKind::Pathlines, *o.fileFormat);
}

// The GIS or VTK format `path` is written in: the one --format names, else
// the one its extension names (a .csv stays the end point table).
std::optional<ExportFormat> FeatureFormat(const TrackOptions& o, const std::string& path) {
  if (path.empty()) return std::nullopt;
  if (o.fileFormat) return o.fileFormat;
  const auto named = ExportFormatOfPath(path);
  if (std::filesystem::path(path).extension().empty() || named == ExportFormat::Csv) return std::nullopt;
  return named && FormatFits(ExportKind::Pathlines, *named) ? named : std::nullopt;
}

bool ParseText(const std::string& text, std::string& value) {
  value = text;
  return true;
}

// Reads one option with its value; false on an unknown option or a bad value.
bool ParseOption(const std::string& name, const std::string& value, TrackOptions& o) {
  if (name == "--out") return ParseText(value, o.out);
  if (name == "--endpoints") return ParseText(value, o.endpoints);
  if (name == "--mpsim") return ParseText(value, o.mpsim);
  if (name == "--timeseries") return ParseText(value, o.timeSeries);
  if (name == "--threads") return ParseInt(value, 0, kMostThreads, o.threads);
  if (name == "--format") return ParseFormat(value, o);
  return false;
}

// Reads an option without a value; false when `arg` is none.
bool ParseFlag(const std::string& arg, TrackOptions& o) {
  if (arg == "--quiet") return o.quiet = true;
  if (arg == "--replay") return o.replay = true;
  if (arg == "--summary") return o.summary = true;
  return false;
}

// False, with the reason in `err`, on a wrong command line.
bool ParseArguments(const Arguments& args, TrackOptions& o, std::ostream& err) {
  Arguments rest = args;
  if (!TakeTrackingOptions(rest, o.tracking, "track", err)) return false;
  for (std::size_t n = 0; n < rest.size(); ++n) {
    const std::string& arg = rest[n];
    if (ParseFlag(arg, o)) continue;
    if (!arg.starts_with("--") && o.model.empty()) {
      o.model = arg;
      continue;
    }
    const bool hasValue = n + 1 < rest.size();
    if (hasValue && ParseOption(arg, rest[n + 1], o)) {
      ++n;
      continue;
    }
    err << "kestra-cli track: bad option or value: " << arg << (hasValue ? " " + rest[n + 1] : "") << "\n";
    return false;
  }
  const TrackingOptions& t = o.tracking;
  if (!o.mpsim.empty()) {
    if (o.model.empty() && t.particles.empty()) return true;
    err << "kestra-cli track: --mpsim takes the model and particles from the simulation file\n";
    return false;
  }
  if (!o.timeSeries.empty()) {
    err << "kestra-cli track: --timeseries needs --mpsim, whose time points it writes\n";
    return false;
  }
  if (o.model.empty() || t.particles.empty() || (o.out.empty() && o.endpoints.empty())) {
    err << "kestra-cli track: MODEL, --particles and --out or --endpoints are needed\n";
    return false;
  }
  if (o.layout == PathlineLayout::Mp7 && t.forward && t.backward) {
    err << "kestra-cli track: a MODPATH 7 file holds one tracking direction\n";
    return false;
  }
  if (IsStandardOutput(o.out) + IsStandardOutput(o.endpoints) + o.summary > 1) {
    err << "kestra-cli track: standard output holds one of the pathlines, the end points and the summary\n";
    return false;
  }
  const auto pathFormat = FeatureFormat(o, o.out), endFormat = FeatureFormat(o, o.endpoints);
  if (endFormat == ExportFormat::VtkPolyData) {
    err << "kestra-cli track: the end points are written as GIS layers, not as VTK poly data\n";
    return false;
  }
  if ((pathFormat && IsStandardOutput(o.out)) || (endFormat && IsStandardOutput(o.endpoints))) {
    err << "kestra-cli track: GIS and VTK files are not written to standard output\n";
    return false;
  }
  if (o.replay && (o.out.empty() || IsStandardOutput(o.out) || o.layout != PathlineLayout::Kestra || pathFormat)) {
    err << "kestra-cli track: --replay writes the pathline file of the kestra format\n";
    return false;
  }
  if (t.time.period.has_value() != t.time.step.has_value()) {
    err << "kestra-cli track: --period and --step go together\n";
    return false;
  }
  return true;
}

// Warns when particles ended only because their steps ran out; true then.
bool ReportStepLimit(int atLimit, int maximumSteps, std::ostream& err) {
  if (atLimit == 0) return false;
  err << "kestra-cli track: warning:" << NumberText(atLimit) << " particles ended only because their"
      << NumberText(maximumSteps)
      << " tracking steps ran out; raise --max-steps or --step-length to track them to "
      << "their end\n";
  return true;
}

int ThreadCount(const TrackOptions& o) { return ThreadsToUse(o.threads.value_or(1)); }

// Tracks in the asked directions, the pathlines going into `output` as they come.
void RunDirections(const TrackOptions& o, TrackingRun& run, BatchOutput& output, std::ostream& err) {
  TrackProgress progress(err, o.quiet);
  output.OnProgress([&progress](const BatchCounts& counts) { progress.Update(counts); });
  for (const int direction : {1, -1}) {
    if (!(direction > 0 ? o.tracking.forward : o.tracking.backward)) continue;
    progress.Start(direction > 0 ? "forward" : "backward", run.particles.ParticleCount(), output.Counts());
    RunTrackingCommand(run, direction > 0 ? TrackMode::ForwardRun : TrackMode::BackwardRun);
    progress.Finish();
    output.Endpoints().AddMissing(run.particles, direction);
  }
}

int Track(const TrackOptions& o, std::ostream& out, std::ostream& err) {
  Session session;
  PrintingInterface ui(err, "track");
  if (!OpenBatchModel(o.model, session, ui, o.open)) {
    err << "kestra-cli track: " << o.model << " could not be opened\n";
    return 1;
  }
  if (const int status = ApplyTrackingOptionsToModel(o.tracking, session, ui, "track", err)) return status;
  if (const std::string problem = FlowFieldProblem(session); !problem.empty()) {
    err << "kestra-cli track: " << problem << "\n";
    return 1;
  }
  ParticleSet particles;
  BatchParticles read;
  Mp7Labels labels;
  const bool startingLocations = IsStartingLocationsFile(o.tracking.particles);
  if (startingLocations) read.usable = ReadStartingLocationsFile(o.tracking.particles, session, particles, labels, err);
  else read = ReadBatchParticleFile(o.tracking.particles, session.model, particles, "track", err);
  if (!read.usable) return 1;
  const Mp7Labels* mp7Labels = startingLocations ? &labels : nullptr;
  if (const std::string problem = OutputPathsProblem({o.out, o.endpoints}, session); !problem.empty()) {
    err << "kestra-cli track: " << problem << "\n";
    return 1;
  }
  SavedSteps held;
  for (const int direction : {1, -1})
    if ((direction > 0 ? o.tracking.forward : o.tracking.backward) &&
        !CheckUnsavedSteps(session, direction, ui, held))
      return 1;

  const auto pathFormat = FeatureFormat(o, o.out), endFormat = FeatureFormat(o, o.endpoints);
  if (pathFormat || endFormat)
    if (const std::string problem = CrsProblem(PositionOf(session.model).crs); !problem.empty()) {
      err << "kestra-cli track: " << problem << "\n";
      return 1;
    }
  const bool writesWhileTracking = !o.out.empty() && !o.replay && !pathFormat;
  std::optional<ReplacingFile> pathlineFile;
  if (writesWhileTracking && !IsStandardOutput(o.out)) {
    pathlineFile.emplace(o.out);
    if (!pathlineFile->IsOpen()) {
      err << "kestra-cli track: cannot write " << pathlineFile->Problem() << "\n";
      return 1;
    }
  }
  std::ostream* pathlines = pathlineFile ? &pathlineFile->Stream() : writesWhileTracking ? &out : nullptr;
  if (pathlines && o.layout == PathlineLayout::Mp7) {
    std::string header;
    AppendMp7PathlineHeader(header, o.tracking.backward ? -1 : 1, RunReleaseTime(session));
    *pathlines << header;
  }
  BatchOutput output(session.model, particles.ParticleCount(), pathlines, o.layout);
  output.SetMp7Labels(mp7Labels);
  if (pathFormat) output.RecordPaths();
  ModelStepLoader loader(session.settings, session.tracking, ui);
  RunControl control;
  TrackingRun run{session.model, session.settings, session.tracking, session.periods, particles,
                  session.busy,  ui,               output,           loader,          control,
                  ThreadCount(o)};
  RunDirections(o, run, output, err);

  if (pathlineFile && !pathlineFile->Commit()) {
    err << "kestra-cli track: cannot write " << pathlineFile->Problem() << "\n";
    return 1;
  }
  if (pathlines == &out && !out.flush()) {
    err << "kestra-cli track: cannot write the pathlines to standard output\n";
    return 1;
  }
  std::string writeError;
  if (o.replay && !WriteReplayedPathlines(o.out, run, writeError)) {
    err << "kestra-cli track: cannot write " << writeError << "\n";
    return 1;
  }
  const std::vector<Endpoint> endpoints = output.Endpoints().Endpoints();
  if (pathFormat &&
      !WritePathlineExport(o.out, *pathFormat, session.model, output.Paths(), endpoints, mp7Labels, writeError)) {
    err << "kestra-cli track: cannot write " << writeError << "\n";
    return 1;
  }
  const bool endpointsWritten =
      o.endpoints.empty() ||
      (endFormat ? WriteEndpointExport(o.endpoints, *endFormat, session.model, endpoints, mp7Labels, writeError)
                 : WriteOutputText(o.endpoints,
                                   EndpointFileText(o.layout, session.model, endpoints, o.tracking.backward ? -1 : 1,
                                                    RunReleaseTime(session), mp7Labels, HeldStepsNote(held)),
                                   out, writeError));
  if (!endpointsWritten) {
    err << "kestra-cli track: cannot write " << writeError << "\n";
    return 1;
  }
  const bool allTracked = ReportUntracked(endpoints, read.outsideGrid, "track", err);
  std::ostream& summary = o.summary ? out : err;
  summary << "tracked" << NumberText(particles.ParticleCount()) << " particles";
  if (!o.out.empty()) summary << "; pathlines in " << o.out;
  if (!o.endpoints.empty()) summary << "; end points in " << o.endpoints;
  summary << "\n";
  for (const std::string& line : StopSummaryLines(endpoints, session.model)) summary << line << "\n";
  const bool stepsRanOut = ReportStepLimit(EndedAtStepLimit(endpoints), session.tracking.MaximumSteps, err);
  return allTracked && !stepsRanOut ? 0 : kSomeNotTracked;
}

}  // namespace

int TrackCommand(const Arguments& args, std::ostream& out, std::ostream& err) {
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    out << kUsage << kTrackingUsage << kOpenUsage << kExitStatus;
    return 0;
  }
  TrackOptions options;
  Arguments rest = args;
  if (!TakeOpenOptions(rest, options.open, err) || !ParseArguments(rest, options, err)) {
    err << kUsage << kTrackingUsage << kOpenUsage << kExitStatus;
    return 2;
  }
  if (!options.mpsim.empty())
    return RunMpsim({options.mpsim, options.endpoints, options.out, options.timeSeries, options.quiet,
                     options.summary, ThreadCount(options), options.tracking.unsavedSteps},
                    out, err);
  return Track(options, out, err);
}

}  // namespace kestra::cli
