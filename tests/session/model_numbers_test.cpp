// An open refuses a model whose geometry or times cannot be tracked in,
// naming the array and cell, and keeps the model opened before.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kestra
