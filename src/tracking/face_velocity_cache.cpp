#include "tracking/face_velocity_cache.h"

namespace kestra {

FaceVelocityCache::FaceVelocityCache(const ModelState& state, const Settings& settings,
                                     const TrackingSettings& tracking)
    : state_(state),
      settings_(settings),
      tracking_(tracking),
      faces_(std::make_unique_for_overwrite<float[]>(state.Shape().Size() * kFaces)),
      fill_(std::make_unique<std::atomic<std::uint8_t>[]>(state.Shape().Size())) {}

FaceVelocities FaceVelocityCache::At(int column, int row, int layer) {
  const std::size_t cell = state_.Shape().Index(column, row, layer);
  float* const faces = &faces_[cell * kFaces];
  std::atomic<std::uint8_t>& fill = fill_[cell];
  if (fill.load(std::memory_order_acquire) == kReady)
    return {faces[0], faces[1], faces[2], faces[3], faces[4], faces[5]};

  const FaceVelocities v = GetFaceVelocities(state_, settings_, tracking_, column, row, layer);
  // The first thread to claim the cell stores it; a thread that finds it
  // being written uses its own, identical result instead of waiting.
  std::uint8_t expected = kEmpty;
  if (fill.compare_exchange_strong(expected, kWriting, std::memory_order_relaxed)) {
    faces[0] = v.VX1, faces[1] = v.VX2, faces[2] = v.VY1, faces[3] = v.VY2, faces[4] = v.VZ1, faces[5] = v.VZ2;
    fill.store(kReady, std::memory_order_release);
  }
  return v;
}

}  // namespace kestra
