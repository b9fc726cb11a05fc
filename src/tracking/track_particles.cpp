#include "tracking/track_particles.h"

#include <optional>
#include <vector>

#include "tracking/face_velocities.h"
#include "tracking/pass_runner.h"
#include "tracking/time_steps.h"

namespace kestra {
namespace {

// Window ends of the first and last time step when tracking may go on
// beyond the simulated time.
constexpr double kOpenEnd = 1e300;

class RunDriver {
 public:
  RunDriver(TrackingRun& run, TrackMode mode, TrackKind kind)
      : run_(run),
        state_(run.state),
        direction_(mode == TrackMode::ForwardRun || mode == TrackMode::ForwardStep ? 1 : -1),
        singleStep_(mode == TrackMode::ForwardStep || mode == TrackMode::BackwardStep),
        kind_(kind),
        pathlines_(run.tracking.SimulationMode == 2),
        startStep_(run.state.CurrentStep),
        startPeriod_(run.state.CurrentPeriod),
        loadedStep_(startStep_),
        loadedPeriod_(startPeriod_) {}

  void Run() {
    std::optional<Hourglass> hourglass;
    if (kind_ == TrackKind::Interactive) hourglass.emplace(run_.ui);
    run_.busy.trackingRun = true;
    run_.control.breakRequested = false;
    window_ = StepTimeWindow(run_.periods, startStep_, startPeriod_);
    releaseTime_ = window_.T0;
    SetStopTimes();
    if (pathlines_ && run_.tracking.ReleaseTime) {
      if (StartAtReleaseTime(*run_.tracking.ReleaseTime)) RunPasses();
    } else if (!pathlines_ || direction_ > 0 || SearchTimeStep()) {
      // Backward particles start at the beginning of the current step, so
      // they need the previous one at once.
      RunPasses();
    }
    Finish();
  }

 private:
  void SetStopTimes() {
    progress_.assign(run_.particles.Particles.size(), {});
    const TrackingSettings& t = run_.tracking;
    for (std::size_t n = 0; n < progress_.size(); ++n) {
      TrackState& track = run_.particles.Particles[n].State(direction_);
      if (kind_ == TrackKind::Replay) {
        track.time = 0;
        progress_[n].stopTime = track.timeLimit;
      } else {
        progress_[n].stopTime = track.time + t.MaximumSteps * t.StepLength;
      }
    }
  }

  void RunPasses() {
    for (;;) {
      CellRecordCache cells(state_, run_.settings, run_.tracking);
      const PassContext context{.state = state_,
                                .settings = run_.settings,
                                .tracking = run_.tracking,
                                .cells = cells,
                                .direction = direction_,
                                .singleStep = singleStep_,
                                .replay = kind_ == TrackKind::Replay,
                                .windowActive = pathlines_ && !lastStepPassed_,
                                .window = window_,
                                .releaseTime = releaseTime_,
                                .breakRequested = &run_.control.breakRequested,
                                .eventPump = kind_ == TrackKind::Interactive ? &run_.ui : nullptr};
      const PassSummary pass =
          RunPass(context, run_.particles.Particles, progress_, run_.observer, run_.ui, run_.threadCount);
      if (pass.runEnds || !pathlines_) return;
      if (run_.tracking.StopAtTimeLimit &&
          IsLastTimeStep(run_.periods, direction_, state_.CurrentStep, state_.CurrentPeriod))
        return;
      if (!AnyParticleActive()) return;
      // Past the last time step nothing but the particles changes: a pass
      // without a move would repeat for ever.
      if (lastStepPassed_ && !pass.anyMoved) return;
      if (!SearchTimeStep()) return;
    }
  }

  bool IsActive(std::size_t n) const {
    const TrackState& track = run_.particles.Particles[n].State(direction_);
    if (track.stopped || (singleStep_ && progress_[n].stepDone)) return false;
    return !TimeReached(track.time, progress_[n].stopTime);
  }

  bool AnyParticleActive() const {
    for (std::size_t n = 0; n < progress_.size(); ++n)
      if (IsActive(n)) return true;
    return false;
  }

  bool AnyActiveParticleIn(const TimeWindow& window) const {
    for (std::size_t n = 0; n < progress_.size(); ++n) {
      const double time = run_.particles.Particles[n].State(direction_).time;
      if (IsActive(n) && ParticleInTimeWindow(releaseTime_ + direction_ * time, direction_, window)) return true;
    }
    return false;
  }

  // The window of a time step, opened at the ends of the simulation when
  // tracking may go on past them.
  TimeWindow WindowOf(int step, int period) const {
    TimeWindow window = StepTimeWindow(run_.periods, step, period);
    if (!run_.tracking.StopAtTimeLimit && IsLastTimeStep(run_.periods, direction_, step, period)) {
      if (direction_ > 0) window.T1 = kOpenEnd;
      else window.T0 = -kOpenEnd;
    }
    return window;
  }

  void LoadCurrentStep() {
    if (state_.CurrentStep == loadedStep_ && state_.CurrentPeriod == loadedPeriod_) return;
    if (run_.loader.HoldsFlowField(state_)) return;
    state_.flowTermsLoaded = false;
    run_.loader.LoadFlowField(state_);
    loadedStep_ = state_.CurrentStep;
    loadedPeriod_ = state_.CurrentPeriod;
  }

  // Walks the time steps in the run's direction to the next one that holds
  // an active particle and loads it. False when the run ends here.
  bool SearchTimeStep() {
    for (;;) {
      int step = state_.CurrentStep, period = state_.CurrentPeriod;
      if (AdvanceTimeStep(run_.periods, direction_, step, period)) {
        if (run_.tracking.StopAtTimeLimit) return false;
        // No further step: go on in the last flow field without limits.
        lastStepPassed_ = true;
        window_ = WindowOf(state_.CurrentStep, state_.CurrentPeriod);
        LoadCurrentStep();
        return true;
      }
      state_.CurrentStep = step;
      state_.CurrentPeriod = period;
      window_ = WindowOf(step, period);
      if (AnyActiveParticleIn(window_)) {
        LoadCurrentStep();
        return true;
      }
    }
  }

  // Releases the particles at simulation time `time` and loads the time
  // step that holds them. False when the simulation holds no such step
  // (beyond its ends with the time limit on).
  bool StartAtReleaseTime(double time) {
    releaseTime_ = time;
    for (int period = 1; period <= run_.periods.NPER; ++period)
      for (int step = 1; step <= run_.periods.NSTP[period]; ++step) {
        const TimeWindow window = WindowOf(step, period);
        if (!ParticleInTimeWindow(time, direction_, window)) continue;
        state_.CurrentStep = step;
        state_.CurrentPeriod = period;
        window_ = window;
        // Particles a previous run took on lie in a later step of the run.
        if (!AnyActiveParticleIn(window_)) return SearchTimeStep();
        LoadCurrentStep();
        return true;
      }
    return false;
  }

  void Finish() {
    run_.busy.trackingRun = false;
    for (ParticleRecord& particle : run_.particles.Particles) {
      TrackState& track = particle.State(direction_);
      track.timeLimit = track.time;
    }
    if (state_.CurrentStep != startStep_ || state_.CurrentPeriod != startPeriod_ ||
        loadedStep_ != startStep_ || loadedPeriod_ != startPeriod_) {
      state_.CurrentStep = startStep_;
      state_.CurrentPeriod = startPeriod_;
      state_.flowTermsLoaded = false;
      run_.loader.RestoreTimeStep(state_);
    }
  }

  TrackingRun& run_;
  ModelState& state_;
  const int direction_;
  const bool singleStep_;
  const TrackKind kind_;
  const bool pathlines_;
  const int startStep_;
  const int startPeriod_;
  int loadedStep_;
  int loadedPeriod_;
  bool lastStepPassed_ = false;
  TimeWindow window_;
  double releaseTime_ = 0;
  std::vector<ParticleProgress> progress_;
};

}  // namespace

void TrackParticles(TrackingRun& run, TrackMode mode, TrackKind kind) {
  if (!run.state.HasModel() || !run.state.flowTermsLoaded) return;
  RunDriver(run, mode, kind).Run();
}

void RunTrackingCommand(TrackingRun& run, TrackMode mode) {
  if (IsBusy(run.state, run.busy)) {
    run.ui.Beep();
    return;
  }
  // A run starts from the flow terms of the current time step: when an
  // earlier load failed they are read again, this time with their messages.
  if (!run.state.flowTermsLoaded) run.loader.ReloadFlowTerms(run.state);
  TrackParticles(run, mode, TrackKind::Interactive);
}

void ReplayParticles(TrackingRun& run) {
  PrepareReplay(run.particles);
  TrackParticles(run, TrackMode::ForwardRun, TrackKind::Replay);
  TrackParticles(run, TrackMode::BackwardRun, TrackKind::Replay);
}

}  // namespace kestra
