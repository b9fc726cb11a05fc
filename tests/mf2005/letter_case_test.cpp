// Name files made on Windows may name their files in another letter case
// than the files have on disk.
#include <gtest/gtest.h>

#include <filesystem>

#include "mf2005/model.h"
#include "support/mf2005_writer.h"
#include "support/recording_interface.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(Mf2005LetterCase, AFileFoundInAnotherCaseAloneIsReadAndSaidOnce) {
  test::TempDir dir;
  const std::string nameFile = test::WriteMf2005Model(dir, {});
  std::filesystem::rename(dir.File("model.DIS"), dir.File("MODEL.dis"));
  std::filesystem::rename(dir.File("model.BAS6"), dir.File("Model.bas6"));
  Mf2005Model model;
  test::RecordingInterface ui;
  ASSERT_TRUE(ReadMf2005Model(nameFile, model, ui)) << ui.LastMessage();
  EXPECT_EQ(model.NCOL, 3);
  EXPECT_EQ(model.otherLetterCase, (std::vector<std::string>{"model.BAS6", "model.DIS"}));
  EXPECT_EQ(ui.LastMessage(),
            "The name file lists files whose names on disk differ in letter case only; they are read as found: "
            "model.BAS6, model.DIS.");
}

TEST(Mf2005LetterCase, TwoCandidatesAreNotGuessedBetween) {
  test::TempDir dir;
  const std::string nameFile = test::WriteMf2005Model(dir, {});
  std::filesystem::rename(dir.File("model.DIS"), dir.File("MODEL.dis"));
  std::filesystem::copy_file(dir.File("MODEL.dis"), dir.File("model.dis"));
  Mf2005Model model;
  test::RecordingInterface ui;
  EXPECT_FALSE(ReadMf2005Model(nameFile, model, ui));
  EXPECT_NE(ui.LastMessage().find(dir.File("model.DIS")), std::string::npos) << ui.LastMessage();
}

}  // namespace
}  // namespace kestra
