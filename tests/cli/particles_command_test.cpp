// kestra-cli particles: particle groups placed over cells chosen on the
// command line, written into a particle file that track reads back.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_runner.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

// The particle lines of a particle file, each split into its nine fields.
std::vector<std::vector<std::string>> ParticleFields(const std::string& path) {
  std::vector<std::vector<std::string>> particles;
  const std::vector<std::string> lines = Lines(test::ReadWholeFile(path));
  for (std::size_t n = 2; n < lines.size(); ++n) {
    std::vector<std::string> fields;
    std::istringstream in(lines[n]);
    for (std::string field; in >> field;) fields.push_back(field);
    particles.push_back(fields);
  }
  return particles;
}

TEST(ParticlesCommand, PlacesGroupsOverTheChosenCells) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  test::WriteWholeFile(dir.File("cells.csv"), "layer,row,column\n1 2 3\n# a note\n2,5,5\n");
  const struct {
    Arguments options;
    std::size_t count;
    std::vector<std::string> first;  // local x, y, z, column, row, layer of the first particle
    std::string colour = "255";
  } cases[] = {
      {{"--rows", "2:3", "--columns", "2:4"}, 24, {"0.25", "0.25", "0.5", "2", "2", "1"}},
      {{"--layer", "2", "--rows", "5", "--columns", "7", "--lattice", "1x1x3"},
       3,
       {"0.5", "0.5", "0.1666667", "7", "5", "2"}},
      {{"--cells", "wells", "--face", "5=2x2", "--colour", "65280"},
       8,
       {"0.25", "0.25", "0.9999", "15", "8", "2"},
       "65280"},
      {{"--cells-file", dir.File("cells.csv"), "--face", "1=1x1"}, 2, {"0.0001", "0.5", "0.5", "3", "2", "1"}},
      {{"--rectangle", "0,0,100,100", "--circle", "6,10,2"}, 24, {}},
      {{"--world-rectangle", "0,0,100,100", "--circle", "6,10,2"}, 24, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options[0]);
    Arguments line{"particles", model, "--out", dir.File("p.par")};
    line.insert(line.end(), c.options.begin(), c.options.end());
    const CommandResult run = RunLine(line);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(run.err.starts_with("placed " + std::to_string(c.count) + " particles in ")) << run.err;
    const auto particles = ParticleFields(dir.File("p.par"));
    ASSERT_EQ(particles.size(), c.count);
    if (!c.first.empty()) {
      EXPECT_EQ(std::vector<std::string>(particles[0].begin(), particles[0].begin() + 6), c.first);
    }
    EXPECT_EQ(particles[0][7], c.colour);
    // What is written is a particle file the tracking takes whole.
    EXPECT_EQ(
        RunLine({"track", model, "--particles", dir.File("p.par"), "--endpoints", dir.File("e.csv"), "--quiet"}).code,
        0);
  }
}

TEST(ParticlesCommand, ReadsAModpathStartingLocationsFile) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "usgs", "ex01_mf2005", "ex01_mf2005.nam");
  const std::string locations = (test::TestDataDir() / "usgs/ex01_mf2005/ex01a_mf2005.sloc").string();
  const CommandResult run =
      RunLine({"particles", model, "--out", dir.File("p.par"), "--starting-locations", locations});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto particles = ParticleFields(dir.File("p.par"));
  ASSERT_EQ(particles.size(), 21u);
  EXPECT_EQ(std::vector<std::string>(particles[1].begin(), particles[1].begin() + 6),
            (std::vector<std::string>{"0.5", "0.5", "1", "3", "2", "1"}));
}

TEST(ParticlesCommand, RefusesWhatCannotBePlacedByName) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  const std::string out = dir.File("p.par");
  ExpectRefused("particles", {
                                 {{model, "--out", out, "--rows", "3:2"}, "bad option or value: --rows 3:2"},
                                 {{model, "--out", out, "--face", "7=1x1"}, "bad option or value: --face 7=1x1"},
                                 {{model, "--out", out, "--rows", "2", "--cells", "wells"}, "one choice of cells"},
                                 {{model, "--out", out, "--retardation", "0"}, "etardation"},
                                 {{model, "--out", out, "--layer", "4"}, "--layer 4 lies beyond the 3 layers"},
                                 {{model}, "MODEL and --out are needed"},
                             });
  test::WriteWholeFile(dir.File("cells.csv"), "1,2,3\n4,1,1\n");
  std::string errors;
  EXPECT_EQ(RunCli("particles", {model, "--out", out, "--cells-file", dir.File("cells.csv")}, &errors), 1);
  EXPECT_TRUE(Contains(errors, dir.File("cells.csv") + ", line 2: '4,1,1' is no layer,row,column within the grid's 3 "
                                                       "layers, 25 rows and 30 columns"))
      << errors;
  EXPECT_EQ(RunCli("particles", {model, "--out", out, "--rectangle", "-10,-10,-5,-5"}, &errors), 1);
  EXPECT_TRUE(Contains(errors, "no particle was placed in 0 active cells; nothing was written")) << errors;
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace kestra::cli
