// kestra-cli plot with velocity vectors and DXF base maps.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli_runner.h"
#include "cli/plot_options.h"
#include "export/dxf_maps.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

bool Read(const Arguments& args, PlotOptions& options, std::string* errors = nullptr) {
  std::ostringstream err;
  const bool ok = ReadPlotOptions(args, options, err);
  if (errors) *errors = err.str();
  return ok;
}

TEST(PlotOverlayOptions, VectorsAndUpToFiveMaps) {
  test::TempDir dir;
  const std::string map = dir.File("site.dxf");
  const std::string odd = dir.File("a,b.dxf");
  test::WriteWholeFile(map, "0\nEOF\n");
  test::WriteWholeFile(odd, "0\nEOF\n");
  PlotOptions options;
  ASSERT_TRUE(Read({"m.mdl", "--out", "p.png", "--vectors", "on", "--map", map, "--map", map + ",10,-20.5,2",
                    "--map", odd},
                   options));
  EXPECT_EQ(options.overlays.vectors, true);
  ASSERT_EQ(options.overlays.maps.size(), 3u);
  EXPECT_EQ(options.overlays.maps[0].file, map);
  EXPECT_EQ(options.overlays.maps[0].factor, 1);
  EXPECT_EQ(options.overlays.maps[1].file, map);
  EXPECT_EQ(options.overlays.maps[1].shiftX, 10);
  EXPECT_EQ(options.overlays.maps[1].shiftY, -20.5f);
  EXPECT_EQ(options.overlays.maps[1].factor, 2);
  EXPECT_EQ(options.overlays.maps[2].file, odd);

  Settings settings;
  settings.dxfMaps[5] = {map, 1, 1, 1, kOn, 0};
  ApplyOverlayOptions(options.overlays, settings);
  EXPECT_EQ(settings.vectorsVisible, kOn);
  EXPECT_EQ(settings.dxfMaps[2], (DxfMapEntry{map, 10, -20.5f, 2, kOn, kDefaultMapColour}));
  EXPECT_EQ(settings.dxfMaps[4], DxfMapEntry{});
  EXPECT_EQ(settings.dxfMaps[5], DxfMapEntry{});

  std::string errors;
  const auto refused = [&](const Arguments& args) {
    PlotOptions fresh;
    return !Read(args, fresh, &errors);
  };
  EXPECT_TRUE(refused({"m.mdl", "--out", "p.png", "--vectors", "yes"}));
  EXPECT_NE(errors.find("--vectors"), std::string::npos);
  // A missing map is no wrong argument: the plot command refuses it with exit status 1.
  EXPECT_FALSE(refused({"m.mdl", "--out", "p.png", "--map", dir.File("none.dxf")}));
  EXPECT_TRUE(refused({"m.mdl", "--out", "p.png", "--map", map + ",1,2,NaN"}));
  EXPECT_NE(errors.find("the map factor 'NaN' of --map is not a finite number"), std::string::npos) << errors;
  EXPECT_TRUE(refused({"m.mdl", "--out", "p.png", "--map", map + ",1e99,2,1"}));
  EXPECT_NE(errors.find("the map shift in x '1e99'"), std::string::npos) << errors;
  Arguments six{"m.mdl", "--out", "p.png"};
  for (int n = 0; n < 6; ++n) six.insert(six.end(), {"--map", map});
  EXPECT_TRUE(refused(six));
  EXPECT_NE(errors.find("at most 5 maps"), std::string::npos);
  EXPECT_TRUE(refused({"m.mdl", "--out", "p.png", "--map"}));
  EXPECT_NE(errors.find("--map needs a value"), std::string::npos);
}

TEST(PlotOverlayOptions, VectorsGoIntoThePlotAndMapsOnlyIntoPictures) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
  const std::string map = dir.File("road.dxf");
  // A line across the whole plan, far wider than any model.
  test::WriteWholeFile(map, "0\nLINE\n62\n1\n10\n-100000\n20\n-100000\n11\n100000\n21\n100000\n0\nEOF\n");
  std::string errors;
  ASSERT_EQ(Plot({model, "--out", dir.File("off.dxf"), "--vectors", "off"}, &errors), 0) << errors;
  ASSERT_EQ(Plot({model, "--out", dir.File("on.dxf"), "--vectors", "on", "--map", map}, &errors), 0) << errors;
  const std::string off = test::ReadWholeFile(dir.File("off.dxf"));
  const std::string on = test::ReadWholeFile(dir.File("on.dxf"));
  EXPECT_GT(CountOf(on, "\r\nLINE\r\n"), CountOf(off, "\r\nLINE\r\n"));
  EXPECT_EQ(CountOf(on, "inf"), 0);
  EXPECT_EQ(CountOf(on, "nan"), 0);
  // The map's red line is no part of the plot.
  EXPECT_EQ(CountOf(on, "100000"), 0);

  // The figure draws the map's line in red; nothing else of uniform1 is red.
  ASSERT_EQ(Plot({model, "--out", dir.File("map.svg"), "--map", map}, &errors), 0) << errors;
  ASSERT_EQ(Plot({model, "--out", dir.File("plain.svg")}, &errors), 0) << errors;
  EXPECT_GT(CountOf(test::ReadWholeFile(dir.File("map.svg")), "#ff0000"), 0);
  EXPECT_EQ(CountOf(test::ReadWholeFile(dir.File("plain.svg")), "#ff0000"), 0);
}

}  // namespace
}  // namespace kestra::cli
