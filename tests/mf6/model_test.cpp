// A MODFLOW 6 simulation read into a model, and the model's family: its
// grid, connections, boundary packages and pass-through cells.
#include "mf6/model.h"
#include "mf6/readers.h"
#include "results/connection_flows.h"
#include "settings/settings.h"
#include "tracking/face_velocities.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <span>
#include <utility>

#include "core/data_types.h"
#include "core/sink_codes.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

std::string Example(const std::string& name, const std::string& file) {
  return (test::TestDataDir() / "usgs" / name / file).string();
}

Mf6Model ReadExample(const std::string& name) {
  Mf6Model model;
  std::string problem;
  EXPECT_TRUE(ReadMf6Model(Example(name, "mfsim.nam"), {}, {}, model, problem)) << problem;
  return model;
}

// The entries of the connections as a grid file lists them.
struct ConnectionList {
  std::vector<std::int64_t> IA;
  std::vector<std::int32_t> JA;
};

ConnectionList ListOf(const CellConnections& connections) {
  ConnectionList list;
  for (ConnectionWalk walk(connections); walk.Next();) {
    list.IA.push_back(static_cast<std::int64_t>(list.JA.size()));
    list.JA.insert(list.JA.end(), walk.Entries().begin(), walk.Entries().end());
  }
  list.IA.push_back(static_cast<std::int64_t>(list.JA.size()));
  return list;
}

bool PlaceConnectionFlows(const CellConnections& connections, std::span<const float> flows, ModelState& state) {
  return ConnectionFlowPlacer(connections, state).Place(flows);
}

const Mf6BoundaryPackage* PackageOf(const Mf6Model& model, const std::string& kind) {
  for (const auto& package : model.boundaryPackages)
    if (package.kind == kind) return &package;
  return nullptr;
}

TEST(Mf6Model, ReadsTheFirstUsgsExample) {
  const Mf6Model model = ReadExample("ex01_mf6");
  EXPECT_EQ(model.modelName, "ex01_mf6");
  EXPECT_EQ(model.Shape(), (GridShape{20, 21, 3}));
  EXPECT_TRUE(model.gridFromBinaryFile);
  EXPECT_EQ(model.connections.EntryCount(), 7734);
  EXPECT_EQ(model.LAYCON, (std::vector<std::int16_t>{0, 3, 0, 0}));
  EXPECT_EQ(model.grid.TOP[0], 400.0);
  EXPECT_EQ(model.grid.BOTM[2 * 420], 0.0);
  EXPECT_EQ(model.stressPeriods.NPER, 1);
  EXPECT_EQ(model.stressPeriods.timeUnit, 4);  // days
  EXPECT_TRUE(model.porosityFromMpbas);
  EXPECT_FLOAT_EQ(model.POROSITY(7, 9, 2), 0.1f);
  EXPECT_EQ(std::filesystem::path(model.HeadPath).filename(), "ex01_mf6.hed");
  EXPECT_TRUE(model.hasRecharge);
  EXPECT_FALSE(model.hasEvapotranspiration);
  const Mf6BoundaryPackage* wells = PackageOf(model, "WEL");
  ASSERT_NE(wells, nullptr);
  ASSERT_EQ(wells->CellsOf(1)->size(), 1u);
  const Mf6BoundaryCell well = wells->CellsOf(1)->front();
  EXPECT_EQ((std::vector<int>{well.layer, well.row, well.column, well.iface}), (std::vector<int>{3, 11, 10, 0}));
  EXPECT_EQ(well.value, -150000.0f);
  const Mf6BoundaryPackage* rivers = PackageOf(model, "RIV");
  ASSERT_NE(rivers, nullptr);
  ASSERT_EQ(rivers->CellsOf(1)->size(), 21u);
  EXPECT_EQ(rivers->CellsOf(1)->back().iface, 6);
  EXPECT_EQ(rivers->CellsOf(1)->back().value, 1.0e5f);  // the conductance
}

TEST(Mf6Model, ReadsTheTransientExamplePerPeriod) {
  const Mf6Model model = ReadExample("ex03_mf6");
  EXPECT_EQ(model.stressPeriods.NSTP, (std::vector<int>{0, 1, 10, 1}));
  EXPECT_EQ(model.stressPeriods.TSMULT[2], 1.5f);
  EXPECT_EQ(std::vector<bool>(model.steadyState.begin() + 1, model.steadyState.end()),
            (std::vector<bool>{true, false, true}));
  const Mf6BoundaryPackage* wells = PackageOf(model, "WEL");
  ASSERT_NE(wells, nullptr);
  // No PERIOD block 1; period 3 keeps the wells of period 2.
  EXPECT_EQ(wells->CellsOf(1)->size(), 0u);
  EXPECT_EQ(wells->CellsOf(2)->size(), 2u);
  EXPECT_EQ(wells->CellsOf(3)->size(), 2u);
  EXPECT_EQ(PackageOf(model, "DRN")->CellsOf(3)->size(), 11u);
}

// Our connections from DIS and IDOMAIN are MODFLOW 6's own: its grid file
// holds them, so the open keeps none of its list.
TEST(Mf6Connections, BuiltFromTheGridAsMf6BuildsThem) {
  const Mf6Model model = ReadExample("ex03_mf6");
  EXPECT_FALSE(model.connections.Listed());
  Mf6Grid grid;
  std::string problem;
  ASSERT_TRUE(ReadDiscretization(Example("ex03_mf6", "ex03_mf6.dis"), grid, problem)) << problem;
  EXPECT_EQ(grid.TOP, model.grid.TOP);
  EXPECT_EQ(grid.BOTM, model.grid.BOTM);
  EXPECT_EQ(grid.IDOMAIN, model.grid.IDOMAIN);
}

// MODFLOW 6's rule spelled out cell by cell, as its grid file lists the
// connections: a cell in the model, then its neighbours in the model in
// rising order, vertically across cells of negative IDOMAIN.
ConnectionList ListByRule(GridShape grid, const std::vector<int>& idomain) {
  const std::int64_t layerCells = std::int64_t{grid.ncol} * grid.nrow, cells = layerCells * grid.nlay;
  const auto inside = [&](std::int64_t n) { return idomain[static_cast<std::size_t>(n)] > 0; };
  const auto vertical = [&](std::int64_t n, std::int64_t step) -> std::int64_t {
    for (n += step; n >= 0 && n < cells; n += step)
      if (idomain[static_cast<std::size_t>(n)] >= 0) return inside(n) ? n : -1;
    return -1;
  };
  ConnectionList list;
  for (std::int64_t n = 0; n < cells; ++n) {
    list.IA.push_back(static_cast<std::int64_t>(list.JA.size()));
    if (!inside(n)) continue;
    const std::int64_t column = n % grid.ncol, row = n / grid.ncol % grid.nrow;
    const std::int64_t neighbours[] = {n,
                                       vertical(n, -layerCells),
                                       row > 0 && inside(n - grid.ncol) ? n - grid.ncol : -1,
                                       column > 0 && inside(n - 1) ? n - 1 : -1,
                                       column + 1 < grid.ncol && inside(n + 1) ? n + 1 : -1,
                                       row + 1 < grid.nrow && inside(n + grid.ncol) ? n + grid.ncol : -1,
                                       vertical(n, layerCells)};
    for (const std::int64_t m : neighbours)
      if (m >= 0) list.JA.push_back(static_cast<std::int32_t>(m));
  }
  list.IA.push_back(static_cast<std::int64_t>(list.JA.size()));
  return list;
}

// Grids with cells in the model, outside it and passed through, mixed at
// random: the walk gives the rule's entries and the count is theirs.
TEST(Mf6Connections, WalkGivesTheEntriesOfTheRule) {
  std::mt19937 random(29);
  std::uniform_int_distribution<int> idomainValue(-2, 2);
  // Rows of 17 and 40 columns are made in blocks of 16 and the columns left over.
  for (const GridShape grid : {GridShape{1, 1, 1}, GridShape{3, 2, 4}, GridShape{1, 5, 1}, GridShape{4, 1, 6},
                               GridShape{5, 4, 3}, GridShape{2, 3, 2}, GridShape{17, 3, 3}, GridShape{40, 2, 4}}) {
    const auto cells = static_cast<std::size_t>(grid.ncol * grid.nrow * grid.nlay);
    for (int round = 0; round < 20; ++round) {
      std::vector<int> idomain(cells, 1);
      if (round > 0)
        for (int& value : idomain) value = idomainValue(random);
      const ConnectionList expected = ListByRule(grid, idomain);
      const CellConnections connections(grid, idomain);
      const ConnectionList walked = ListOf(connections);
      EXPECT_EQ(walked.IA, expected.IA) << grid.ncol << " x " << grid.nrow << " x " << grid.nlay << ", round " << round;
      EXPECT_EQ(walked.JA, expected.JA) << grid.ncol << " x " << grid.nrow << " x " << grid.nlay << ", round " << round;
      EXPECT_EQ(connections.EntryCount(), static_cast<std::int64_t>(expected.JA.size()));
      // As a grid file holds them, counted from 1, and with one entry changed.
      std::vector<std::int32_t> stored(expected.JA);
      for (std::int32_t& cell : stored) ++cell;
      for (ConnectionWalk walk(connections); walk.Next();) {
        std::int32_t* entries = stored.data() + expected.IA[static_cast<std::size_t>(walk.Cell())];
        EXPECT_TRUE(walk.EntriesAre(entries, 1)) << "cell " << walk.Cell();
        if (walk.EntryCount() == 0) continue;
        std::int32_t& last = entries[walk.EntryCount() - 1];
        ++last;
        EXPECT_FALSE(walk.EntriesAre(entries, 1)) << "cell " << walk.Cell();
        --last;
      }
    }
  }
  EXPECT_FALSE(CellConnections({2, 2, 2}, std::vector<int>(7, 1)).Usable());
}

// Flows of the connections are positive into the cell; as face flows they
// take MODFLOW-2005's signs.
TEST(Mf6Connections, PassThroughCellsJoinTheCellsAboveAndBelowAndCarryTheirFlows) {
  Mf6Grid grid;
  grid.NCOL = 2, grid.NROW = 1, grid.NLAY = 3;
  // Column 1: active, pass-through, active; column 2: active, inactive, active.
  grid.IDOMAIN = {1, 1, -1, 0, 1, 1};
  const CellConnections connections({2, 1, 3}, grid.IDOMAIN);
  EXPECT_EQ(connections.EntryCount(), 10);
  const ConnectionList list = ListOf(connections);
  EXPECT_EQ(list.IA, (std::vector<std::int64_t>{0, 3, 5, 5, 5, 8, 10}));
  EXPECT_EQ(list.JA, (std::vector<std::int32_t>{0, 1, 4, 1, 0, 4, 0, 5, 5, 4}));
  EXPECT_EQ(ListOf(CellConnections({2, 1, 3}, std::vector<int>{1, 1, -2, 0, 1, 1})).JA, list.JA);

  ModelState state;
  DimensionModel(state, 2, 1, 3);
  // Cell 0 takes 5 from cell 1 and gives 7 to cell 4 below the pass-through cell.
  const std::vector<float> flows = {0, 5, -7, 0, -5, 7, 0, 2, 0, -2};
  ASSERT_TRUE(PlaceConnectionFlows(connections, flows, state));
  EXPECT_EQ(state.QRIGHT(1, 1, 1), -5.0f);  // from column 1 to column 2
  EXPECT_EQ(state.QLOWER(1, 1, 1), 7.0f);   // downward, through the pass-through cell
  EXPECT_EQ(state.QLOWER(1, 1, 2), 7.0f);
  EXPECT_EQ(state.QRIGHT(1, 1, 3), -2.0f);
  EXPECT_EQ(state.QLOWER(2, 1, 1), 0.0f);

  // Flows arrive in pieces that may end inside a cell's entries.
  const ModelState whole = state;
  for (std::size_t split = 0; split <= flows.size(); ++split) {
    ModelState pieces;
    DimensionModel(pieces, 2, 1, 3);
    ConnectionFlowPlacer placer(connections, pieces);
    ASSERT_TRUE(placer.Place(std::span(flows).first(split)));
    ASSERT_TRUE(placer.Place(std::span(flows).subspan(split)));
    EXPECT_EQ(pieces.QRIGHT, whole.QRIGHT) << "split at " << split;
    EXPECT_EQ(pieces.QLOWER, whole.QLOWER) << "split at " << split;
    EXPECT_FALSE(placer.Place(std::vector<float>{1})) << "a flow beyond the entries";
  }

  // Listed in another order, the same connections carry the same flows.
  const CellConnections reordered({2, 1, 3}, list.IA, {0, 4, 1, 1, 0, 4, 5, 0, 5, 4});
  ModelState listed;
  DimensionModel(listed, 2, 1, 3);
  ASSERT_TRUE(PlaceConnectionFlows(reordered, std::vector<float>{0, -7, 5, 0, -5, 0, 2, 7, 0, -2}, listed));
  EXPECT_EQ(listed.QRIGHT, whole.QRIGHT);
  EXPECT_EQ(listed.QLOWER, whole.QLOWER);

  // A connection between cells that are no neighbours is refused, and so are
  // the connections of another grid and an IA that ends before JA.
  const CellConnections diagonal({2, 1, 3}, {0, 2, 3, 3, 3, 3, 3}, {0, 3, 1});
  EXPECT_FALSE(PlaceConnectionFlows(diagonal, std::vector<float>{0, 1, 0}, state));
  const CellConnections shortIa({2, 1, 3}, {0, 1, 1, 1, 1, 1, 1}, {0, 1});
  EXPECT_FALSE(shortIa.Usable());
  EXPECT_FALSE(PlaceConnectionFlows(shortIa, std::vector<float>{0, 1}, state));
  EXPECT_FALSE(PlaceConnectionFlows({}, {}, state));
  ModelState smaller;
  DimensionModel(smaller, 2, 1, 2);
  EXPECT_FALSE(PlaceConnectionFlows(connections, flows, smaller));
}

struct GridRead {
  bool ok = false;
  Mf6Grid grid;
  CellConnections connections;
  std::string problem;
};

// The binary grid file of ex01_mf6 with its bytes changed by `change`, read
// back from a file named `name`.
template <typename Change>
GridRead ReadChangedGridFile(const std::string& name, Change change) {
  std::string bytes = test::ReadWholeFile(Example("ex01_mf6", "ex01_mf6.dis.grb"));
  change(bytes);
  test::TempDir dir;
  test::WriteWholeFile(dir.File(name), bytes);
  GridRead read;
  PagedVector<int> cellTypes;
  read.ok = ReadGridFile(dir.File(name), read.grid, read.connections, cellTypes, read.problem);
  return read;
}

// The definition lines start at byte 200, 100 bytes each; the values of the
// 16 definitions follow them: NCELLS, NLAY, NROW, NCOL as 4-byte integers.
constexpr std::size_t kDefinitions = 200, kLineBytes = 100, kData = kDefinitions + 16 * kLineBytes;

TEST(Mf6GridFile, EveryTruncationFailsNamingTheFile) {
  const std::size_t size = test::ReadWholeFile(Example("ex01_mf6", "ex01_mf6.dis.grb")).size();
  for (std::size_t length = 0; length < size; length += 397) {
    const auto read = ReadChangedGridFile("cut.dis.grb", [length](std::string& bytes) { bytes.resize(length); });
    EXPECT_FALSE(read.ok) << length;
    EXPECT_EQ(read.problem.rfind("the binary grid file cut.dis.grb: ", 0), 0u) << read.problem;
  }
}

TEST(Mf6GridFile, DefinitionsAreFoundByNameNotPlace) {
  // Swap the definition lines of NROW and NCOL and their values: the grid stays the same.
  const auto read = ReadChangedGridFile("swapped.grb", [](std::string& bytes) {
    const auto line = bytes.begin() + kDefinitions;
    std::swap_ranges(line + 2 * kLineBytes, line + 3 * kLineBytes, line + 3 * kLineBytes);
    std::swap_ranges(bytes.begin() + kData + 8, bytes.begin() + kData + 12, bytes.begin() + kData + 12);
  });
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.grid.NROW, 21);
  EXPECT_EQ(read.grid.NCOL, 20);
}

// The three dimensions in the file's data.
std::function<void(std::string&)> Dimensions(std::int32_t nlay, std::int32_t nrow, std::int32_t ncol) {
  return [=](std::string& bytes) {
    for (const auto& [at, value] : {std::pair{4, nlay}, std::pair{8, nrow}, std::pair{12, ncol}})
      std::memcpy(bytes.data() + kData + at, &value, sizeof value);
  };
}

// Dimensions whose product no cell count can hold, or beyond the cell limit,
// are refused before any count is formed from them.
TEST(Mf6GridFile, CountsBeyondTheCellLimitBelowOneOrStoredAsRealsAreRefused) {
  const char* const kTooLarge = "a grid has at least one column";
  const struct {
    std::function<void(std::string&)> change;
    std::string problem;  // the whole message, or a part of it
  } cases[] = {
      {Dimensions(3, 2000000000, 2000000000), kTooLarge},
      {Dimensions(2000000000, 2000000000, 20), kTooLarge},
      {Dimensions(1, 20000, 20000), kTooLarge},
      {Dimensions(3, -21, 20), "the binary grid file bad.grb: NROW -21 is not positive."},
      {[](std::string& bytes) {
         const std::size_t nja = bytes.find("NJA INTEGER");
         ASSERT_NE(nja, std::string::npos);
         bytes.replace(nja + 4, 7, "DOUBLE ");
         bytes += std::string(4, '\0');  // the one value takes 8 bytes now
       },
       "the binary grid file bad.grb: NJA is not stored as integers."},
  };
  for (const auto& c : cases) {
    const auto read = ReadChangedGridFile("bad.grb", c.change);
    EXPECT_FALSE(read.ok) << c.problem;
    if (c.problem == kTooLarge)
      EXPECT_NE(read.problem.find(c.problem), std::string::npos) << read.problem;
    else
      EXPECT_EQ(read.problem, c.problem);
  }
}

// ex01's IA (1261 values) and JA (7734) follow the scalars, DELR, DELC, TOP and BOTM.
constexpr std::size_t kIa = kData + 5 * 4 + 3 * 8 + (20 + 21 + 420 + 1260) * 8, kJa = kIa + 1261 * 4;

std::function<void(std::string&)> StoredInt32(std::size_t at, std::int32_t value) {
  return [=](std::string& bytes) { std::memcpy(bytes.data() + at, &value, sizeof value); };
}

TEST(Mf6GridFile, ConnectionsThatFallOrNameNoCellAreRefused) {
  const struct {
    std::function<void(std::string&)> change;
    const char* problem;
  } cases[] = {
      {StoredInt32(kIa, 2), "IA does not run from 1 to NJA + 1."},
      {StoredInt32(kIa + 5 * 4, 0), "IA falls at cell 5."},
      {StoredInt32(kJa, 0), "JA names cell 0, outside the grid."},
      {StoredInt32(kJa + 7733 * 4, 1261), "JA names cell 1261, outside the grid."},
      {StoredInt32(kJa + 100 * 4, INT32_MIN), "JA names cell -2147483648, outside the grid."},
  };
  ASSERT_TRUE(ReadChangedGridFile("good.grb", [](std::string&) {}).ok);
  for (const auto& c : cases) {
    const auto read = ReadChangedGridFile("bad.grb", c.change);
    EXPECT_FALSE(read.ok) << c.problem;
    EXPECT_EQ(read.problem, std::string("the binary grid file bad.grb: ") + c.problem);
  }
}

TEST(Mf6GridFile, ConnectionsInAnotherOrderAreKeptAsListed) {
  // Cell 1 (from 1) connects to itself, its right neighbour 2, the cell 21 in front and 421 below.
  const auto read = ReadChangedGridFile("reordered.grb", [](std::string& bytes) {
    StoredInt32(kJa + 4, 21)(bytes);
    StoredInt32(kJa + 8, 2)(bytes);
  });
  ASSERT_TRUE(read.ok) << read.problem;
  ASSERT_TRUE(read.connections.Listed());
  const ConnectionList list = ListOf(read.connections);
  EXPECT_EQ(std::vector<std::int32_t>(list.JA.begin(), list.JA.begin() + 4), (std::vector<std::int32_t>{0, 20, 1, 420}));
  EXPECT_EQ(read.connections.EntryCount(), 7734);
}

TEST(Mf6Model, MissingFilesAndOtherGridsAreNamed) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("mfsim.nam"), "BEGIN TIMING\n TDIS6 sim.tdis\nEND TIMING\nBEGIN MODELS\n"
                                              " GWF6 m.nam m\nEND MODELS\n");
  test::WriteWholeFile(dir.File("sim.tdis"), "BEGIN DIMENSIONS\n NPER 1\nEND DIMENSIONS\nBEGIN PERIODDATA\n 1 1 1\n"
                                             "END PERIODDATA\n");
  Mf6Model model;
  std::string problem;
  EXPECT_FALSE(ReadMf6Model(dir.File("mfsim.nam"), {}, {}, model, problem));
  EXPECT_NE(problem.find("m.nam is missing"), std::string::npos) << problem;
  test::WriteWholeFile(dir.File("m.nam"), "BEGIN PACKAGES\n DISV6 m.disv\nEND PACKAGES\n");
  EXPECT_FALSE(ReadMf6Model(dir.File("mfsim.nam"), {}, {}, model, problem));
  EXPECT_NE(problem.find("only DIS grids"), std::string::npos) << problem;
  EXPECT_FALSE(ReadMf6Model(dir.File("mfsim.nam"), "other", {}, model, problem));
  EXPECT_EQ(problem, "the simulation holds no GWF model named other.");
}

TEST(Mf6Mpbas, DefaultIfaceEntriesThenPorosityPerLayer) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.mpbas"), "# MODPATH basic data\n2\nRCH\n6\nEVT\n6\nCONSTANT 0.3\nINTERNAL\n0.1 0\n");
  Mf6Grid grid;
  grid.NCOL = 2, grid.NROW = 1, grid.NLAY = 2;
  std::vector<DefaultFace> faces;
  CellArray<float> porosity;
  porosity.Dimension({2, 1, 2});
  std::string problem;
  ASSERT_TRUE(ReadMpbas(dir.File("m.mpbas"), grid, faces, porosity, problem)) << problem;
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[1].label, "EVT");
  EXPECT_EQ(faces[1].face, 6);
  EXPECT_EQ((std::vector<float>{porosity(1, 1, 1), porosity(2, 1, 1), porosity(1, 1, 2), porosity(2, 1, 2)}),
            (std::vector<float>{0.3f, 0.3f, 0.1f, 1.0E-20f}));
  test::WriteWholeFile(dir.File("m.mpbas"), "1\nRCH\n");
  EXPECT_FALSE(ReadMpbas(dir.File("m.mpbas"), grid, faces, porosity, problem));
}

// One column of three layers 10 thick; layer 2 a pass-through cell.
Mf6Model PassThroughColumn(int passThrough = -1) {
  Mf6Model model;
  model.simulationPath = "mfsim.nam";
  Mf6Grid& grid = model.grid;
  grid.NCOL = grid.NROW = 1;
  grid.NLAY = 3;
  grid.DELR = grid.DELC = {100};
  grid.TOP = {30};
  grid.BOTM = {20, 10, 0};
  grid.IDOMAIN = {1, passThrough, 1};
  model.connections = CellConnections(model.Shape(), grid.IDOMAIN);
  model.LAYCON = {0, 0, 0, 0};
  model.POROSITY.Dimension(model.Shape());
  std::fill(model.POROSITY.values.begin(), model.POROSITY.values.end(), 0.2f);
  return model;
}

// MODFLOW 6 takes every negative IDOMAIN for a pass-through cell.
TEST(Mf6Family, ParticlesPassThroughCellsOfNegativeIdomain) {
  for (const int passThrough : {-1, -2}) {
    SCOPED_TRACE(passThrough);
    OpenedModel opened;
    CopyMf6Model(PassThroughColumn(passThrough), opened);
    ModelState& state = opened.model;
    EXPECT_EQ(state.IBOUND(1, 1, 2), 1);
    // MODFLOW 6 writes no head for the pass-through cell; the head reader makes it inactive.
    state.HEAD(1, 1, 1) = 25;
    state.HEAD(1, 1, 2) = 1.0E+30f;
    state.HEAD(1, 1, 3) = 24;
    state.IBOUND(1, 1, 2) = 0;
    FamilyOf(state).AdjustLoadedHeads(state);
    EXPECT_EQ(state.IBOUND(1, 1, 2), 1);
    EXPECT_EQ(state.HEAD(1, 1, 2), 20.0f);
    // 7 units per day go down from layer 1 straight to layer 3.
    const std::vector<float> flows = {0, -7, 0, 7};
    ASSERT_NE(FamilyOf(state).FaceFlowConnections(), nullptr);
    ASSERT_TRUE(PlaceConnectionFlows(*FamilyOf(state).FaceFlowConnections(), flows, state));
    Settings settings;
    const FaceVelocities v = GetFaceVelocities(state, settings, TrackingSettings{}, 1, 1, 2);
    const float downward = -7.0f / (100 * 100) / 0.2f;
    EXPECT_FLOAT_EQ(v.VZ2, downward);
    EXPECT_FLOAT_EQ(v.VZ1, downward);
  }
}

TEST(Mf6Family, FixedHeadsOnlyInThePeriodsThatListThemAndWellsBySign) {
  Mf6Model model = PassThroughColumn();
  model.grid.IDOMAIN = {1, 1, 1};
  model.stressPeriods.NPER = 2;
  Mf6BoundaryPackage chd{"CHD", "CHD-1", {{}, {{1, 1, 1, 25, 0}}, {}}};
  Mf6BoundaryPackage wells{"WEL", "WEL-1", {{}, {{3, 1, 1, -5, 0}}, {{3, 1, 1, 5, 0}}}};
  model.boundaryPackages = {chd, wells};
  OpenedModel opened;
  CopyMf6Model(std::move(model), opened);
  ModelState& state = opened.model;
  const ModelFamily& family = FamilyOf(state);
  EXPECT_EQ(family.ListedBoundaryPackages(state), PackageKeys{"WEL"});
  for (const int period : {1, 2}) {
    state.CurrentPeriod = period;
    state.SINKCODE.Dimension(state.Shape());
    SilentInterface ui;
    EXPECT_TRUE(family.MarkBoundarySinks(state, {}, ui, false));
    EXPECT_EQ(state.IBOUND(1, 1, 1), period == 1 ? -1 : 1) << period;
    EXPECT_EQ(state.SINKCODE(1, 1, 3), period == 1 ? kBoundarySink : 0) << period;
  }
  LayerValues values;
  ASSERT_TRUE(family.ReadPackageLayer(data_type::kWells, 3, 2, values));
  EXPECT_EQ(values(1, 1), 5.0f);
  EXPECT_FALSE(family.ReadPackageLayer(data_type::kDrains, 1, 1, values));
}

}  // namespace
}  // namespace kestra
