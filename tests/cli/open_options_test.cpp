#include "cli/open_options.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

TEST(PorosityOption, OneValueSetsEveryLayerAndAListSetsLayerByLayer) {
  std::ostringstream err;
  Arguments args = {"info", "--porosity", "0.2", "model.nam"};
  LayerPorosity porosity;
  ASSERT_TRUE(TakePorosityOption(args, porosity, err));
  EXPECT_EQ(args, (Arguments{"info", "model.nam"}));
  EXPECT_EQ(porosity.everyLayer, 0.2f);
  EXPECT_TRUE(porosity.byLayer.empty());

  args = {"model.nam", "--porosity=0.2,,3e-1"};
  porosity = {};
  ASSERT_TRUE(TakePorosityOption(args, porosity, err));
  EXPECT_EQ(args, (Arguments{"model.nam"}));
  EXPECT_EQ(porosity.byLayer, (std::map<int, float>{{1, 0.2f}, {3, 0.3f}}));
  EXPECT_EQ(porosity.everyLayer, 0.0f);
  EXPECT_TRUE(err.str().empty());
}

TEST(PorosityOption, MissingOrInvalidListsAreRefusedWithTheArgumentsKept) {
  for (const Arguments& given :
       {Arguments{"m.nam", "--porosity"}, Arguments{"--porosity", "0"}, Arguments{"--porosity", "1.2"},
        Arguments{"--porosity=0.2,x"}, Arguments{"--porosity", "0.2;0.3"}}) {
    std::ostringstream err;
    Arguments args = given;
    LayerPorosity porosity;
    porosity.everyLayer = 0.5f;
    EXPECT_FALSE(TakePorosityOption(args, porosity, err)) << given.back();
    EXPECT_EQ(args, given);
    EXPECT_EQ(porosity.everyLayer, 0.5f);
    EXPECT_NE(err.str().find("--porosity needs"), std::string::npos);
  }
  Arguments unrelated = {"--porosityx", "m.nam"};
  std::ostringstream err;
  LayerPorosity porosity;
  EXPECT_TRUE(TakePorosityOption(unrelated, porosity, err));
  EXPECT_EQ(unrelated.size(), 2u);
}

}  // namespace
}  // namespace kestra::cli
