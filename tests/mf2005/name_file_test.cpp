#include "mf2005/name_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace kestra {
namespace {

TEST(Mf2005NameFile, TypesAnyCaseNamesResolvedBesideTheNameFileWithTheirCase) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("Run.nam"),
                       "# comment\r\n\r\nlist 2 run.lst\r\n  dis 11 Input\\Grid.DIS old\r\n"
                       "Bas6 1 /abs/path/run.bas\r\ndata(binary) 30 'Run Heads.hds' REPLACE\r\n");
  Mf2005NameFile nameFile;
  std::string problem;
  ASSERT_TRUE(ReadMf2005NameFile(dir.File("Run.nam"), nameFile, problem)) << problem;
  ASSERT_EQ(nameFile.entries.size(), 4u);
  EXPECT_TRUE(IsMf2005NameFile(nameFile));
  const NameFileEntry* dis = FindFileType(nameFile, "DIS");
  ASSERT_NE(dis, nullptr);
  EXPECT_EQ(dis->unit, 11);
  EXPECT_EQ(dis->path, (dir.path() / "Input" / "Grid.DIS").string());
  EXPECT_EQ(FindFileType(nameFile, "BAS6")->path, "/abs/path/run.bas");
  ASSERT_NE(FindUnit(nameFile, 30), nullptr);
  EXPECT_EQ(FindUnit(nameFile, 30)->fileType, "DATA(BINARY)");
  EXPECT_EQ(FindUnit(nameFile, 30)->path, dir.File("Run Heads.hds"));
  EXPECT_EQ(FindUnit(nameFile, 31), nullptr);
}

TEST(Mf2005NameFile, RecognisedByItsDisAndBasEntries) {
  EXPECT_TRUE(IsMf2005NameFile((test::TestDataDir() / "mixed3d/modflow/mixed3d.nam").string()));
  // The pre-processor's name files list a MAIN data file and no units.
  EXPECT_FALSE(IsMf2005NameFile((test::TestDataDir() / "mixed3d/namefile/mixed3d.nam").string()));
  EXPECT_FALSE(IsMf2005NameFile((test::TestDataDir() / "missing.nam").string()));
}

TEST(Mf2005NameFile, LineWithoutUnitOrFileIsRefused) {
  test::TempDir dir;
  test::WriteWholeFile(dir.File("a.nam"), "DIS 11 a.dis\nBAS6 x a.bas\n");
  Mf2005NameFile nameFile;
  nameFile.path = "kept";
  std::string problem;
  EXPECT_FALSE(ReadMf2005NameFile(dir.File("a.nam"), nameFile, problem));
  EXPECT_EQ(problem, "a.nam, line 2: a file type, a unit number and a file name are needed.");
  EXPECT_EQ(nameFile.path, "kept");
}

}  // namespace
}  // namespace kestra
