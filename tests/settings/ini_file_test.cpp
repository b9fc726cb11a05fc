#include "settings/ini_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(IniFile, SectionsAndKeysMatchWithoutRegardToCase) {
  const IniFile file = IniFile::FromText("[VelocityVectors]\r\nColor = 255 \r\n");
  EXPECT_EQ(file.Get("velocityvectors", "color"), "255");
  EXPECT_EQ(file.Get("VELOCITYVECTORS", "COLOR"), "255");
  EXPECT_FALSE(file.Get("VelocityVectors", "Size").has_value());
  EXPECT_FALSE(file.Get("Other", "Color").has_value());
}

TEST(IniFile, KeysOfAnotherSectionAreNotFound) {
  const IniFile file = IniFile::FromText("[A]\nx=1\n[B]\ny=2\n");
  EXPECT_FALSE(file.Get("A", "y").has_value());
  EXPECT_EQ(file.Get("B", "y"), "2");
}

TEST(IniFile, CommentsAndLinesWithoutEqualsAreNotKeys) {
  const IniFile file = IniFile::FromText("[A]\n;x=1\nnot a key\nx=2\n");
  EXPECT_EQ(file.Get("A", "x"), "2");
}

TEST(IniFile, SettingAKeyReplacesItsLineWithTheNameAsGiven) {
  IniFile file = IniFile::FromText("[VelocityVectors]\r\nColor=255\r\nSize=25\r\n");
  file.Set("velocityvectors", "color", "0");
  EXPECT_EQ(file.Text(), "[VelocityVectors]\r\ncolor=0\r\nSize=25\r\n");
}

TEST(IniFile, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
  IniFile file = IniFile::FromText("[A]\nx=1\n\n[B]\ny=2\n");
  file.Set("A", "z", "3");
  file.Set("C", "w", "4");
  EXPECT_EQ(file.Text(), "[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
}

TEST(IniFile, AFileWithoutFinalNewlineGetsOneWhenExtended) {
  IniFile file = IniFile::FromText("[A]\r\nx=1");
  file.Set("A", "y", "2");
  EXPECT_EQ(file.Text(), "[A]\r\nx=1\ny=2\r\n");
}

TEST(IniFile, ValuesAreKeptWhole) {
  const std::string longPath = "/home/user/" + std::string(200, 'p') + ".dxf";
  IniFile file;
  file.Set("DXF_MAPS", "FILE#1", longPath);
  EXPECT_EQ(IniFile::FromText(file.Text()).Get("DXF_MAPS", "FILE#1"), longPath);
}

TEST(IniFile, SaveReplacesTheFileAndLeavesNoTemporaryBehind) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path, "[A]\nx=1\n");
  IniFile file = IniFile::Load(path);
  file.Set("A", "x", "2");
  ASSERT_TRUE(file.Save(path));
  EXPECT_EQ(test::ReadWholeFile(path), "[A]\nx=2\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(IniFile, SaveIntoAMissingFolderFailsAndSaysSo) {
  test::TempDir dir;
  IniFile file;
  file.Set("A", "x", "1");
  EXPECT_FALSE(file.Save(dir.File("missing/site.ini")));
}

}  // namespace
}  // namespace kestra
