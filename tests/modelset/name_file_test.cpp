#include "modelset/name_file.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

void WriteListedFiles(const test::TempDir& dir) {
  for (const char* name : {"m.main", "m.cbc", "m.hds", "m.wel", "m.rch"}) test::WriteWholeFile(dir.File(name), "");
}

TEST(NameFile, LowerCaseTypesAreAcceptedAndNamesResolvedBesideTheNameFile) {
  test::TempDir dir;
  WriteListedFiles(dir);
  test::WriteWholeFile(dir.File("m.nam"),
                       "# comment\r\nmain m.main\r\nwel m.wel 12 extra words\r\nRch m.rch\r\nbudget m.cbc\r\n"
                       "head(binary) m.hds\r\nBAS6 m.bas\r\n");
  test::RecordingInterface ui;
  NameFileEntries entries;
  ASSERT_TRUE(ReadNameFile(dir.File("m.nam"), entries, ui));
  EXPECT_EQ(entries.main, dir.File("m.main"));
  EXPECT_EQ(entries.packages.wells, dir.File("m.wel"));
  EXPECT_EQ(entries.packages.recharge, dir.File("m.rch"));
  EXPECT_EQ(entries.heads, dir.File("m.hds"));
  EXPECT_TRUE(entries.drawdowns.empty());
  EXPECT_TRUE(ui.messages.empty());
}

TEST(NameFile, BackslashesInNamesSeparateFolders) {
  test::TempDir dir;
  WriteListedFiles(dir);
  std::filesystem::create_directory(dir.path() / "Results");
  test::WriteWholeFile(dir.File("Results/Run.HDS"), "");
  test::WriteWholeFile(dir.File("m.nam"), "MAIN m.main\nBUDGET m.cbc\nHEAD(BINARY) Results\\Run.HDS\n");
  test::RecordingInterface ui;
  NameFileEntries entries;
  ASSERT_TRUE(ReadNameFile(dir.File("m.nam"), entries, ui));
  EXPECT_EQ(entries.heads, dir.File("Results/Run.HDS"));
}

TEST(NameFile, MissingRequiredEntryIsReported) {
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
}

TEST(NameFile, ListedFileThatDoesNotExistIsReported) {
  test::TempDir dir;
  WriteListedFiles(dir);
  test::WriteWholeFile(dir.File("m.nam"), "MAIN m.main\nBUDGET m.cbc\nHEAD(BINARY) m.hds\nDRN m.drn\n");
  test::RecordingInterface ui;
  NameFileEntries entries;
  EXPECT_FALSE(ReadNameFile(dir.File("m.nam"), entries, ui));
  EXPECT_EQ(ui.beeps, 1);
}

}  // namespace
}  // namespace kestra
