#include "cli/mpsim_run.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "cli/batch_model.h"
#include "cli/output_paths.h"
#include "cli/run_summary.h"
#include "cli/track_output.h"
#include "cli/track_progress.h"
#include "cli/tracking_options.h"
#include "core/atomic_file.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "modpath/mp7_name_file.h"
#include "modpath/mp7_run_plan.h"
#include "session/time_step_results.h"
#include "tracking/time_steps.h"

namespace kestra::cli {
namespace {

constexpr const char* kPrefix = "kestra-cli track: ";
constexpr int kSomeNotTracked = 3;

// A file the simulation names, from the folder of the simulation file.
std::string FromSimulationFolder(const Mp7Simulation& simulation, const std::string& name) {
  if (name.empty()) return name;
  return (std::filesystem::path(simulation.path).parent_path() / name).string();
}

bool Fail(std::ostream& err, const std::string& problem) {
  err << kPrefix << problem << "\n";
  return false;
}

// Opens the flow model the simulation's name file names and reads the simulation over its grid.
bool OpenSimulation(const std::string& path, Session& session, UserInterface& ui, Mp7Simulation& simulation,
                    std::ostream& err) {
  std::string nameFilePath, problem;
  Mp7NameFile names;
  FlowModelChoice model;
  if (!ReadMp7NameFileEntry(path, nameFilePath, problem) || !ReadMp7NameFile(nameFilePath, names, problem) ||
      !FindFlowModelNameFile(names, model, problem))
    return Fail(err, problem);
  if (!model.guess.empty()) err << kPrefix << model.guess << "\n";
  if (!OpenBatchModel(model.path, session, ui)) return Fail(err, model.path + " could not be opened");
  if (ApplyTrackingOptionsToModel(TrackingOptions{}, session, ui, "track", err) != 0) return false;
  if (!ReadMp7Simulation(path, session.model.Shape(), simulation, problem)) return Fail(err, problem);
  return true;
}

void ReportUnused(const Mp7Simulation& simulation, std::ostream& err) {
  const std::vector<std::string> unused = Mp7UnusedOptions(simulation);
  err << kPrefix << "not used from " << simulation.path << ":";
  for (std::size_t n = 0; n < unused.size(); ++n) err << (n == 0 ? " " : "; ") << unused[n];
  err << "\n";
}

struct Collected {
  std::vector<Endpoint> endpoints;
  std::vector<Mp7TimePoint> timePoints;
  Mp7Labels labels;
  SavedSteps held;  // steps the flow field was held over
};

// Tracks one release; its end points join `collected`, renumbered after
// those before. False when the run passes unsaved steps it may not hold over.
bool TrackRelease(const MpsimRequest& request, const Mp7Simulation& simulation, const Mp7Release& release,
                  double referenceTime, float retardation, Session& session, UserInterface& ui,
                  std::ostream* pathlines, bool recordTimePoints, Collected& collected, std::ostream& err) {
  ApplyMp7Options(simulation, session.periods, referenceTime, release.trackingTime, session.tracking);
  ApplyMp7DefaultFaces(FamilyOf(session.model), session.tracking);
  ParticleSet particles = Mp7ReleaseParticles(simulation, release, session.model, session.settings, retardation);
  const Mp7Labels labels = Mp7ReleaseLabels(simulation, release);
  BatchOutput output(session.model, particles.ParticleCount(), pathlines, PathlineLayout::Mp7);
  output.SetMp7Labels(&labels);
  if (recordTimePoints) output.RecordTimePoints();
  TrackProgress progress(err, request.quiet);
  output.OnProgress([&progress](const BatchCounts& counts) { progress.Update(counts); });
  if (request.unsavedSteps) session.tracking.UnsavedSteps = *request.unsavedSteps;
  ModelStepLoader loader(session.settings, session.tracking, ui);
  const int direction = simulation.trackingDirection == 1 ? 1 : -1;
  if (!CheckUnsavedSteps(session, direction, ui, collected.held)) return false;
  RunControl control;
  TrackingRun run{session.model, session.settings, session.tracking, session.periods, particles,
                  session.busy,  ui,               output,           loader,          control,
                  request.threads};
  progress.Start(direction > 0 ? "forward" : "backward", particles.ParticleCount(), output.Counts());
  RunTrackingCommand(run, direction > 0 ? TrackMode::ForwardRun : TrackMode::BackwardRun);
  progress.Finish();
  output.Endpoints().AddMissing(particles, direction);
  const int offset = static_cast<int>(collected.labels.particles.size());
  for (Endpoint endpoint : output.Endpoints().Endpoints()) {
    endpoint.particle += offset;
    collected.endpoints.push_back(endpoint);
  }
  for (Mp7TimePoint record : output.TimePoints()) {
    record.particle += offset;
    collected.timePoints.push_back(record);
  }
  collected.labels.particles.insert(collected.labels.particles.end(), labels.particles.begin(), labels.particles.end());
  collected.labels.groupNames = labels.groupNames;
  return true;
}

// The number of `step` of `period` counted over all periods from 1.
int CumulativeStep(const StressPeriods& periods, int period, int step) {
  int before = 0;
  for (int p = 1; p < period && p < static_cast<int>(periods.NSTP.size()); ++p) before += periods.NSTP[p];
  return before + step;
}

// The time series file: time point by time point, particles by sequence
// number within each, as MODPATH writes it.
bool WriteTimeSeriesFile(const std::string& path, const Session& session, Collected& collected, int direction,
                         double referenceTime, std::string& error) {
  auto sequence = [&](const Mp7TimePoint& r) { return Mp7Label(&collected.labels, r.particle).sequence; };
  std::stable_sort(collected.timePoints.begin(), collected.timePoints.end(),
                   [&](const Mp7TimePoint& a, const Mp7TimePoint& b) {
                     return a.index != b.index ? a.index < b.index : sequence(a) < sequence(b);
                   });
  std::string text;
  AppendMp7TimeSeriesHeader(text, direction, referenceTime);
  for (const Mp7TimePoint& record : collected.timePoints)
    AppendMp7TimeSeriesRecord(text, session.model, record, Mp7Label(&collected.labels, record.particle),
                              CumulativeStep(session.periods, record.period, record.step));
  return WriteFileAtomically(path, text, error);
}

}  // namespace

bool IsStartingLocationsFile(const std::string& path) {
  return UpperCase(std::filesystem::path(path).extension().string()) == ".SLOC";
}

bool ReadStartingLocationsFile(const std::string& path, const Session& session, ParticleSet& particles,
                               Mp7Labels& labels, std::ostream& err) {
  std::string problem;
  std::optional<Mp7Input> input = Mp7Input::Open(path, problem);
  Mp7Simulation simulation;
  if (!input) return Fail(err, problem);
  if (!ReadMp7StartingLocations(*input, session.model.Shape(), 0, simulation.particles))
    return Fail(err, input->Problem());
  Mp7Release all;
  for (std::size_t n = 0; n < simulation.particles.size(); ++n) {
    all.locations.push_back(n);
    all.labels.push_back({static_cast<int>(n) + 1, 1, simulation.particles[n].id, 0});
  }
  const bool offsets = std::any_of(simulation.particles.begin(), simulation.particles.end(),
                                   [](const Mp7Particle& p) { return p.timeOffset != 0; });
  if (offsets) err << kPrefix << "not used from " << path << ": the time offsets (all start together)\n";
  particles = Mp7ReleaseParticles(simulation, all, session.model, session.settings, 1.0f);
  labels.particles = all.labels;
  return true;
}

int RunMpsim(const MpsimRequest& request, std::ostream& out, std::ostream& err) {
  Session session;
  PrintingInterface ui(err, "track");
  Mp7Simulation simulation;
  if (!OpenSimulation(request.simulation, session, ui, simulation, err)) return 1;
  ReportUnused(simulation, err);
  const std::optional<float> retardation = Mp7UniformRetardation(simulation);
  const std::string endpointPath =
      request.endpoints.empty() ? FromSimulationFolder(simulation, simulation.endpointFile) : request.endpoints;
  const std::string pathlinePath =
      request.pathlines.empty() ? FromSimulationFolder(simulation, simulation.pathlineFile) : request.pathlines;
  const std::string timeSeriesPath =
      request.timeSeries.empty() ? FromSimulationFolder(simulation, simulation.timeSeriesFile) : request.timeSeries;
  if (const std::string problem = OutputPathsProblem({endpointPath, pathlinePath, timeSeriesPath}, session);
      !problem.empty())
    return Fail(err, problem), 1;
  const double referenceTime = Mp7ReferenceTime(simulation, session.periods);
  const int direction = simulation.trackingDirection == 1 ? 1 : -1;

  std::optional<ReplacingFile> pathlineFile;
  if (!pathlinePath.empty()) {
    pathlineFile.emplace(pathlinePath);
    if (!pathlineFile->IsOpen()) return Fail(err, "cannot write " + pathlineFile->Problem()), 1;
    std::string header;
    AppendMp7PathlineHeader(header, direction, referenceTime);
    pathlineFile->Stream() << header;
  }
  Collected collected;
  for (const Mp7Release& release : Mp7Releases(simulation))
    if (!TrackRelease(request, simulation, release, referenceTime, retardation.value_or(1.0f), session, ui,
                      pathlineFile ? &pathlineFile->Stream() : nullptr, !timeSeriesPath.empty(), collected, err))
      return 1;
  if (pathlineFile && !pathlineFile->Commit()) return Fail(err, "cannot write " + pathlineFile->Problem()), 1;

  std::stable_sort(collected.endpoints.begin(), collected.endpoints.end(), [&](const Endpoint& a, const Endpoint& b) {
    return Mp7Label(&collected.labels, a.particle).sequence < Mp7Label(&collected.labels, b.particle).sequence;
  });
  std::string writeError;
  if (!WriteOutputText(endpointPath,
                       EndpointFileText(PathlineLayout::Mp7, session.model, collected.endpoints, direction,
                                        referenceTime, &collected.labels, HeldStepsNote(collected.held)),
                       out, writeError))
    return Fail(err, "cannot write " + writeError), 1;
  if (!timeSeriesPath.empty()) {
    if (simulation.timePoints.empty())
      err << kPrefix << simulation.path << " has no time points: the time series holds the releases only\n";
    if (!WriteTimeSeriesFile(timeSeriesPath, session, collected, direction, referenceTime, writeError))
      return Fail(err, "cannot write " + writeError), 1;
  }
  const bool allTracked = ReportUntracked(collected.endpoints, {}, "track", err);
  std::ostream& summary = request.summary ? out : err;
  summary << "tracked" << NumberText(static_cast<int>(collected.endpoints.size())) << " particles in"
          << NumberText(static_cast<int>(simulation.groups.size())) << " groups";
  if (!pathlinePath.empty()) summary << "; pathlines in " << pathlinePath;
  if (!timeSeriesPath.empty()) summary << "; time series in " << timeSeriesPath;
  summary << "; end points in " << endpointPath << "\n";
  for (const std::string& line : StopSummaryLines(collected.endpoints, session.model)) summary << line << "\n";
  return allTracked ? 0 : kSomeNotTracked;
}

}  // namespace kestra::cli
