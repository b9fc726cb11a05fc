// The name file of a name-file model and the main file it lists.
#include "modelset/main_file.h"
#include "modelset/name_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/model_writers.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

constexpr float kFloatTolerance = 1e-6f;  // values pass through 32-bit floats

TEST(MainFile, ReadsGridElevationsBoundaryAndPorosity) {
  test::TempDir dir;
  test::SmallModel model;
  model.columnWidths = {10, 20, 30};
  model.ibound = {-1, 1, 1, 1, 0, 2.5f};
  model.porosity = {0, 0.25f, 0.25f, 0.25f, 0.25f, 0.25f};
  test::WriteNameFileModel(dir.path().string(), "m", model);
  test::RecordingInterface ui;
  MainFileContents contents;
  ASSERT_TRUE(ReadMainFile(dir.File("m.main"), contents, ui));
  const ModelState& state = contents.model;
  EXPECT_EQ(state.NCOL, 3);
  EXPECT_EQ(state.XEDGE[3], 60.0f);
  EXPECT_EQ(state.YEDGE[2], 40.0f);
  EXPECT_EQ(state.TOP(2, 2, 1), 10.0f);
  EXPECT_EQ(state.IBOUND(1, 1, 1), -1);
  EXPECT_EQ(state.IBOUND(3, 2, 1), 2);  // 2.5 rounds to even
  EXPECT_EQ(state.IBOUND0, state.IBOUND);
  EXPECT_EQ(state.POROSITY(1, 1, 1), 1.0E-20f);  // porosity 0 is stored as tiny
  EXPECT_NEAR(state.POROSITY(2, 1, 1), 0.25f, kFloatTolerance);
  EXPECT_FLOAT_EQ(contents.HNOFLO, -999.99f);
  EXPECT_EQ(contents.periods.timeUnit, 4);
  EXPECT_TRUE(ui.messages.empty());
}

std::string MainText(const std::string& layerTypes, const std::string& afterWidths) {
  return "2 1 2 0 0 2 4 -999 -1E+30 0 further words\n" + layerTypes + "\nCONSTANT 5\nCONSTANT 7\n" + afterWidths;
}

TEST(MainFile, UnconfinedTopLayerTopIsBottomPlusT) {
  test::TempDir dir;
  // T = 0 counts as 10; a one-row model reads its boundary as one section array.
  test::WriteWholeFile(dir.File("m.main"),
                       MainText("1 0", "CONSTANT 3\nCONSTANT 3\nCONSTANT -2\n"
                                       "INTERNAL 1\n1 -1\n0 1\nCONSTANT 0.1\nCONSTANT 0.2\n"
                                       "0\n100 3 2\n1 1 1\n0 0 0 0\n"));
  test::RecordingInterface ui;
  MainFileContents contents;
  ASSERT_TRUE(ReadMainFile(dir.File("m.main"), contents, ui));
  const ModelState& state = contents.model;
  EXPECT_EQ(state.TOP(1, 1, 1), 13.0f);
  EXPECT_EQ(state.BOT(1, 1, 1), 3.0f);
  EXPECT_EQ(state.TOP(2, 1, 2), 3.0f);
  EXPECT_EQ(state.BOT(2, 1, 2), -2.0f);
  EXPECT_EQ(state.IBOUND(2, 1, 1), -1);
  EXPECT_EQ(state.IBOUND(1, 1, 2), 0);
  ASSERT_EQ(contents.periods.NPER, 2);
  EXPECT_EQ(contents.periods.NSTP[1], 3);
  EXPECT_EQ(contents.periods.TSMULT[1], 2.0f);
  EXPECT_EQ(contents.periods.PERLEN[2], 1.0f);
}

TEST(MainFile, ExternalArrayIsRefused) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("m.main"), "2 1 1 0 0 1 4 -999 -1E+30 10\n0\nEXTERNAL 20 1\nCONSTANT 7\n");
  test::RecordingInterface ui;
  MainFileContents contents;
  EXPECT_FALSE(ReadMainFile(dir.File("m.main"), contents, ui));
  EXPECT_EQ(contents.model.NCOL, 0);
  EXPECT_EQ(ui.messages.size(), 1u);
}

TEST(MainFile, TruncatedFilesFailCleanly) {
  const std::string whole =
      test::ReadWholeFile((test::TestDataDir() / "transient2/namefile/transient2.main").string());
  test::TempDir dir;
  const std::size_t end = whole.find("CONSTANT 0.1");
  ASSERT_NE(end, std::string::npos);
  for (std::size_t length = 0; length < end; length += 7) {
    test::WriteWholeFile(dir.File("t.main"), whole.substr(0, length));
    test::RecordingInterface ui;
    MainFileContents contents;
    EXPECT_FALSE(ReadMainFile(dir.File("t.main"), contents, ui)) << length;
    EXPECT_EQ(ui.messages.size(), 1u);
  }
}

void WriteListedFiles(const test::TempDir& dir) {
  for (const char* name : {"m.main", "m.cbc", "m.hds", "m.wel", "m.rch"}) test::WriteWholeFile(dir.File(name), "");
}

TEST(NameFile, LowerCaseTypesAreAcceptedAndNamesResolvedBesideTheNameFile) {
  test::TempDir dir;
  WriteListedFiles(dir);
  // Backslashes in names separate folders.
  std::filesystem::create_directory(dir.path() / "Results");
  test::WriteWholeFile(dir.File("Results/Run.HDS"), "");
  test::WriteWholeFile(dir.File("m.nam"),
                       "# comment\r\nmain m.main\r\nwel m.wel 12 extra words\r\nRch m.rch\r\nbudget m.cbc\r\n"
                       "head(binary) Results\\Run.HDS\r\nBAS6 m.bas\r\n");
  test::RecordingInterface ui;
  NameFileEntries entries;
  ASSERT_TRUE(ReadNameFile(dir.File("m.nam"), entries, ui));
  EXPECT_EQ(entries.main, dir.File("m.main"));
  EXPECT_EQ(entries.packages.wells, dir.File("m.wel"));
  EXPECT_EQ(entries.packages.recharge, dir.File("m.rch"));
  EXPECT_EQ(entries.heads, dir.File("Results/Run.HDS"));
  EXPECT_TRUE(entries.drawdowns.empty());
  EXPECT_TRUE(ui.messages.empty());
}

TEST(NameFile, MissingRequiredEntryOrListedFileIsReported) {
  test::TempDir dir;
  WriteListedFiles(dir);
  test::WriteWholeFile(dir.File("m.nam"), "MAIN m.main\nBUDGET m.cbc\n");
  test::RecordingInterface ui;
  NameFileEntries entries;
  EXPECT_FALSE(ReadNameFile(dir.File("m.nam"), entries, ui));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error(s) found in the Name File " + dir.File("m.nam") +
                                     "\n\rCould not find data files listed in the Name File.");
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Error);
  test::WriteWholeFile(dir.File("m.nam"), "MAIN m.main\nBUDGET m.cbc\nHEAD(BINARY) m.hds\nDRN m.drn\n");
  test::RecordingInterface missing;
  EXPECT_FALSE(ReadNameFile(dir.File("m.nam"), entries, missing));
  EXPECT_EQ(missing.beeps, 1);
}

}  // namespace
}  // namespace kestra
