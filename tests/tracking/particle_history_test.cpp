#include "tracking/particle_history.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

ParticleRecord Released(std::int16_t column) {
  ParticleRecord particle;
  particle.startCell = {column, 1, 1};
  particle.startLocal = {0.5f, 0.5f, 0.5f};
  particle.forward.cell = particle.backward.cell = particle.startCell;
  particle.forward.local = particle.backward.local = particle.startLocal;
  return particle;
}

// A particle tracked forward into the next column.
ParticleRecord Tracked(std::int16_t column) {
  ParticleRecord particle = Released(column);
  particle.forward.cell.column = static_cast<std::int16_t>(column + 1);
  particle.forward.time = particle.forward.timeLimit = 12.5;
  particle.forward.released = true;
  return particle;
}

std::vector<std::int16_t> Columns(const ParticleSet& set) {
  std::vector<std::int16_t> columns;
  for (const ParticleRecord& particle : set.Particles) columns.push_back(particle.startCell.column);
  return columns;
}

// Particles kept in the same order keep where they were tracked to; a
// different set starts again from its release points.
TEST(RestoreParticles, KeepsTheRunsOfTheParticlesBothListsBeginWith) {
  struct Case {
    const char* name;
    std::vector<std::int16_t> restored;
    Restored how;
    bool firstStillTracked;
  };
  const Case cases[] = {
      {"the same", {1, 2}, Restored::Nothing, true},
      {"the last dropped", {1}, Restored::Shortened, true},
      {"one added", {1, 2, 3}, Restored::Lengthened, true},
      {"another first", {4, 2}, Restored::Replaced, false},
      {"none", {}, Restored::Shortened, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ParticleSet set;
    set.Particles = {Tracked(1), Tracked(2)};
    std::vector<ParticleRecord> restored;
    for (std::int16_t column : c.restored) restored.push_back(Tracked(column));
    EXPECT_EQ(RestoreParticles(set, restored), c.how);
    EXPECT_EQ(Columns(set), c.restored);
    if (!set.Particles.empty()) EXPECT_EQ(set.Particles[0].forward.time > 0, c.firstStillTracked);
    // What was not held before comes in at its release point.
    if (c.how != Restored::Nothing)
      for (std::size_t i = 2; i < set.Particles.size(); ++i) EXPECT_EQ(set.Particles[i].forward.time, 0);
  }
}

TEST(ParticleHistory, UndoAndRedoWalkTheEditsAndKnowWhatIsSaved) {
  ParticleSet set;
  ParticleHistory history;
  EXPECT_EQ(history.Undo(set), Restored::Nothing);
  const auto add = [&](std::int16_t column) {
    auto before = set.Particles;
    set.Particles.push_back(Released(column));
    history.Record(std::move(before));
  };
  add(1);
  add(2);
  EXPECT_TRUE(history.Unsaved(set));
  history.MarkSaved();
  EXPECT_FALSE(history.Unsaved(set));

  EXPECT_EQ(history.Undo(set), Restored::Shortened);
  EXPECT_EQ(Columns(set), (std::vector<std::int16_t>{1}));
  EXPECT_TRUE(history.Unsaved(set));
  EXPECT_EQ(history.Redo(set), Restored::Lengthened);
  EXPECT_EQ(Columns(set), (std::vector<std::int16_t>{1, 2}));
  EXPECT_FALSE(history.Unsaved(set)) << "back at the saved particles";

  EXPECT_EQ(history.Undo(set), Restored::Shortened);
  add(7);  // a new edit ends the redo
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(history.Redo(set), Restored::Nothing);
  EXPECT_EQ(Columns(set), (std::vector<std::int16_t>{1, 7}));
  history.Undo(set);
  history.Undo(set);
  EXPECT_TRUE(set.Particles.empty());
  EXPECT_FALSE(history.Unsaved(set)) << "nothing to lose";
  EXPECT_FALSE(history.CanUndo());
}

TEST(ParticleHistory, KeepsTheLastHundredEdits) {
  ParticleSet set;
  ParticleHistory history;
  for (std::int16_t column = 1; column <= 150; ++column) {
    auto before = set.Particles;
    set.Particles.push_back(Released(column));
    history.Record(std::move(before));
  }
  int undone = 0;
  while (history.CanUndo()) undone += history.Undo(set) != Restored::Nothing;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(set.ParticleCount(), 50);
}

}  // namespace
}  // namespace kestra
