// track --mpsim on USGS MODPATH example 3 (MODFLOW 6): a transient run over
// all 12 time steps, ten releases from the reference time 90 000 d, a time
// series every 2 000 d; and one particle's move over the change from the
// steady first period to the first transient step, worked out by hand from
// the budget's face flows with the cell-by-cell exponential solution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "cli/batch_model.h"
#include "cli/cli_runner.h"
#include "session/time_step_results.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

struct PathPointRecord {
  int cell = 0, layer = 0, period = 0, step = 0;
  double time = 0, localX = 0, localY = 0, localZ = 0;
};

// Every point of every pathline part, by sequence number, in file order.
std::map<int, std::vector<PathPointRecord>> ReadPathPoints(const std::string& path) {
  const std::vector<std::string> lines = Lines(test::ReadWholeFile(path));
  std::map<int, std::vector<PathPointRecord>> points;
  std::size_t n = 0;
  while (n < lines.size() && !lines[n].starts_with("END HEADER")) ++n;
  for (++n; n < lines.size();) {
    const std::vector<std::string> head = Words(lines[n++]);
    const int sequence = std::stoi(head[0]);
    for (int p = std::stoi(head[3]); p > 0 && n < lines.size(); --p) {
      const std::vector<std::string> w = Words(lines[n++]);
      points[sequence].push_back({std::stoi(w[0]), std::stoi(w[8]), std::stoi(w[9]), std::stoi(w[10]),
                                  std::stod(w[4]), std::stod(w[5]), std::stod(w[6]), std::stod(w[7])});
    }
  }
  return points;
}

// Position along one axis of a cell after `dt`, the velocity varying
// linearly from v1 at face 0 to v2 at face 1 (Pollock): local coordinates.
double MovedAlongAxis(double local, double v1, double v2, double length, double dt) {
  const double gradient = (v2 - v1) / length;
  const double v = v1 + gradient * local * length;
  if (std::abs(gradient) < 1e-15) return local + v * dt / length;
  return (v * std::exp(gradient * dt) - v1) / gradient / length;
}

struct Example3 {
  Example3() {
    fs::copy(test::TestDataDir() / "usgs/ex03_mf6", dir.path(), fs::copy_options::recursive);
    EXPECT_EQ(RunCli("track", {"--mpsim", dir.File("ex03a_mf6.mpsim"), "--out", dir.File("p.mppth"), "--quiet"},
                     &errors),
              0)
        << errors;
  }
  test::TempDir dir;
  std::string errors;
};

TEST(MpsimTransient, TheTimeSeriesRunsThroughEveryStepFromTheReferenceTime) {
  Example3 run;
  const std::string text = test::ReadWholeFile(run.dir.File("ex03a_mf6.timeseries7"));
  const std::vector<std::string> lines = Lines(text);
  ASSERT_GT(lines.size(), 3u);
  EXPECT_EQ(Words(lines[1])[1], "0.9000000000E+05") << "the reference time, period 1 step 1 at 0.9";
  std::set<int> timePoints, steps;
  std::set<int> releasedAtZero;
  for (std::size_t n = 3; n < lines.size(); ++n) {
    const std::vector<std::string> w = Words(lines[n]);
    ASSERT_EQ(w.size(), 14u) << lines[n];
    const int index = std::stoi(w[0]);
    timePoints.insert(index);
    steps.insert(std::stoi(w[1]));
    EXPECT_NEAR(std::stod(w[2]), 2000.0 * index, 1e-6) << lines[n];
    if (index == 0) releasedAtZero.insert(std::stoi(w[3]));
  }
  // 30 time points every 2 000 d reach 150 000 d, in period 3; the first
  // release (100 particles) is at the reference time, the others 20 d apart later.
  EXPECT_EQ(*timePoints.rbegin(), 30);
  EXPECT_EQ(releasedAtZero.size(), 100u);
  EXPECT_TRUE(steps.contains(1) && steps.contains(12)) << "the steady periods at both ends";
  EXPECT_GE(steps.size(), 8u) << "time points fall in most transient steps";
}

TEST(MpsimTransient, AMoveOverTheStepChangeFollowsTheNewStepsFaceFlows) {
  Example3 run;
  const auto points = ReadPathPoints(run.dir.File("p.mppth"));
  // Particle 1 is in a cell of layer 3 at the end of period 1 (tracking time
  // 10 000 d) and still in it at the end of period 2, step 1.
  const std::vector<PathPointRecord>& path = points.at(1);
  const auto atChange = std::find_if(path.begin(), path.end(), [](const auto& p) { return p.time == 10000; });
  ASSERT_NE(atChange, path.end());
  const PathPointRecord& start = *atChange;
  const PathPointRecord& end = *(atChange + 1);
  ASSERT_EQ(start.period, 1);
  ASSERT_EQ(end.cell, start.cell);
  ASSERT_EQ(end.period, 2);
  ASSERT_EQ(end.step, 1);

  Session session;
  CollectingInterface ui;
  ASSERT_TRUE(OpenBatchModel(run.dir.File("mfsim.nam"), session, ui));
  ModelState& m = session.model;
  m.CurrentPeriod = 2;
  m.CurrentStep = 1;
  LoadTimeStepResults(m, session.settings, session.tracking, ui, StepResults::FlowField);
  ASSERT_TRUE(m.flowTermsLoaded);
  const int k = start.layer, cellInLayer = start.cell - 1 - (k - 1) * m.NROW * m.NCOL;
  const int i = cellInLayer / m.NCOL + 1, j = cellInLayer % m.NCOL + 1;
  ASSERT_EQ(k, 3) << "a confined layer: the thickness is top minus bottom";
  const double dx = m.DELR[j], dy = m.DELC[i], dz = m.TOP(j, i, k) - m.BOT(j, i, k);
  const double pore = m.POROSITY(j, i, k);
  // Local y counts from the front face (toward row i + 1) and z from the bottom.
  const double vx1 = m.QRIGHT(j - 1, i, k) / (pore * dy * dz), vx2 = m.QRIGHT(j, i, k) / (pore * dy * dz);
  const double vy1 = -m.QFRONT(j, i, k) / (pore * dx * dz), vy2 = -m.QFRONT(j, i - 1, k) / (pore * dx * dz);
  const double vz1 = -m.QLOWER(j, i, k) / (pore * dx * dy), vz2 = -m.QLOWER(j, i, k - 1) / (pore * dx * dy);
  const double dt = end.time - start.time;
  EXPECT_NEAR(dt, 36500 * 0.5 / (std::pow(1.5, 10) - 1), 1e-3) << "the first step of period 2";
  EXPECT_NEAR(end.localX, MovedAlongAxis(start.localX, vx1, vx2, dx, dt), 1e-5);
  EXPECT_NEAR(end.localY, MovedAlongAxis(start.localY, vy1, vy2, dy, dt), 1e-5);
  EXPECT_NEAR(end.localZ, MovedAlongAxis(start.localZ, vz1, vz2, dz, dt), 1e-5);
  // The steady flow field of period 1 would have taken it elsewhere.
  m.CurrentPeriod = 1;
  LoadTimeStepResults(m, session.settings, session.tracking, ui, StepResults::FlowField);
  const double steadyY = MovedAlongAxis(start.localY, -m.QFRONT(j, i, k) / (pore * dx * dz),
                                        -m.QFRONT(j, i - 1, k) / (pore * dx * dz), dy, dt);
  EXPECT_GT(std::abs(end.localY - steadyY), 1e-3);
}

}  // namespace
}  // namespace kestra::cli
