// An open refuses a model whose geometry or times cannot be tracked in,
// naming the array and cell, and keeps the model opened before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/model_checks.h"
#include "session/open_model.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(ModelNumbers, GeometryAndTimesThatCannotBeTrackedInRefuseTheOpen) {
  const struct {
    const char* written;  // in place of the first value of an array of mixed3d.dis
    const char* replaced;
    const char* named;
  } cases[] = {
      {"45.91 53.633", "1e-38 53.633", "DELR of column 1 is"},
      {"45.91 53.633", "1e38 53.633", "DELR of column 1 is"},
      {"59.601 54.634", "inf 54.634", "DELC of row 1 is"},
      {"1.0 1 1.0 SS", "-5 1 1.0 SS", "PERLEN of stress period 1 is -5"},
      {"1.0 1 1.0 SS", "1.0 1 0 SS", "TSMULT of stress period 1 is 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replaced);
    test::TempDir dir;
    const std::string path = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
    std::string dis = test::ReadWholeFile(dir.File("mixed3d.dis"));
    dis.replace(dis.find(c.written), std::string(c.written).size(), c.replaced);
    test::WriteWholeFile(dir.File("mixed3d.dis"), dis);
    Session session;
    test::RecordingInterface ui;
    NoViews views;
    EXPECT_FALSE(ImportNameFile(path, session, ui, views));
    EXPECT_FALSE(session.model.HasModel());
    EXPECT_NE(ui.LastMessage().find(c.named), std::string::npos) << ui.LastMessage();
  }
}

TEST(ModelNumbers, TheTopOrBottomOfAnActiveCellMustBeFinite) {
  ModelState model;
  DimensionModel(model, 2, 1, 1);
  model.DELR[1] = model.DELR[2] = model.DELC[1] = 10;
  model.IBOUND0(1, 1, 1) = 1;
  model.TOP(1, 1, 1) = model.TOP(2, 1, 1) = 10;
  model.BOT(2, 1, 1) = std::nanf("");
  const StressPeriods periods;
  EXPECT_EQ(ModelNumbersProblem(model, periods), "") << "an inactive cell's elevations are not used";
  model.IBOUND0(2, 1, 1) = 1;
  EXPECT_EQ(ModelNumbersProblem(model, periods).rfind("the bottom of column 2, row 1, layer 1 is ", 0), 0u);
}

// On a grid of many blocks of cells the first cell in the order of layers,
// rows and columns is named, wherever the problems lie.
TEST(ModelNumbers, TheFirstCellWithAnUnusableElevationIsNamed) {
  const struct {
    int column, row, layer;
    bool top;
    float value;
  } problems[] = {{70, 33, 2, false, INFINITY}, {3, 60, 2, true, 1e30f}, {41, 2, 3, true, std::nanf("")}};
  ModelState model;
  DimensionModel(model, 70, 60, 3);
  std::fill(model.DELR.begin(), model.DELR.end(), 10.0f);
  std::fill(model.DELC.begin(), model.DELC.end(), 10.0f);
  for (int k = 1; k <= 3; ++k)
    for (int i = 1; i <= 60; ++i)
      for (int j = 1; j <= 70; ++j) model.IBOUND0(j, i, k) = 1, model.TOP(j, i, k) = 10, model.BOT(j, i, k) = 0;
  const StressPeriods periods;
  EXPECT_EQ(ModelNumbersProblem(model, periods), "");
  for (const auto& problem : problems)
    (problem.top ? model.TOP : model.BOT)(problem.column, problem.row, problem.layer) = problem.value;
  EXPECT_EQ(ModelNumbersProblem(model, periods).rfind("the bottom of column 70, row 33, layer 2 is ", 0), 0u);
  model.IBOUND0(70, 33, 2) = 0;
  EXPECT_EQ(ModelNumbersProblem(model, periods).rfind("the top of column 3, row 60, layer 2 is ", 0), 0u);
  model.IBOUND0(3, 60, 2) = 0;
  EXPECT_EQ(ModelNumbersProblem(model, periods).rfind("the top of column 41, row 2, layer 3 is ", 0), 0u);
  model.IBOUND0(41, 2, 3) = -1;
  EXPECT_NE(ModelNumbersProblem(model, periods), "") << "a constant-head cell is tracked through";
}

}  // namespace
}  // namespace kestra
