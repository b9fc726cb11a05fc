#include "tracking/pass_runner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "core/number_format.h"
#include "tracking/parallel_observer.h"
#include "tracking/track_event_buffer.h"

namespace kestra {
namespace {

// Particles go to the threads a few at a time: claiming them and handing
// them over costs a lock, once per chunk, never per move. Their reports are
// merged a chunk at a time on one thread too.
constexpr int kParticlesPerChunk = 64;
// Chunks a thread may run ahead of the one being reported: bounds the
// memory held for pathlines that are not yet reported.
constexpr int kChunksAheadPerThread = 4;
// How often the reporting thread lets window events run while it waits.
constexpr std::chrono::milliseconds kEventInterval(20);

bool EndsRun(const PassOutcome& outcome) {
  return outcome.end == TrackEnd::ThicknessFault || outcome.end == TrackEnd::RunBroken;
}

// Reports one particle's outcome; true when it ends the run.
bool Conclude(const PassOutcome& outcome, UserInterface& ui, PassSummary& summary) {
  summary.anyMoved = summary.anyMoved || outcome.moved;
  if (outcome.end == TrackEnd::ThicknessFault) ShowThicknessMessage(ui, outcome.faultCell, outcome.faultBeeps);
  summary.runEnds = EndsRun(outcome);
  return summary.runEnds;
}

// An observer that can be split takes the reports in a part and merges
// them a chunk at a time, as on several threads: its merges (writes to a
// file, say) come once a chunk, not once a particle.
PassSummary RunOnOneThread(const PassContext& context, std::vector<ParticleRecord>& particles,
                           std::vector<ParticleProgress>& progress, TrackObserver& observer, UserInterface& ui) {
  auto* const splittable = dynamic_cast<ParallelObserver*>(&observer);
  const std::unique_ptr<TrackObserver> part = splittable ? splittable->NewPart() : nullptr;
  TrackObserver& target = part ? *part : observer;
  PassSummary summary;
  bool ends = false;
  for (std::size_t first = 0; first < particles.size() && !ends; first += kParticlesPerChunk) {
    const std::size_t last = std::min(particles.size(), first + kParticlesPerChunk);
    for (std::size_t n = first; n < last && !ends; ++n)
      ends = Conclude(TrackParticlePass(context, static_cast<int>(n) + 1, particles[n], progress[n], target), ui,
                      summary);
    if (part) splittable->Merge(*part);
  }
  return summary;
}

// Chunks of particles tracked ahead on worker threads, each chunk into a
// slot of its own (copies of its records and the observer's reports), and
// reported in particle order by the calling thread. An observer that can
// be split gets its reports formatted on the workers; any other gets them
// replayed from held events. What a worker throws ends the pass and is
// thrown again on the calling thread.
class ParallelPass {
 public:
  ParallelPass(const PassContext& context, std::vector<ParticleRecord>& particles,
               std::vector<ParticleProgress>& progress, int threadCount, ParallelObserver* splittable)
      : context_(context),
        particles_(particles),
        progress_(progress),
        count_(static_cast<int>(particles.size())),
        chunkCount_((count_ + kParticlesPerChunk - 1) / kParticlesPerChunk),
        slots_(static_cast<std::size_t>(threadCount * kChunksAheadPerThread)),
        splittable_(splittable) {
    if (splittable_)
      for (Slot& slot : slots_) slot.part = splittable_->NewPart();
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
    for (int chunk = 0; chunk < chunkCount_; ++chunk) {
      Slot& slot = SlotOf(chunk);
      WaitUntilReady(slot, ui, letEventsRun);
      if (slot.part) splittable_->Merge(*slot.part);
      else slot.events.Flush(observer);
      bool ends = false;
      const int first = chunk * kParticlesPerChunk;
      for (std::size_t n = 0; n < slot.outcomes.size() && !ends; ++n) {
        particles_[first + n] = slot.particles[n];
        progress_[first + n] = slot.progress[n];
        ends = Conclude(slot.outcomes[n], ui, summary);
      }
      {
        std::lock_guard lock(mutex_);
        slot.ready = false;
        ++reported_;
        if (ends) abort_ = true;
      }
      changed_.notify_all();
      if (ends) break;
    }
    return summary;
  }

 private:
  struct Slot {
    std::vector<ParticleRecord> particles;
    std::vector<ParticleProgress> progress;
    std::vector<PassOutcome> outcomes;  // one per particle tracked; the last may end the run
    std::unique_ptr<TrackObserver> part;
    TrackEventBuffer events;
    bool ready = false;
  };

  Slot& SlotOf(int chunk) { return slots_[static_cast<std::size_t>(chunk) % slots_.size()]; }

  // Waits for the slot's chunk; throws what a worker threw.
  void WaitUntilReady(Slot& slot, UserInterface& ui, bool letEventsRun) {
    std::exception_ptr failure;
    {
      std::unique_lock lock(mutex_);
      while (!slot.ready && !failure_) {
        if (!letEventsRun) {
          changed_.wait(lock);
          continue;
        }
        changed_.wait_for(lock, kEventInterval);
        lock.unlock();
        ui.ProcessEvents();
        lock.lock();
      }
      failure = failure_;
    }
    if (failure) std::rethrow_exception(failure);
  }

  // The next chunk to track, or -1 when there is none or the pass ends.
  int Claim() {
    std::unique_lock lock(mutex_);
    const int ahead = static_cast<int>(slots_.size());
    changed_.wait(lock, [&] { return abort_ || claimed_ >= chunkCount_ || claimed_ < reported_ + ahead; });
    if (abort_ || claimed_ >= chunkCount_) return -1;
    return claimed_++;
  }

  void Track(int chunk, Slot& slot) {
    const int first = chunk * kParticlesPerChunk;
    const int last = std::min(count_, first + kParticlesPerChunk);
    slot.particles.assign(particles_.begin() + first, particles_.begin() + last);
    slot.progress.assign(progress_.begin() + first, progress_.begin() + last);
    slot.outcomes.clear();
    TrackObserver& target = slot.part ? *slot.part : slot.events;
    for (int n = first; n < last; ++n) {
      const std::size_t at = static_cast<std::size_t>(n - first);
      slot.outcomes.push_back(TrackParticlePass(context_, n + 1, slot.particles[at], slot.progress[at], target));
      if (EndsRun(slot.outcomes.back())) break;
    }
  }

  void Work() {
    try {
      for (int chunk = Claim(); chunk >= 0; chunk = Claim()) {
        Slot& slot = SlotOf(chunk);
        Track(chunk, slot);
        {
          std::lock_guard lock(mutex_);
          slot.ready = true;
        }
        changed_.notify_all();
      }
    } catch (...) {
      {
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
        abort_ = true;
      }
      changed_.notify_all();
    }
  }

  const PassContext& context_;
  std::vector<ParticleRecord>& particles_;
  std::vector<ParticleProgress>& progress_;
  const int count_;
  const int chunkCount_;
  std::vector<Slot> slots_;
  ParallelObserver* const splittable_;
  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int claimed_ = 0;
  int reported_ = 0;
  bool abort_ = false;
  std::exception_ptr failure_;  // the first exception of a worker
};

}  // namespace

PassSummary RunPass(const PassContext& context, std::vector<ParticleRecord>& particles,
                    std::vector<ParticleProgress>& progress, TrackObserver& observer, UserInterface& ui,
                    int threadCount) {
  if (threadCount <= 1 || particles.size() <= 1) return RunOnOneThread(context, particles, progress, observer, ui);
  PassContext workerContext = context;
  workerContext.eventPump = nullptr;  // window events belong to the reporting thread
  ParallelPass pass(workerContext, particles, progress, threadCount, dynamic_cast<ParallelObserver*>(&observer));
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
