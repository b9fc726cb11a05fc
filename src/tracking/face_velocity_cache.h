// The face velocities of the cells a tracking pass enters, each cell
// computed once however many particles pass through it. Nothing the
// velocities depend on changes during a pass, so a cache lives for one pass.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "tracking/face_velocities.h"

namespace kestra {

class FaceVelocityCache {
 public:
  // Holds references: the model and both settings must outlive the cache
  // and stay unchanged while it is used.
  FaceVelocityCache(const ModelState& state, const Settings& settings, const TrackingSettings& tracking);

  // GetFaceVelocities for a cell inside the grid, the same values bit for
  // bit. Safe to call from several threads at once.
  FaceVelocities At(int column, int row, int layer);

 private:
  static constexpr int kFaces = 6;
  enum Fill : std::uint8_t { kEmpty = 0, kWriting = 1, kReady = 2 };

  const ModelState& state_;
  const Settings& settings_;
  const TrackingSettings& tracking_;
  // Six face velocities per cell of the grid's shape, written once; the
  // pages of cells no particle enters are never touched.
  std::unique_ptr<float[]> faces_;
  // Per cell: empty, being written by one thread, or ready to read.
  std::unique_ptr<std::atomic<std::uint8_t>[]> fill_;
};

}  // namespace kestra
