#include "tracking/pass_runner.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/number_format.h"
#include "tracking/track_event_buffer.h"

namespace kestra {
namespace {

// Particles a thread may run ahead of the one being reported: bounds the
// memory held for pathlines that are not yet reported.
constexpr int kParticlesAheadPerThread = 4;
// How often the reporting thread lets window events run while it waits.
constexpr std::chrono::milliseconds kEventInterval(20);

// Reports one particle's outcome; true when it ends the run.
bool Conclude(const PassOutcome& outcome, UserInterface& ui, PassSummary& summary) {
  summary.anyMoved = summary.anyMoved || outcome.moved;
  if (outcome.end == TrackEnd::ThicknessFault) ShowThicknessMessage(ui, outcome.faultCell, outcome.faultBeeps);
  summary.runEnds = outcome.end == TrackEnd::ThicknessFault || outcome.end == TrackEnd::RunBroken;
  return summary.runEnds;
}

PassSummary RunOnOneThread(const PassContext& context, std::vector<ParticleRecord>& particles,
                           std::vector<ParticleProgress>& progress, TrackObserver& observer, UserInterface& ui) {
  PassSummary summary;
  for (std::size_t n = 0; n < particles.size(); ++n) {
    const PassOutcome outcome =
        TrackParticlePass(context, static_cast<int>(n) + 1, particles[n], progress[n], observer);
    if (Conclude(outcome, ui, summary)) break;
  }
  return summary;
}

// Particles tracked ahead on worker threads, each into a slot of its own,
// and reported in particle order by the calling thread.
class ParallelPass {
 public:
  ParallelPass(const PassContext& context, std::vector<ParticleRecord>& particles,
               std::vector<ParticleProgress>& progress, int threadCount)
      : context_(context),
        particles_(particles),
        progress_(progress),
        count_(static_cast<int>(particles.size())),
        slots_(static_cast<std::size_t>(threadCount * kParticlesAheadPerThread)) {
    for (int t = 0; t < threadCount; ++t) workers_.emplace_back([this] { Work(); });
  }

  ~ParallelPass() {
    {
      std::lock_guard lock(mutex_);
      abort_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_) worker.join();
  }

  PassSummary Report(TrackObserver& observer, UserInterface& ui, bool letEventsRun) {
    PassSummary summary;
    for (int n = 0; n < count_; ++n) {
      Slot& slot = SlotOf(n);
      std::unique_lock lock(mutex_);
      while (!slot.ready) {
        if (!letEventsRun) {
          changed_.wait(lock);
          continue;
        }
        changed_.wait_for(lock, kEventInterval);
        lock.unlock();
        ui.ProcessEvents();
        lock.lock();
      }
      lock.unlock();
      slot.events.Flush(observer);
      particles_[n] = slot.particle;
      progress_[n] = slot.progress;
      const bool ends = Conclude(slot.outcome, ui, summary);
      lock.lock();
      slot.ready = false;
      ++reported_;
      if (ends) abort_ = true;
      lock.unlock();
      changed_.notify_all();
      if (ends) break;
    }
    return summary;
  }

 private:
  struct Slot {
    ParticleRecord particle;
    ParticleProgress progress;
    TrackEventBuffer events;
    PassOutcome outcome;
    bool ready = false;
  };

  Slot& SlotOf(int n) { return slots_[static_cast<std::size_t>(n) % slots_.size()]; }

  // The next particle to track, or -1 when there is none or the pass ends.
  int Claim() {
    std::unique_lock lock(mutex_);
    const int ahead = static_cast<int>(slots_.size());
    changed_.wait(lock, [&] { return abort_ || claimed_ >= count_ || claimed_ < reported_ + ahead; });
    if (abort_ || claimed_ >= count_) return -1;
    return claimed_++;
  }

  void Work() {
    for (int n = Claim(); n >= 0; n = Claim()) {
      Slot& slot = SlotOf(n);
      slot.particle = particles_[n];
      slot.progress = progress_[n];
      slot.outcome = TrackParticlePass(context_, n + 1, slot.particle, slot.progress, slot.events);
      {
        std::lock_guard lock(mutex_);
        slot.ready = true;
      }
      changed_.notify_all();
    }
  }

  const PassContext& context_;
  std::vector<ParticleRecord>& particles_;
  std::vector<ParticleProgress>& progress_;
  const int count_;
  std::vector<Slot> slots_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int claimed_ = 0;
  int reported_ = 0;
  bool abort_ = false;
};

}  // namespace

PassSummary RunPass(const PassContext& context, std::vector<ParticleRecord>& particles,
                    std::vector<ParticleProgress>& progress, TrackObserver& observer, UserInterface& ui,
                    int threadCount) {
  if (threadCount <= 1 || particles.size() <= 1) return RunOnOneThread(context, particles, progress, observer, ui);
  PassContext workerContext = context;
  workerContext.eventPump = nullptr;  // window events belong to the reporting thread
  ParallelPass pass(workerContext, particles, progress, threadCount);
  return pass.Report(observer, ui, context.eventPump != nullptr);
}

void ShowThicknessMessage(UserInterface& ui, CellIndex cell, bool beeps) {
  const std::string text = "The thickness of aquifer in cell (row, col, layer) = (" + IntegerMaskText(cell.row) + "," +
                           IntegerMaskText(cell.column) + "," + IntegerMaskText(cell.layer) + ")" +
                           " is zero or negative. Computation stops!";
  if (beeps) ui.Beep();
  ui.ShowMessage(text, MessageIcon::Exclamation, kApplicationTitle);
}

}  // namespace kestra
