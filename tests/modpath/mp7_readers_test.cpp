// The MODPATH 7 files as read, and the run planned from them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>

#include "modpath/mp7_name_file.h"
#include "modpath/mp7_run_plan.h"
#include "modpath/mp7_simulation.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

namespace fs = std::filesystem;

std::string DataPath(const std::string& relative) { return (test::TestDataDir() / relative).string(); }

struct SampleCase {
  std::string simulation;
  GridShape shape;
  Mp7SimulationType type;
  int weakSink, stopTimeOption, zoneOption;
  std::size_t groups, particles, releases;
  std::string groupName;
  Mp7Particle first;  // group, id, cell, local (MODPATH's sense), offset, drape
};

class Mp7Samples : public testing::TestWithParam<SampleCase> {};

TEST_P(Mp7Samples, ReadAsWritten) {
  const SampleCase& c = GetParam();
  Mp7Simulation s;
  std::string problem;
  ASSERT_TRUE(ReadMp7Simulation(DataPath(c.simulation), c.shape, s, problem)) << problem;
  EXPECT_EQ(s.type, c.type);
  EXPECT_EQ(s.trackingDirection, 1);
  EXPECT_EQ(s.weakSinkOption, c.weakSink);
  EXPECT_EQ(s.weakSourceOption, 1);
  EXPECT_EQ(s.stopTimeOption, c.stopTimeOption);
  EXPECT_EQ(s.zoneDataOption, c.zoneOption);
  ASSERT_EQ(s.groups.size(), c.groups);
  EXPECT_EQ(s.groups[0].name, c.groupName);
  EXPECT_EQ(s.groups[0].releaseTimes.size(), c.releases);
  ASSERT_EQ(s.particles.size(), c.particles);
  const Mp7Particle& p = s.particles[0];
  EXPECT_EQ(p.id, c.first.id);
  EXPECT_EQ(p.cell, c.first.cell);
  EXPECT_EQ(p.local, c.first.local);
  EXPECT_FALSE(p.drape);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, Mp7Samples,
    testing::Values(
        SampleCase{"mp7/uniform1/uniform1_fwd.mpsim", {20, 10, 1}, Mp7SimulationType::Pathlines, 2, 2, 1, 1, 10, 1,
                   "COL2", {1, 0, {2, 1, 1}, {0.5f, 0.5f, 0.5f}}},
        SampleCase{"mp7/mixed3d/mixed3d_fwd.mpsim", {30, 25, 3}, Mp7SimulationType::Pathlines, 2, 2, 1, 1, 57, 1,
                   "LAT1", {1, 0, {2, 3, 1}, {0.3f, 0.7f, 0.5f}}},
        SampleCase{"usgs/ex01_mf6/ex01a_mf6.mpsim", {20, 21, 3}, Mp7SimulationType::PathlinesAndTimeSeries, 1, 2, 2, 1,
                   21, 1, "PG1", {1, 0, {3, 1, 1}, {0.5f, 0.5f, 1.0f}}},
        // Style 4: a 5 x 5 template on the top face of the four cells the mask marks.
        SampleCase{"usgs/ex03_mf6/ex03a_mf6.mpsim", {20, 21, 3}, Mp7SimulationType::TimeSeries, 1, 2, 2, 1, 100, 10,
                   "PG1", {1, 0, {3, 3, 1}, {0.1f, 0.1f, 1.0f}}}));

TEST(Mp7Simulation, ReleaseAtIntervalAndTimePoints) {
  Mp7Simulation s;
  std::string problem;
  ASSERT_TRUE(ReadMp7Simulation(DataPath("usgs/ex03_mf6/ex03a_mf6.mpsim"), {20, 21, 3}, s, problem)) << problem;
  EXPECT_EQ(s.groups[0].releaseTimes.front(), 0.0);
  EXPECT_EQ(s.groups[0].releaseTimes.back(), 180.0);
  EXPECT_EQ(s.referenceTimeOption, 2);
  EXPECT_EQ(s.referencePeriod, 1);
  EXPECT_DOUBLE_EQ(s.referenceFraction, 0.9);
  ASSERT_EQ(s.timePoints.size(), 30u);
  EXPECT_EQ(s.timePoints.front(), 2000.0);
  EXPECT_EQ(s.timePoints.back(), 60000.0);
  ASSERT_EQ(s.zones.size(), 3u);
  EXPECT_EQ(s.zones[0].kind, Mp7LayerArray::Kind::External);
}

// Hand-made simulations: the locations follow INTERNAL in the file itself.
struct HandMadeCase {
  std::string name;
  std::string groupText;  // release and locations of one group
  std::size_t particles;
  int lastId;
  CellIndex lastCell;
  LocalPoint lastLocal;
  std::vector<double> releaseTimes;
};

// Reads a backward simulation "run.mpsim" of one group, stopping at 500, on a 4 x 3 x 2 grid.
bool ReadHandMade(const std::string& groupText, Mp7Simulation& s, std::string& problem) {
  const std::string head =
      "# made by hand\nrun.mpnam\nrun.mplst\n1 2 2 2 0 0\nrun.mpend\n0\n1\n0.0\n3\n500.0\n1\n1\n1\nG\n";
  test::TempDir dir;
  test::WriteWholeFile(dir.File("run.mpsim"), head + groupText);
  return ReadMp7Simulation(dir.File("run.mpsim"), {4, 3, 2}, s, problem);
}

class Mp7HandMade : public testing::TestWithParam<HandMadeCase> {};

TEST_P(Mp7HandMade, LocationsAndReleases) {
  const HandMadeCase& c = GetParam();
  Mp7Simulation s;
  std::string problem;
  ASSERT_TRUE(ReadHandMade(c.groupText, s, problem)) << problem;
  EXPECT_EQ(s.trackingDirection, 2);
  EXPECT_EQ(s.stopTimeOption, 3);
  EXPECT_EQ(s.stopTime, 500.0);
  EXPECT_EQ(s.groups[0].releaseTimes, c.releaseTimes);
  ASSERT_EQ(s.particles.size(), c.particles);
  EXPECT_EQ(s.particles.back().id, c.lastId);
  EXPECT_EQ(s.particles.back().cell, c.lastCell);
  EXPECT_EQ(s.particles.back().local, c.lastLocal);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, Mp7HandMade,
    testing::Values(
        HandMadeCase{"Style1CellNumbers", "3\n2\n2.0 4.0\nINTERNAL\n1\n2\n2 0\n1 0.1 0.2 0.3 0 0\n24 0.9 0.8 0.7 5 1\n",
                     2, 2, {4, 3, 2}, {0.9f, 0.8f, 0.7f}, {2.0, 4.0}},
        HandMadeCase{"Style2CellTemplateOverRegion", "2\n3 10.0 5.0\nINTERNAL\n2\n1 1\n2 1 0\n2 1 1\n1 1 1 1 2 2\n", 8,
                     8, {2, 2, 1}, {0.75f, 0.5f, 0.5f}, {10.0, 15.0, 20.0}},
        HandMadeCase{"Style3FaceTemplateOverCells", "1\n0.0\nINTERNAL\n3\n1 2\n1 2 0\n0 0 0 0 0 0 0 0 0 0 1 2\n1 24\n", 4,
                     4, {4, 3, 2}, {0.75f, 0.5f, 1.0f}, {0.0}},
        HandMadeCase{"Style4Mask", "1\n0.0\nINTERNAL\n4\n2 0\n0\nINTERNAL 1 (FREE) 0\n0 0 0 0\n0 1 0 0\n0 0 0 1\nCONSTANT 0\n1 1 2\n",
                     4, 4, {4, 3, 1}, {0.5f, 0.5f, 0.75f}, {0.0}}),
    [](const testing::TestParamInfo<HandMadeCase>& info) { return info.param.name; });

TEST(Mp7Simulation, BadInputNamesFileAndLine) {
  // The group text, and what the message says after the file name.
  const std::pair<const char*, const char*> cases[] = {
      {"1\n0.0\nINTERNAL\n1\n1\n1 0\n1 4 1 0.5 0.5 0.5 0 0\n", "line 21: the row 4 is not a whole number from 1 to 3."},
      {"1\n0.0\nINTERNAL\n1\n1\n1 0\n1 1 1 0.5 1.5 0.5 0 0\n", "line 21: a local coordinate lies outside 0 to 1."},
      {"4\n0.0\n", "line 15: the release option: 4 is not a whole number from 1 to 3."},
      {"1\n0.0\nEXTERNAL missing.sloc\n", "missing.sloc cannot be read."},
      {"1\n0.0\nINTERNAL\n5\n", "line 18: the input style: 5 is not a whole number from 1 to 4."},
      {"1\n0.0\nINTERNAL\n1\n1\n2 0\n1 1 1 0.5 0.5 0.5 0 0\n", "ends before particle 2."},
  };
  for (const auto& [groupText, expected] : cases) {
    Mp7Simulation s;
    std::string problem;
    EXPECT_FALSE(ReadHandMade(groupText, s, problem));
    EXPECT_NE(problem.find("run.mpsim"), std::string::npos) << problem;
    EXPECT_NE(problem.find(expected), std::string::npos) << problem;
  }
}

// The small files of a sample's folder (simulation, locations, zone arrays) copied into `dir`.
void CopySmallFiles(const fs::path& folder, const test::TempDir& dir) {
  constexpr std::uintmax_t kSmallFile = 100'000;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder))
    if (entry.file_size() < kSmallFile) fs::copy_file(entry.path(), dir.path() / entry.path().filename());
}

// Every prefix of every sample is read or refused with a message naming the file, never a crash.
TEST(Mp7Simulation, TruncatedSamplesFailCleanly) {
  const std::vector<std::pair<std::string, GridShape>> samples = {
      {"mp7/mixed3d/mixed3d_fwd.sloc", {30, 25, 3}},
      {"usgs/ex03_mf6/ex03a_mf6.sloc", {20, 21, 3}},
      {"usgs/ex01_mf6/ex01a_mf6.mpsim", {20, 21, 3}},
      {"usgs/ex03_mf6/ex03a_mf6.mpsim", {20, 21, 3}}};
  for (const auto& [relative, shape] : samples) {
    test::TempDir dir;
    CopySmallFiles(fs::path(DataPath(relative)).parent_path(), dir);
    const std::string text = test::ReadWholeFile(DataPath(relative));
    ASSERT_FALSE(text.empty()) << relative;
    const std::string cut = dir.File(relative.ends_with(".mpsim") ? "cut.mpsim" : "cut.sloc");
    for (std::size_t length = 0; length < text.size(); ++length) {
      test::WriteWholeFile(cut, text.substr(0, length));
      std::string problem;
      bool read = false;
      if (cut.ends_with(".mpsim")) {
        Mp7Simulation s;
        read = ReadMp7Simulation(cut, shape, s, problem);
      } else {
        std::optional<Mp7Input> input = Mp7Input::Open(cut, problem);
        std::vector<Mp7Particle> particles;
        read = input && ReadMp7StartingLocations(*input, shape, 0, particles);
        if (input) problem = input->Problem();
      }
      EXPECT_TRUE(read || problem.find("cut.") != std::string::npos) << length << ": " << problem;
    }
  }
}

TEST(Mp7NameFile, FindsTheFlowModel) {
  // The MODPATH name file, and the flow model's name file it leads to.
  const std::pair<const char*, const char*> cases[] = {{"usgs/ex01_mf6/ex01_mf6.mpnam", "mfsim.nam"},
                                                       {"usgs/ex01_mf2005/ex01a_mf2005.mpnam", "ex01_mf2005.nam"}};
  for (const auto& [mpnam, nameFile] : cases) {
    Mp7NameFile names;
    FlowModelChoice choice;
    std::string problem;
    ASSERT_TRUE(ReadMp7NameFile(DataPath(mpnam), names, problem)) << problem;
    EXPECT_FALSE(names.head.empty());
    EXPECT_FALSE(names.budget.empty());
    ASSERT_TRUE(FindFlowModelNameFile(names, choice, problem)) << problem;
    EXPECT_EQ(fs::path(choice.path).filename().string(), nameFile);
    EXPECT_TRUE(choice.guess.empty()) << choice.guess;
  }
}

TEST(Mp7NameFile, RefusesUnknownTypesAndMissingGrids) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"MPBAS a.mpbas\nGRID a.dis\n", "line 2: \"GRID a.dis\" is not a file type"},
      {"MPBAS a.mpbas\nHEAD a.hds\n", "names neither a DIS nor a GRBDIS file."}};
  for (const auto& [text, expected] : cases) {
    test::TempDir dir;
    test::WriteWholeFile(dir.File("a.mpnam"), text);
    Mp7NameFile names;
    std::string problem;
    EXPECT_FALSE(ReadMp7NameFile(dir.File("a.mpnam"), names, problem));
    EXPECT_NE(problem.find(expected), std::string::npos) << problem;
  }
}

StressPeriods TwoPeriods() {
  StressPeriods periods;
  periods.NPER = 2;
  periods.PERLEN = {0, 100, 300};
  periods.NSTP = {0, 1, 2};
  periods.TSMULT = {0, 1, 1};
  return periods;
}

// Stop time options: 1 the end (forward) or start (backward) of the
// simulation, 2 none, 3 the given tracking time.
TEST(Mp7RunPlan, StopTimeOptionsBecomeOneTrackingStep) {
  struct Case {
    int option, direction;
    double stopTime, referenceTime, releaseTime;
    double stepLength;
    std::int16_t stopAtTimeLimit;
    double simulationRelease;
  };
  const std::vector<Case> cases = {
      {1, 1, 0, 50, 10, 340, -1, 60},                // 400 - 50 - 10
      {1, 2, 0, 350, 20, 330, -1, 330},              // backward to time 0
      {2, 1, 0, 0, 5, kMp7NoStopTime, 0, 5},         // tracks on in the last period
      {3, 1, 1000, 0, 200, 800, 0, 200},             // beyond the simulation: not limited by its end
      {3, 2, 100, 300, 150, 0, 0, 150},              // released after the stop time: no step left
  };
  for (const Case& c : cases) {
    Mp7Simulation s;
    s.stopTimeOption = c.option;
    s.trackingDirection = c.direction;
    s.stopTime = c.stopTime;
    s.weakSinkOption = 2;
    TrackingSettings t;
    ApplyMp7Options(s, TwoPeriods(), c.referenceTime, c.releaseTime, t);
    EXPECT_EQ(t.StepLength, c.stepLength) << c.option << " " << c.direction;
    EXPECT_EQ(t.MaximumSteps, 1);
    EXPECT_EQ(t.StopAtTimeLimit, c.stopAtTimeLimit);
    EXPECT_EQ(t.SimulationMode, 2);
    EXPECT_EQ(*t.ReleaseTime, c.simulationRelease);
    EXPECT_EQ(t.FaceVelocities, FaceVelocityRule::OwnCell);
    EXPECT_EQ(t.WeakSinks, WeakCellRule::Stop);
    EXPECT_EQ(t.WeakSources, WeakCellRule::PassThrough);
  }
}

TEST(Mp7RunPlan, ReferenceTimeOfAStepFraction) {
  Mp7Simulation s;
  s.referenceTimeOption = 2;
  s.referencePeriod = 2;
  s.referenceStep = 2;
  s.referenceFraction = 0.5;
  EXPECT_DOUBLE_EQ(Mp7ReferenceTime(s, TwoPeriods()), 325.0);  // step 250..400
}

// Releases are grouped by tracking time; sequence numbers follow the input.
TEST(Mp7RunPlan, ReleasesGroupParticlesByTime) {
  Mp7Simulation s;
  s.groups = {{"A", 2, {0, 10}, ""}, {"B", 1, {10}, ""}};
  s.particles = {{7, 0, {1, 1, 1}, {}, 0, false}, {8, 0, {2, 1, 1}, {}, 10, false}, {3, 1, {3, 1, 1}, {}, 0, false}};
  // (group, id, sequence) of every label of every release.
  using Label = std::array<int, 3>;
  std::vector<double> times;
  std::vector<std::vector<Label>> labels;
  for (const Mp7Release& release : Mp7Releases(s)) {
    times.push_back(release.trackingTime);
    labels.emplace_back();
    for (const Mp7ParticleLabel& label : release.labels)
      labels.back().push_back({label.group, label.id, label.sequence});
  }
  EXPECT_EQ(times, (std::vector<double>{0, 10, 20}));
  // Time 10: group A's particle 8 released first with its offset, A's 7 released second, B's 3.
  EXPECT_EQ(labels, (std::vector<std::vector<Label>>{{{1, 7, 1}}, {{1, 8, 2}, {1, 7, 3}, {2, 3, 5}}, {{1, 8, 4}}}));
}

TEST(Mp7RunPlan, RetardationUsedOnlyWhenUniform) {
  Mp7Simulation s;
  EXPECT_EQ(Mp7UniformRetardation(s), 1.0f);
  s.retardationOption = 2;
  Mp7LayerArray two;
  two.constant = 2;
  s.retardation = {two, two};
  EXPECT_EQ(Mp7UniformRetardation(s), 2.0f);
  s.retardation[1].constant = 3;
  EXPECT_FALSE(Mp7UniformRetardation(s));
  const std::vector<std::string> unused = Mp7UnusedOptions(s);
  EXPECT_TRUE(std::any_of(unused.begin(), unused.end(),
                          [](const std::string& u) { return u.find("retardation") != std::string::npos; }));
}

}  // namespace
}  // namespace kestra
