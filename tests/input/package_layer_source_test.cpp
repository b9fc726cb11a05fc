#include "input/package_layer_source.h"

#include <gtest/gtest.h>

namespace kestra {
namespace {

TEST(PackageLayerSource, Mf2005ImportGivesTheCellsOfThePeriodInTheLayerAsked) {
  Session session;
  DimensionModel(session.model, 4, 3, 2);
  session.model.importedFromNameFile = session.model.importedFromMf2005 = true;
  BoundaryPackage wells{"WEL", {{}, {{2, 3, 4, -100}, {1, 1, 1, 50}}, {}}};
  session.model.boundaryPackages.push_back(wells);
  const PackageLayerReader reader = MakePackageLayerReader(session);
  LayerValues values;
  ASSERT_TRUE(reader(kWellData, 2, 1, values));
  EXPECT_EQ(values(4, 3), -100);
  EXPECT_EQ(values(1, 1), 0);  // the other well lies in layer 1
  ASSERT_TRUE(reader(kWellData, 2, 2, values));
  EXPECT_EQ(values(4, 3), 0);  // period 2 lists no wells
  EXPECT_FALSE(reader(kRiverData, 1, 1, values));
}

}  // namespace
}  // namespace kestra
