#include <gtest/gtest.h>

#include "mf2005/packages.h"
#include "support/mf2005_writer.h"

namespace kestra {
namespace {

struct FlowRead {
  bool ok = false;
  Mf2005Model model;
  int budgetUnit = 0;
  std::string problem;
};

FlowRead ReadFlow(const std::string& fileType, const std::string& text, bool freeFormat, int nlay) {
  FlowRead read;
  read.model.NLAY = nlay;
  PackageInput input;
  input.file = test::TextOf(text, "model." + fileType);
  read.ok = ReadFlowPackage(fileType, input, freeFormat, read.model, read.budgetUnit, read.problem);
  return read;
}

TEST(Mf2005FlowPackage, LpfAndUpwLayerTypesAreConfinedOrConvertible) {
  for (const char* fileType : {"LPF", "UPW"}) {
    const auto read = ReadFlow(fileType, "# flow\n53 -1e30 0 THICKSTRT\n0 1\n-1\n0 0 0\n", true, 3);
    ASSERT_TRUE(read.ok) << read.problem;
    EXPECT_EQ(read.budgetUnit, 53);
    EXPECT_FLOAT_EQ(read.model.HDRY, -1e30f);
    EXPECT_EQ(read.model.LAYCON, (std::vector<std::int16_t>{0, 0, 3, 3}));
  }
}

TEST(Mf2005FlowPackage, BcfLayerTypesDropTheAveragingDigit) {
  // Fixed format: IBCFCB HDRY IWDFLG WETFCT IWETIT IHDWET, then Ltype (40I2).
  const auto read = ReadFlow("BCF6", "        40    -888.0         0       1.0         1         0\n 0 1 2 3\n",
                             false, 4);
  ASSERT_TRUE(read.ok) << read.problem;
  EXPECT_EQ(read.budgetUnit, 40);
  EXPECT_FLOAT_EQ(read.model.HDRY, -888.0f);
  EXPECT_EQ(read.model.LAYCON, (std::vector<std::int16_t>{0, 0, 1, 2, 3}));

  const auto averaged = ReadFlow("BCF6", "40 -888 0 1 1 0\n13 20\n", true, 2);
  ASSERT_TRUE(averaged.ok) << averaged.problem;
  EXPECT_EQ(averaged.model.LAYCON, (std::vector<std::int16_t>{0, 3, 0}));
  EXPECT_EQ(ReadFlow("BCF6", "40 -888 0 1 1 0\n5\n", true, 1).problem,
            "model.BCF6, line 2: the layer type 5 of layer 1 is not one of BCF's.");
}

}  // namespace
}  // namespace kestra
