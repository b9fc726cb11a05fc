#include <gtest/gtest.h>

#include "tracking/endpoint_table.h"

namespace kestra {
namespace {

TEST(EndpointEndDescription, NamesTheSinkCellItsPackagesAndTheWaterTable) {
  struct Case {
    TrackEnd end;
    int direction;
    float finalZ;
    std::vector<std::string> packages;
    const char* text;
  };
  const Case cases[] = {
      {TrackEnd::EnteredSinkCell, 1, 0.5f, {"pumping well"}, "entered the pumping well at layer 2, row 8, column 15"},
      {TrackEnd::NoExitFromSink, 1, 0.5f, {"drain", "river"}, "entered the drain and river at layer 2, row 8, column 15"},
      {TrackEnd::EnteredSinkCell, 1, 0.5f, {}, "entered a sink cell at layer 2, row 8, column 15"},
      {TrackEnd::LeftGrid, -1, 1.0f, {}, "reached the water table (recharge)"},
      {TrackEnd::LeftGrid, -1, 0.0f, {}, "left the grid"},
      {TrackEnd::LeftGrid, 1, 1.0f, {}, "left the grid"},
      {TrackEnd::NoTimeLeft, 1, 1.0f, {}, "reached the time limit"},
  };
  for (const Case& c : cases) {
    Endpoint e;
    e.end = c.end;
    e.direction = c.direction;
    e.finalCell = {15, 8, 2};
    e.finalLocal = {0.5f, 0.5f, c.finalZ};
    EXPECT_EQ(EndpointEndDescription(e, c.packages), c.text);
  }
  Endpoint untracked;
  untracked.end = TrackEnd::EnteredSinkCell;
  untracked.tracked = false;
  EXPECT_FALSE(EndedInSink(untracked));
  EXPECT_EQ(EndpointEndDescription(untracked, {"pumping well"}), EndpointEndText(untracked));
}

}  // namespace
}  // namespace kestra
