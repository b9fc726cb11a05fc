// The particle set, the particle file it is saved in and loaded from, the
// particles placed and removed on the plan, and the undo history of its edits.
#include "tracking/particle_file.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/recording_interface.h"
#include "support/temp_dir.h"
#include "tracking/particle_deletion.h"
#include "tracking/particle_history.h"
#include "tracking/particle_set.h"
#include "tracking/placement.h"
#include "tracking/placement_entries.h"
#include "tracking_models.h"

namespace kestra {
namespace {

constexpr const char* kLimitMessage = "Too many particles, the maximum number of particles is  5000";

TEST(AddParticle, NewParticlesStartAtTheirReleasePointWithTheDefaults) {
  ParticleSet set;
  set.DefaultParticleColor = 65280;
  set.DefaultRetardation = 2.5;
  test::RecordingInterface ui;
  ASSERT_TRUE(AddParticle(set, {3, 2, 1}, {0.5f, 0.25f, 0.75f}, 7.5f, ui));
  const ParticleRecord& p = set.Particles[0];
  EXPECT_EQ(p.forward.cell, (CellIndex{3, 2, 1}));
  EXPECT_EQ(p.backward.local, (LocalPoint{0.5f, 0.25f, 0.75f}));
  EXPECT_EQ(p.ParticleColor, 65280);
  EXPECT_EQ(p.Retardation, 2.5f);
  EXPECT_EQ(p.PenWidth, 1);
  EXPECT_EQ(p.forward.lastElevation, 7.5f);
  EXPECT_FALSE(p.backward.stopped);
}

TEST(AddParticle, TheSetHoldsAtMostFiveThousandAndAGroupGoesInWholeOrNotAtAll) {
  ParticleSet set;
  test::RecordingInterface ui;
  set.Particles.resize(kMaxParticles);
  EXPECT_FALSE(AddParticle(set, {1, 1, 1}, {}, 0, ui));
  EXPECT_EQ(set.ParticleCount(), kMaxParticles);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, kLimitMessage);
  EXPECT_EQ(ui.messages[0].title, kErrorTitle);
  EXPECT_EQ(ui.beeps, 1);
  set.Particles.resize(kMaxParticles - 2);
  const std::vector<ParticleRecord> three(3, NewParticle(set, {1, 1, 1}, {}, 0));
  EXPECT_FALSE(AddParticleGroup(set, three, ui));
  EXPECT_EQ(set.ParticleCount(), kMaxParticles - 2);
  EXPECT_TRUE(AddParticleGroup(set, {three.begin(), three.begin() + 2}, ui));
  EXPECT_EQ(set.ParticleCount(), kMaxParticles);
}

struct TrackedSet {
  TrackedSet() {
    set.Particles.push_back(NewParticle(set, {2, 2, 1}, {0.5f, 0.5f, 0.5f}, 3));
    ParticleRecord& p = set.Particles[0];
    p.forward = {{5, 2, 1}, {0.1f, 0.2f, 0.3f}, true, 40, 40, 1};
    p.backward = {{1, 2, 1}, {0.9f, 0.2f, 0.3f}, false, 12, 12, 2};
  }
  ParticleSet set;
};

// A reset of positions keeps the times, a reset of times the positions; a
// replay starts from the release points but runs to the old time limits.
TEST(ParticleSet, ResetsAndTheReplayEachKeepWhatTheyShould) {
  TrackedSet positions, times, replay;
  ResetParticlePositions(positions.set);
  ResetParticleTimes(times.set);
  PrepareReplay(replay.set);
  const ParticleRecord& p = positions.set.Particles[0];
  EXPECT_EQ(p.forward.cell, p.startCell);
  EXPECT_EQ(p.backward.local, p.startLocal);
  EXPECT_FALSE(p.forward.stopped);
  EXPECT_EQ(p.backward.lastElevation, 3);
  EXPECT_EQ(p.forward.time, 40);
  const ParticleRecord& t = times.set.Particles[0];
  EXPECT_EQ(t.forward.time + t.forward.timeLimit + t.backward.time + t.backward.timeLimit, 0);
  const ParticleRecord& r = replay.set.Particles[0];
  EXPECT_EQ(r.forward.cell, r.startCell);
  EXPECT_EQ(r.forward.time, 0);
  EXPECT_EQ(r.forward.timeLimit, 40);
  EXPECT_EQ(r.backward.timeLimit, 12);
}

struct ParticleFiles {
  ParticleFiles() : state(test::BoxModel(20, 10, 2, 10, 10, 5, 0.25f)) {}
  bool Read(const std::string& contents) {
    test::WriteWholeFile(dir.File("p.txt"), contents);
    return ReadParticleFile(dir.File("p.txt"), state, set, ui);
  }
  test::TempDir dir;
  ModelState state;
  ParticleSet set;
  test::RecordingInterface ui;
};

TEST(ParticleFile, WritesTheMagicLineTheCountAndOneLinePerParticleAndAnEmptySetReadsBackAsNothing) {
  ParticleFiles f;
  ASSERT_TRUE(WriteParticleFile(f.dir.File("empty.txt"), f.set, f.ui));
  EXPECT_EQ(test::ReadWholeFile(f.dir.File("empty.txt")), "KESTRA_V100_PARTICLES\r\n 0 \r\n");
  EXPECT_TRUE(ReadParticleFile(f.dir.File("empty.txt"), f.state, f.set, f.ui));
  EXPECT_EQ(f.set.ParticleCount(), 0);
  EXPECT_TRUE(f.ui.messages.empty());
  f.set.DefaultRetardation = 1;
  ASSERT_TRUE(AddParticle(f.set, {12, 7, 1}, {0.5f, 0.25f, 0.5f}, 3.75f, f.ui));
  f.set.DefaultParticleColor = 65535;
  f.set.DefaultRetardation = 1e-5;
  ASSERT_TRUE(AddParticle(f.set, {1, 2, 2}, {0.1f, 1, 0}, -2, f.ui));
  ASSERT_TRUE(WriteParticleFile(f.dir.File("out.txt"), f.set, f.ui));
  EXPECT_EQ(test::ReadWholeFile(f.dir.File("out.txt")),
            "KESTRA_V100_PARTICLES\r\n 2 \r\n"
            "0.5 0.25 0.5 12 7 1 3.75 40960 1\r\n"
            "0.1 1 0 1 2 2 -2 65535 1E-05\r\n");
}

TEST(ParticleFile, SaveAndLoadGiveTheSameReleasePointsColoursAndRetardations) {
  ParticleFiles f;
  f.set.DefaultRetardation = 3.25;
  f.set.DefaultParticleColor = 123456;
  ASSERT_TRUE(AddParticle(f.set, {20, 10, 2}, {0.123457f, 0.9999f, 0.0001f}, 1.5e-7f, f.ui));
  ASSERT_TRUE(WriteParticleFile(f.dir.File("p.txt"), f.set, f.ui));
  ParticleSet loaded;
  loaded.DefaultParticleColor = 1;
  ASSERT_TRUE(ReadParticleFile(f.dir.File("p.txt"), f.state, loaded, f.ui));
  ASSERT_EQ(loaded.ParticleCount(), 1);
  const ParticleRecord& p = loaded.Particles[0];
  EXPECT_EQ(p.startCell, (CellIndex{20, 10, 2}));
  EXPECT_EQ(p.startLocal, f.set.Particles[0].startLocal);
  EXPECT_EQ(p.StartElevation, 1.5e-7f);
  EXPECT_EQ(p.ParticleColor, 123456);
  EXPECT_EQ(p.Retardation, 3.25f);
  EXPECT_EQ(p.forward.cell, p.startCell);
}

TEST(ParticleFile, LoadedParticlesAreAppendedInAnyFreeFormat) {
  ParticleFiles f;
  ASSERT_TRUE(AddParticle(f.set, {1, 1, 1}, {}, 0, f.ui));
  ASSERT_TRUE(f.Read("KESTRA_V100_PARTICLES\n2\n0.5,0.5,0.5,3,4,1,2,255,1 0.2\n0.2 0.2 5 6 2 1 0 2\n"));
  ASSERT_EQ(f.set.ParticleCount(), 3);
  EXPECT_EQ(f.set.Particles[2].startCell, (CellIndex{5, 6, 2}));
  EXPECT_EQ(f.set.Particles[2].Retardation, 2);
}

TEST(ParticleFile, AnythingButTheExactMagicLineOrAFileThatCannotBeReadIsRejectedWithTheReason) {
  ParticleFiles f;
  EXPECT_FALSE(f.Read("KESTRA_V100_PARTICLES  \r\n 1 \r\n0.5 0.5 0.5 1 1 1 0 255 1\r\n"));
  EXPECT_EQ(f.set.ParticleCount(), 0);
  EXPECT_EQ(f.ui.LastMessage(), "The selected file does not contain particle information");
  EXPECT_FALSE(f.Read(""));
  EXPECT_FALSE(ReadParticleFile(f.dir.File("none.txt"), f.state, f.set, f.ui));
  EXPECT_EQ(f.ui.LastMessage(), "No such file or directory");
  std::filesystem::create_directory(f.dir.path() / "particles");
  EXPECT_FALSE(ReadParticleFile(f.dir.File("particles"), f.state, f.set, f.ui));
  EXPECT_EQ(f.ui.LastMessage(), "Is a directory");
  EXPECT_EQ(f.set.ParticleCount(), 0);
}

TEST(ParticleFile, LoadingPastTheLimitKeepsWhatFitsAndSaysSoOnce) {
  ParticleFiles f;
  f.set.Particles.resize(kMaxParticles - 2);
  std::string contents = "KESTRA_V100_PARTICLES\r\n 3 \r\n";
  for (int n = 0; n < 3; ++n) contents += "0.5 0.5 0.5 1 1 1 0 255 1\r\n";
  EXPECT_TRUE(f.Read(contents));
  EXPECT_EQ(f.set.ParticleCount(), kMaxParticles);
  EXPECT_EQ(f.ui.messages.size(), 1u);
}

TEST(ParticleFile, ParticlesThatDoNotFitTheModelAreSkippedAndCounted) {
  ParticleFiles f;
  EXPECT_TRUE(f.Read("KESTRA_V100_PARTICLES\r\n 6 \r\n"
                     "0.5 0.5 0.5 21 1 1 0 255 1\r\n"     // column outside
                     "0.5 0.5 0.5 1 1 3 0 255 1\r\n"      // layer outside
                     "1.5 0.5 0.5 1 1 1 0 255 1\r\n"      // point outside the cell
                     "0.5 0.5 0.5 1 1 1 0 255 0\r\n"      // no retardation
                     "0.5 0.5 0.5 1 1 1 0 255 nan\r\n"    // not a number: 0
                     "0.5 0.5 0.5 2 1 1 0 255 1\r\n"));
  ASSERT_EQ(f.set.ParticleCount(), 1);
  EXPECT_EQ(f.set.Particles[0].startCell.column, 2);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_NE(f.ui.messages[0].text.find(" 5"), std::string::npos);
}

TEST(ParticleFile, ATruncatedLastLineAddsNothing) {
  ParticleFiles f;
  const std::string full = "KESTRA_V100_PARTICLES\r\n 2 \r\n0.5 0.5 0.5 1 1 1 0 255 1\r\n0.5 0.5 0.5 2 1 1 0 255 1\r\n";
  const std::size_t firstParticleEnd = full.find("\r\n0.5 0.5 0.5 2");
  for (std::size_t length = 0; length < full.size() - 2; ++length) {
    ParticleSet set;
    test::WriteWholeFile(f.dir.File("cut.txt"), full.substr(0, length));
    ReadParticleFile(f.dir.File("cut.txt"), f.state, set, f.ui);
    EXPECT_EQ(set.ParticleCount(), length >= firstParticleEnd ? 1 : 0) << length;
  }
}

// Where particles are placed and removed on the plan, and the checks of the
// placement entries.
// Columns 40 m wide and rows 20 m high: the centre of cell (3, 3) is (100, 50).
struct Placement {
  Placement() : state(test::BoxModel(5, 5, 2, 40, 20, 10, 0.25f)) {}
  std::vector<ParticleRecord> Place(const PlacementCounts& counts, std::vector<CellIndex> cells = {{3, 3, 1}}) {
    return PlacementParticles(state, settings, set, cells, counts, 1);
  }
  ModelState state;
  Settings settings;
  ParticleSet set;
  test::RecordingInterface ui;
};

TEST(SelectedCells, TakesActiveCellsWhoseCentresLieInTheRectangle) {
  Placement p;
  p.state.IBOUND(2, 2, 1) = 0;
  // Corners in any order; centres at x = 20, 60, 100 ... and y = 10, 30, 50 ...
  const auto cells = SelectedCells(p.state, {100, 30, 20, 10}, 1);
  ASSERT_EQ(cells.size(), 5u);
  EXPECT_EQ(cells[0], (CellIndex{1, 1, 1}));
  EXPECT_EQ(cells[3], (CellIndex{1, 2, 1}));  // rows outer; (2, 2) is inactive
  EXPECT_EQ(cells[4], (CellIndex{3, 2, 1}));
  EXPECT_TRUE(SelectedCells(p.state, {0, 0, 5, 5}, 1).empty());
}

TEST(PlacementParticles, FaceParticlesSitOnASubdivisionJustInsideTheFace) {
  Placement p;
  PlacementCounts counts;
  counts.faces[0] = {2, 1};  // face 1, NI x NK
  const auto particles = p.Place(counts);
  ASSERT_EQ(particles.size(), 2u);
  EXPECT_EQ(particles[0].startLocal, (LocalPoint{0.0001f, 0.25f, 0.5f}));
  EXPECT_EQ(particles[1].startLocal, (LocalPoint{0.0001f, 0.75f, 0.5f}));
  counts.faces[0] = {};
  counts.faces[4] = {1, 2};  // face 5 (top), NI x NJ
  const auto top = p.Place(counts);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[1].startLocal, (LocalPoint{0.75f, 0.5f, 0.9999f}));
  EXPECT_FLOAT_EQ(top[1].StartElevation, 10 + 0.9999f * 10);
}

TEST(PlacementParticles, OneParticlePerCellSitsAtItsCentre) {
  Placement p;
  const auto particles = p.Place({.latticeColumns = 1, .latticeRows = 1, .latticePlanes = 1}, {{1, 1, 1}, {2, 1, 1}});
  ASSERT_EQ(particles.size(), 2u);
  EXPECT_EQ(particles[1].startCell, (CellIndex{2, 1, 1}));
  EXPECT_EQ(particles[1].startLocal, (LocalPoint{0.5f, 0.5f, 0.5f}));
}

TEST(PlacementParticles, CirclePointsGoRoundClockwiseOnThePlan) {
  Placement p;
  const auto particles = p.Place({.circleCount = 4, .circleRadius = 10, .circlePlanes = 1});
  ASSERT_EQ(particles.size(), 4u);
  auto planX = [&](const ParticleRecord& r) { return p.state.XEDGE[r.startCell.column - 1] + r.startLocal.x * 40; };
  auto planY = [&](const ParticleRecord& r) { return p.state.YEDGE[r.startCell.row - 1] + r.startLocal.y * 20; };
  const float expected[4][2] = {{100, 60}, {90, 50}, {100, 40}, {110, 50}};
  for (int n = 0; n < 4; ++n) {
    EXPECT_NEAR(planX(particles[n]), expected[n][0], 1e-4) << n;
    EXPECT_NEAR(planY(particles[n]), expected[n][1], 1e-4) << n;
  }
  EXPECT_EQ(particles[0].startCell.row, 4);  // y = 60 is the upper edge of row 4
}

TEST(PlacementParticles, CirclePointsOutsideTheGridAreLeftOutAndOthersGoToTheirCell) {
  Placement p;
  p.state.IBOUND(2, 1, 1) = 0;
  // Round the centre (20, 10) of cell (1, 1).
  const auto particles = p.Place({.circleCount = 4, .circleRadius = 25, .circlePlanes = 2}, {{1, 1, 1}});
  // The points at 180 and 270 degrees lie outside the grid; the one at 360
  // degrees, (45, 10), lies in the inactive cell (2, 1).
  ASSERT_EQ(particles.size(), 4u);
  EXPECT_EQ(particles[0].startCell, (CellIndex{1, 2, 1}));
  EXPECT_EQ(particles[1].startCell, (CellIndex{2, 1, 1}));
  EXPECT_FLOAT_EQ(particles[3].startLocal.z, 0.75f);
}

TEST(PlaceParticleGroups, AddsTheWholePlacementOrNothing) {
  Placement p;
  const PlacementCounts counts{.latticeColumns = 2, .latticeRows = 1, .latticePlanes = 1};
  p.set.Particles.resize(kMaxParticles - 3);
  EXPECT_EQ(PlaceParticleGroups(p.state, p.settings, p.set, {{1, 1, 1}, {2, 1, 1}}, counts, 1, p.ui), 0);
  EXPECT_EQ(p.set.ParticleCount(), kMaxParticles - 3);
  EXPECT_EQ(p.ui.messages.size(), 1u);
  EXPECT_EQ(PlaceParticleGroups(p.state, p.settings, p.set, {{1, 1, 1}}, counts, 1, p.ui), 2);
}

TEST(ElevationOfLocalHeight, UsesTheWaterTableOfUnconfinedCells) {
  Placement p;
  // Layer 1: bottom 10, top 20. Confined, the layer top bounds the height; unconfined, the water table,
  // but never above the top (code 3) and not where the head is the no-flow value.
  const struct {
    int laycon;
    float head, elevation;
  } cases[] = {{0, 14, 15}, {1, 14, 12}, {3, 25, 15}, {3, p.settings.HNOFLO, 15}};
  for (const auto& c : cases) {
    p.state.LAYCON[1] = c.laycon;
    p.state.HEAD(1, 1, 1) = c.head;
    EXPECT_FLOAT_EQ(ElevationOfLocalHeight(p.state, p.settings, {1, 1, 1}, 0.5f), c.elevation)
        << c.laycon << " " << c.head;
  }
}

TEST(SuggestedPlacement, OffersFourParticlesInsideEachCellAtMidHeight) {
  Placement p;
  const auto placed = p.Place(SuggestedPlacementCounts(), {{3, 3, 1}, {4, 3, 1}});
  ASSERT_EQ(placed.size(), 8u);
  EXPECT_EQ(placed[0].startCell, (CellIndex{3, 3, 1}));
  EXPECT_FLOAT_EQ(placed[0].startLocal.x, 0.25f);
  EXPECT_FLOAT_EQ(placed[3].startLocal.y, 0.75f);
  for (const ParticleRecord& particle : placed) EXPECT_FLOAT_EQ(particle.startLocal.z, 0.5f);
}

TEST(PlacementEntries, RadiusAndCirclePlanesCountOnlyWithParticlesOnCircles) {
  EXPECT_EQ(CheckPlacementEntries(0, 0, 0, 0).field, PlacementField::Retardation);
  EXPECT_EQ(CheckPlacementEntries(-1, 0, 0, 0).field, PlacementField::Retardation);
  EXPECT_EQ(CheckPlacementEntries(1, 0, -5, 101).field, PlacementField::None);
  EXPECT_EQ(CheckPlacementEntries(1, 3, -5, 1).message, "Please enter a correct value for the radius.");
  EXPECT_EQ(CheckPlacementEntries(1, 3, 5, 101).field, PlacementField::CirclePlanes);
  EXPECT_EQ(CheckPlacementEntries(1, 3, 0, 100).field, PlacementField::None);
}

TEST(ParticleDeletion, RemovesReleasePointsInsideTheRectangleOfTheLayerOnly) {
  const ModelState model = test::BoxModel(4, 4, 2, 10, 10, 10, 0.25f);
  ParticleSet set;
  test::RecordingInterface ui;
  AddParticle(set, {1, 1, 1}, {0.5f, 0.5f, 0.5f}, 5, ui);  // (5, 5): inside
  AddParticle(set, {3, 3, 1}, {0.5f, 0.5f, 0.5f}, 5, ui);  // (25, 25): outside
  AddParticle(set, {2, 1, 2}, {0.5f, 0.5f, 0.5f}, 5, ui);  // inside, but layer 2
  AddParticle(set, {2, 2, 1}, {0.1f, 0.1f, 0.5f}, 5, ui);  // (11, 11): inside
  EXPECT_EQ(DeleteParticlesInside(set, model, {20, 20, 0, 0}, 1), 2);
  ASSERT_EQ(set.ParticleCount(), 2);
  EXPECT_EQ(set.Particles[0].startCell, (CellIndex{3, 3, 1}));
  EXPECT_EQ(set.Particles[1].startCell, (CellIndex{2, 1, 2}));
}

ParticleRecord Released(std::int16_t column) {
  const TrackState start{.cell = {column, 1, 1}, .local = {0.5f, 0.5f, 0.5f}};
  return {.startCell = start.cell, .startLocal = start.local, .forward = start, .backward = start};
}

// A particle tracked forward into the next column.
ParticleRecord Tracked(std::int16_t column) {
  ParticleRecord particle = Released(column);
  particle.forward.cell.column = static_cast<std::int16_t>(column + 1);
  particle.forward.time = particle.forward.timeLimit = 12.5;
  particle.forward.released = true;
  return particle;
}

// An edit that appends a particle released in `column`, recorded for undo.
void AddRecorded(ParticleSet& set, ParticleHistory& history, std::int16_t column) {
  auto before = set.Particles;
  set.Particles.push_back(Released(column));
  history.Record(std::move(before));
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
    if (!set.Particles.empty()) {
      EXPECT_EQ(set.Particles[0].forward.time > 0, c.firstStillTracked);
    }
    // What was not held before comes in at its release point.
    for (std::size_t i = 2; i < set.Particles.size(); ++i) EXPECT_EQ(set.Particles[i].forward.time, 0);
  }
}

TEST(ParticleHistory, UndoAndRedoWalkTheEditsAndKnowWhatIsSaved) {
  ParticleSet set;
  ParticleHistory history;
  EXPECT_EQ(history.Undo(set), Restored::Nothing);
  AddRecorded(set, history, 1);
  AddRecorded(set, history, 2);
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
  AddRecorded(set, history, 7);  // a new edit ends the redo
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
  for (std::int16_t column = 1; column <= 150; ++column) AddRecorded(set, history, column);
  int undone = 0;
  while (history.CanUndo()) undone += history.Undo(set) != Restored::Nothing;
  EXPECT_EQ(undone, 100);
  EXPECT_EQ(set.ParticleCount(), 50);
}

}  // namespace
}  // namespace kestra
