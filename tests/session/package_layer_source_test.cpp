// The package data the views draw, from a model file set and from a name file.
#include "session/package_layer_source.h"

#include <gtest/gtest.h>

#include "session/open_model.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

// A copy of mixed3d opened in one of its forms.
struct OpenedMixed3d {
  test::TempDir dir;
  Session session;

  explicit OpenedMixed3d(const std::string& form) {
    const std::string path = test::CopySharedRun(dir, "mixed3d", form, form == "lahey" ? "mixed3d.mdl" : "mixed3d.nam");
    SilentInterface ui;
    NoViews views;
    const bool opened =
        form == "lahey" ? OpenModelFile(path, session, ui, views) : ImportNameFile(path, session, ui, views);
    EXPECT_TRUE(opened);
  }
};

TEST(PackageLayerSource, EveryFormGivesTheCellsOfTheModelDescription) {
  for (const std::string form : {"lahey", "namefile", "modflow"}) {
    SCOPED_TRACE(form);
    OpenedMixed3d model(form);
    const PackageLayerReader read = MakePackageLayerReader(model.session);
    LayerValues values;
    // The pumping well: layer 2, row 8, column 15, -1500; nothing in layer 1.
    ASSERT_TRUE(read(data_type::kWells, 2, 1, values));
    ASSERT_EQ(values.ncol, 30);
    ASSERT_EQ(values.nrow, 25);
    EXPECT_EQ(values(15, 8), -1500.0f);
    EXPECT_EQ(values(22, 18), 0.0f);
    ASSERT_TRUE(read(data_type::kWells, 1, 1, values));
    EXPECT_EQ(values(15, 8), 0.0f);
    ASSERT_TRUE(read(data_type::kRivers, 1, 1, values));
    EXPECT_NE(values(5, 13), 0.0f);
    EXPECT_EQ(values(5, 12), 0.0f);
    ASSERT_TRUE(read(data_type::kDrains, 1, 1, values));
    EXPECT_NE(values(9, 22), 0.0f);
    ASSERT_TRUE(read(data_type::kGeneralHead, 2, 1, values));
    EXPECT_NE(values(30, 25), 0.0f);
    // No form has barriers or streams; other data types are no package data.
    EXPECT_FALSE(read(data_type::kBarriers, 1, 1, values));
    EXPECT_FALSE(read(data_type::kStreams, 1, 1, values));
    EXPECT_FALSE(read(5, 1, 1, values));
  }
}

TEST(PackageLayerSource, ReaderKeepsWhatItNeedsWhenTheSessionIsGone) {
  PackageLayerReader read;
  {
    OpenedMixed3d model("lahey");
    read = MakePackageLayerReader(model.session);
    model.session = Session{};
    LayerValues values;
    EXPECT_TRUE(read(data_type::kWells, 2, 1, values));
    EXPECT_FALSE(read(data_type::kWells, 4, 1, values));  // beyond the 3 layers
    EXPECT_FALSE(read(data_type::kWells, 1, 0, values));
  }
  // The model's files are gone with its folder: no data, and no crash.
  LayerValues values;
  EXPECT_FALSE(read(data_type::kWells, 2, 1, values));
}

}  // namespace
}  // namespace kestra
