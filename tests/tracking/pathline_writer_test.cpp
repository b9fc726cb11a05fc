#include "tracking/pathline_writer.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tracking_models.h"

namespace kestra {
namespace {

TEST(PathlineRecord, FollowsTheModpathLayout) {
  const PathPoint point{{120, 50, 12.5}, 0.5f, {12, 7, 1}, 0};
  EXPECT_EQ(PathlineRecord(3, 1, point, 400),
            "3    1.20000000000E+02    3.50000000000E+02    5.00000000000E-01    1.25000000000E+01"
            "    0.00000000000E+00 12 7 1\r\n");
}

TEST(PathlineRecord, BackwardPointsAndNegativeCoordinates) {
  const PathPoint point{{-2.5, 0, -0.125}, 0.25f, {1, 1, 2}, 1234.5};
  // Y = 0 is the grid's top edge: y is the full grid length.
  EXPECT_EQ(PathlineRecord(12, -1, point, 400),
            "-12   -2.50000000000E+00    4.00000000000E+02    2.50000000000E-01   -1.25000000000E-01"
            "    1.23450000000E+03 1 1 2\r\n");
}

// Splits a record into its fields and checks their widths.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; in >> field;) fields.push_back(field);
  return fields;
}

TEST(PathlineWriter, AReplayWritesTheReleasePointAndEveryPointReachedInBothDirections) {
  ModelState state = test::BoxModel(10, 3, 1, 10, 10, 10, 0.25f);
  test::SetUniformFlow(state, 1, 1);
  state.IBOUND(10, 2, 1) = -1;
  test::TrackingFixture f(std::move(state));
  f.tracking.StepLength = 10;
  f.tracking.MaximumSteps = 3;
  f.Add(3, 2, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardStep);   // to time 10
  f.Run(TrackMode::BackwardStep);  // back 10

  std::ostringstream file;
  PathlineWriter writer(file, f.state.YEDGE[f.state.NROW]);
  f.Replay(writer);

  std::vector<std::vector<std::string>> records;
  std::istringstream lines(file.str());
  for (std::string line; std::getline(lines, line);) {
    ASSERT_EQ(line.back(), '\r');
    records.push_back(Fields(line));
  }
  // Forward: release at x = 25, the face at 30, the end of the step at 35;
  // backward: release, the face at 20, the end at 15.
  ASSERT_EQ(records.size(), 6u);
  const std::vector<std::string> release = {"1", "2.50000000000E+01", "1.50000000000E+01", "5.00000000000E-01",
                                            "5.00000000000E+00", "0.00000000000E+00", "3", "2", "1"};
  EXPECT_EQ(records[0], release);
  EXPECT_EQ(records[1][6], "4");  // entered column 4
  EXPECT_EQ(records[1][5], "5.00000000000E+00");
  // Each face crossing moves a particle on by 1e-6 of a cell (1e-5 m here).
  EXPECT_NEAR(std::stod(records[2][1]), 35, 2e-5);
  EXPECT_EQ(records[2][5], "1.00000000000E+01");
  EXPECT_EQ(records[3][0], "-1");
  EXPECT_EQ(records[3][1], "2.50000000000E+01");
  EXPECT_NEAR(std::stod(records[5][1]), 15, 2e-5);
  EXPECT_EQ(records[5][5], "1.00000000000E+01");
  EXPECT_EQ(records[5][6], "2");
}

TEST(PathlineWriter, AParticleThatNeverMovedContributesItsReleasePointOfTheDirectionRunOnly) {
  ModelState state = test::BoxModel(3, 1, 1, 10, 10, 10, 0.25f);
  state.IBOUND(2, 1, 1) = 0;
  test::TrackingFixture f(std::move(state));
  f.Add(2, 1, 1, 0.5f, 0.5f, 0.5f);
  f.Run(TrackMode::ForwardRun);  // stops at once: inactive
  ASSERT_TRUE(f.Forward().stopped);

  std::ostringstream file;
  PathlineWriter writer(file, f.state.YEDGE[f.state.NROW]);
  f.Replay(writer);
  EXPECT_EQ(file.str(),
            "1    1.50000000000E+01    5.00000000000E+00    5.00000000000E-01    5.00000000000E+00"
            "    0.00000000000E+00 2 1 1\r\n");
}

}  // namespace
}  // namespace kestra
