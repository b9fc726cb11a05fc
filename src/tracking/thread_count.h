// How many particles are tracked at once.
#pragma once

#include <algorithm>
#include <thread>

namespace kestra {

// The most particles tracked at once that a user may ask for.
inline constexpr int kMostThreads = 256;

// `asked` threads, or one per core of the processor for 0.
inline int ThreadsToUse(int asked) {
  return asked > 0 ? asked : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace kestra
