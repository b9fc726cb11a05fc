// The settings file as an INI file, and its POROSITY section.
#include "settings/ini_file.h"
#include "settings/layer_porosity.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>

#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(IniFile, KeysAreFoundInTheirOwnSectionWithoutRegardToCase) {
  const IniFile file = IniFile::FromText("[VelocityVectors]\r\nColor = 255 \r\n;Size=1\nnot a key\n[B]\ny=2\n");
  EXPECT_EQ(file.Get("velocityvectors", "color"), "255");
  EXPECT_EQ(file.Get("VELOCITYVECTORS", "COLOR"), "255");
  EXPECT_FALSE(file.Get("VelocityVectors", "Size").has_value());  // a comment
  EXPECT_FALSE(file.Get("VelocityVectors", "not a key").has_value());
  EXPECT_FALSE(file.Get("VelocityVectors", "y").has_value());
  EXPECT_FALSE(file.Get("Other", "Color").has_value());
  EXPECT_EQ(file.Get("B", "y"), "2");
}

TEST(IniFile, SettingReplacesAKeysLineOrAddsItAtTheEndOfItsSection) {
  struct Case {
    const char* text;
    std::vector<std::array<const char*, 3>> sets;  // section, key, value
    const char* expected;
  };
  const Case cases[] = {
      // The key is written with its name as given.
      {"[VelocityVectors]\r\nColor=255\r\nSize=25\r\n", {{"velocityvectors", "color", "0"}},
       "[VelocityVectors]\r\ncolor=0\r\nSize=25\r\n"},
      {"[A]\nx=1\n\n[B]\ny=2\n", {{"A", "z", "3"}, {"C", "w", "4"}}, "[A]\nx=1\nz=3\n\n[B]\ny=2\n[C]\nw=4\n"},
      // A file without a final line end gets one when extended.
      {"[A]\r\nx=1", {{"A", "y", "2"}}, "[A]\r\nx=1\ny=2\r\n"},
  };
  for (const Case& c : cases) {
    IniFile file = IniFile::FromText(c.text);
    for (const auto& [section, key, value] : c.sets) file.Set(section, key, value);
    EXPECT_EQ(file.Text(), c.expected) << c.text;
  }
}

TEST(IniFile, ValuesAreKeptWhole) {
  const std::string longPath = "/home/user/" + std::string(200, 'p') + ".dxf";
  IniFile file;
  file.Set("DXF_MAPS", "FILE#1", longPath);
  EXPECT_EQ(IniFile::FromText(file.Text()).Get("DXF_MAPS", "FILE#1"), longPath);
}

// Blanks at either end and surrounding quotes survive a round trip; a value
// written by hand with blanks around it is trimmed.
TEST(IniFile, ValuesReadBackAsTheyWereSet) {
  for (const std::string value : {" m", "m ", "\tx", "\"quoted\"", "plain", "a \"b\" c", ""}) {
    IniFile file;
    file.Set("CONTOURS", "LabelSuffix", QuotedIniValue(value));
    EXPECT_EQ(IniFile::FromText(file.Text()).Get("CONTOURS", "LabelSuffix"), value) << file.Text();
  }
  EXPECT_EQ(IniFile::FromText("[CONTOURS]\nLabelSuffix=  m  \n").Get("CONTOURS", "LabelSuffix"), "m");
}

TEST(IniFile, SaveReplacesTheFileAndLeavesNoTemporaryBehind) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path, "[A]\nx=1\n");
  IniFile file = IniFile::Load(path);
  file.Set("A", "x", "2");
  std::string error;
  ASSERT_TRUE(file.Save(path, error)) << error;
  EXPECT_EQ(test::ReadWholeFile(path), "[A]\nx=2\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_FALSE(file.Save(dir.File("missing/site.ini"), error));
  EXPECT_NE(error.find("missing/site.ini"), std::string::npos) << error;
}

// Two processes changing different keys of one file many times over: with
// the lock around read, change and write, no change of either is lost.
TEST(IniFile, UpdatesOfTwoProcessesKeepEveryChange) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  constexpr int kUpdates = 150;
  const auto updateKeys = [&](const char* section) {
    for (int i = 0; i < kUpdates; ++i) {
      std::string error;
      if (!IniFile::Update(path, [&](IniFile& f) { f.Set(section, "k" + std::to_string(i), "v"); }, error)) return 1;
    }
    return 0;
  };
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(updateKeys("CHILD"));
  const int parentResult = updateKeys("PARENT");
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(parentResult, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const IniFile merged = IniFile::Load(path);
  EXPECT_EQ(merged.Entries("PARENT").size(), std::size_t{kUpdates});
  EXPECT_EQ(merged.Entries("CHILD").size(), std::size_t{kUpdates});
}

TEST(IniFile, AFileThatCannotBeReadIsNotReplacedByTheChangedKeysAlone) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  std::filesystem::create_directory(path);
  test::RecordingInterface ui;
  EXPECT_FALSE(UpdateSettingsFile(path, [](IniFile& f) { f.Set("A", "x", "1"); }, ui));
  EXPECT_TRUE(std::filesystem::is_directory(path));
  EXPECT_EQ(ui.LastMessage().rfind("The settings could not be saved: " + path, 0), 0u) << ui.LastMessage();
  EXPECT_TRUE(UpdateSettingsFile("", [](IniFile& f) { f.Set("A", "x", "1"); }, ui));
}

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

TEST(LayerPorosity, WrittenLayersReadBackAndOtherSectionsStay) {
  test::TempDir dir;
  const std::string path = dir.File("site.ini");
  test::WriteWholeFile(path, "[COLOR]\r\nMesh=1\r\n");
  LayerPorosity porosity;
  porosity.byLayer = {{1, 0.25f}, {12, 0.05f}};
  test::RecordingInterface ui;
  ASSERT_TRUE(WriteLayerPorosity(path, porosity, ui));
  EXPECT_EQ(test::ReadWholeFile(path), "[COLOR]\r\nMesh=1\r\n[POROSITY]\r\nLayer1= .25\r\nLayer12= .05\r\n");
  EXPECT_EQ(ReadLayerPorosity(path), porosity);
}

TEST(LayerPorosity, OverridingValuesWinLayerByLayerAndOneForAllWinsEverywhere) {
  LayerPorosity base, over;
  base.byLayer = {{1, 0.2f}, {2, 0.3f}};
  over.byLayer = {{2, 0.4f}, {3, 0.1f}};
  for (const auto& [layer, porosity] : {std::pair{1, 0.2f}, {2, 0.4f}, {3, 0.1f}, {4, 0.0f}})
    EXPECT_EQ(Overridden(base, over).Of(layer), porosity) << layer;

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
