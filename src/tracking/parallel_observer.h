// An observer whose work can be shared by the threads of a run: each thread
// reports its particles into a part of its own, and the parts are merged in
// particle order, so the result is that of one thread.
#pragma once

#include <memory>

#include "tracking/track_observer.h"

namespace kestra {

class ParallelObserver : public TrackObserver {
 public:
  // A new, empty part for one thread. Parts may be filled at the same time
  // as the observer merges other parts.
  virtual std::unique_ptr<TrackObserver> NewPart() = 0;
  // Takes over what `part` (one of this observer's) holds: the whole
  // reports of the particles given to it since it was last merged. The
  // part is empty afterwards.
  virtual void Merge(TrackObserver& part) = 0;
};

}  // namespace kestra
