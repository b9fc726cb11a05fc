#include <gtest/gtest.h>

#include "settings/layer_porosity.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(LayerPorosityEntries, EveryEntryThatSetsNothingIsNamedWithItsReason) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.ini"),
                       "[POROSITY]\nLayer1=0,1\nLayer2=abc\nLayer3=0.3\nLayer7=0.3\nTop=0.2\nlayer2=0.35\n");
  const LayerPorosity porosity = ReadLayerPorosity(dir.File("m.ini"));
  EXPECT_EQ(porosity.byLayer, (std::map<int, float>{{2, 0.35f}, {3, 0.3f}, {7, 0.3f}}));
  EXPECT_EQ(IgnoredLayerPorosityText(dir.File("m.ini"), 3),
            "These entries of the POROSITY section of " + dir.File("m.ini") +
                " are ignored: Layer1=0,1 (not a porosity above 0 and at most 1); Layer2=abc (not a porosity above 0 "
                "and at most 1); Layer7=0.3 (the model has 3 layers); Top=0.2 (not a key Layer1, Layer2, ...).");
  test::WriteWholeFile(dir.File("good.ini"), "[POROSITY]\nLayer1=0.2\n");
  EXPECT_TRUE(IgnoredLayerPorosityText(dir.File("good.ini"), 3).empty());
}

}  // namespace
}  // namespace kestra
