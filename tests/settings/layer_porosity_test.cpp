#include "settings/layer_porosity.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(LayerPorosity, ReadsLayerKeysAndSkipsWhatIsNoPorosity) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path,
                       "[COLOR]\r\nLayer1=0.9\r\n[porosity]\r\nlayer1= .2\r\nLayer3=0.3\r\nLayer4=0\r\nLayer5=1.5\r\n"
                       "LayerX=0.1\r\nLayer0=0.1\r\nLayer6=abc\r\n[OTHER]\r\nLayer2=0.5\r\n");
  LayerPorosity expected;
  expected.byLayer = {{1, 0.2f}, {3, 0.3f}};
  EXPECT_EQ(ReadLayerPorosity(path), expected);
  EXPECT_EQ(ReadLayerPorosity(dir.File("missing.ini")), LayerPorosity{});
}

TEST(LayerPorosity, WrittenLayersReadBackAndOtherSectionsStay) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path, "[COLOR]\r\nMesh=1\r\n");
  LayerPorosity porosity;
  porosity.byLayer = {{1, 0.25f}, {12, 0.05f}};
  ASSERT_TRUE(WriteLayerPorosity(path, porosity));
  EXPECT_EQ(test::ReadWholeFile(path), "[COLOR]\r\nMesh=1\r\n[POROSITY]\r\nLayer1= .25\r\nLayer12= .05\r\n");
  EXPECT_EQ(ReadLayerPorosity(path), porosity);
}

TEST(LayerPorosity, OverridingValuesWinLayerByLayerAndOneForAllWinsEverywhere) {
  LayerPorosity base, over;
  base.byLayer = {{1, 0.2f}, {2, 0.3f}};
  over.byLayer = {{2, 0.4f}, {3, 0.1f}};
  const LayerPorosity combined = Overridden(base, over);
  EXPECT_EQ(combined.Of(1), 0.2f);
  EXPECT_EQ(combined.Of(2), 0.4f);
  EXPECT_EQ(combined.Of(3), 0.1f);
  EXPECT_EQ(combined.Of(4), 0.0f);

  over.everyLayer = 0.15f;
  over.byLayer.clear();
  EXPECT_EQ(Overridden(base, over).Of(1), 0.15f);
  EXPECT_EQ(Overridden(base, over).Of(9), 0.15f);
}

TEST(LayerPorosity, ApplyingFillsTheSetLayersAndTellsWhetherOneIsLeft) {
  CellArray<float> porosity;
  porosity.Dimension({2, 2, 2});
  LayerPorosity layers;
  layers.byLayer = {{2, 0.3f}, {5, 0.1f}};
  EXPECT_TRUE(ApplyLayerPorosity(layers, porosity));
  EXPECT_EQ(porosity(2, 2, 2), 0.3f);
  EXPECT_EQ(porosity(2, 2, 1), 0.0f);
  EXPECT_EQ(porosity(3, 2, 2), 0.0f);  // the border stays
  layers.everyLayer = 0.2f;
  EXPECT_FALSE(ApplyLayerPorosity(layers, porosity));
  EXPECT_EQ(porosity(1, 1, 1), 0.2f);
  EXPECT_EQ(porosity(1, 1, 2), 0.3f);
}

}  // namespace
}  // namespace kestra
