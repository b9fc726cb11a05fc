// The batch program itself, run as a user runs it: a write cut off by a
// full disk or by the end of the process leaves the old file as it was, and
// outputs that are no regular file or one of the model's inputs are refused.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs `program` (kestra-cli by default) with `args` in a shell that first
// runs `setup` (a limit on the file size, a trap).
test::ShellRun RunProgram(const std::string& setup, const std::vector<std::string>& args,
                          const std::string& program = KESTRA_CLI_PATH) {
  std::string line = "bash -c " + Quoted(setup + "; exec \"$0\" \"$@\"") + " " + Quoted(program);
  for (const std::string& arg : args) line += " " + Quoted(arg);
  return test::RunShell(line);
}

// What a write that did not finish left beside `target` in `dir`.
std::vector<std::string> LeftBeside(const test::TempDir& dir, const std::string& target) {
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    if (entry.path().filename().string().starts_with(target + ".")) left.push_back(entry.path().string());
  return left;
}

struct Model {
  test::TempDir dir;
  std::string nameFile = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
  std::string particles = dir.File("p.par");
  Model() {
    std::string text = "KESTRA_V100_PARTICLES\r\n 400 \r\n";
    for (int n = 0; n < 400; ++n)
      text += "0.5 0.5 0.5 " + std::to_string(n % 20 + 1) + " " + std::to_string(n / 20 % 20 + 1) + " 1 12 255 1\r\n";
    test::WriteWholeFile(particles, text);
  }
};

// Every kind of output, each far larger than the 8 KB the limit allows.
std::vector<std::vector<std::string>> LargeWrites(const Model& m, const std::string& out) {
  return {
      {"track", m.nameFile, "--particles", m.particles, "--out", out, "--quiet"},
      {"track", m.nameFile, "--particles", m.particles, "--endpoints", out, "--quiet"},
      {"plot", m.nameFile, "--particles", m.particles, "--out", out, "--format", "dxf"},
      {"plot", m.nameFile, "--out", out, "--format", "png", "--size", "3000x3000"},
      {"export", "heads", m.nameFile, "--layer", "1", "--out", out},
  };
}

// A full disk fails the write with its reason. The program ended by the
// signal of a full disk cannot clean up: the old file stays whole and the
// next write of the same file removes what the ended one left.
TEST(RealProgram, AWriteCutShortKeepsTheOldFileAndTheNextRunCleansUp) {
  Model m;
  const std::string out = m.dir.File("result.out");
  for (const auto& args : LargeWrites(m, out)) {
    SCOPED_TRACE(args[0] + " " + args.back());
    test::WriteWholeFile(out, "the old file\n");
    const test::ShellRun run = RunProgram("trap '' XFSZ; ulimit -f 8", args);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find("File too large"), std::string::npos) << run.output;
    EXPECT_EQ(test::ReadWholeFile(out), "the old file\n");
    EXPECT_EQ(LeftBeside(m.dir, "result.out"), std::vector<std::string>{});
    const test::ShellRun killed = RunProgram("ulimit -f 8", args);
    EXPECT_TRUE(killed.EndedBySignal()) << killed.status << ": " << killed.output;
    EXPECT_EQ(test::ReadWholeFile(out), "the old file\n");
    const test::ShellRun next = RunProgram("true", args);
    EXPECT_EQ(next.status, 0) << next.output;
    EXPECT_NE(test::ReadWholeFile(out), "the old file\n");
    EXPECT_EQ(LeftBeside(m.dir, "result.out"), std::vector<std::string>{});
  }
}

TEST(RealProgram, OutputsThatAreNoRegularFileOrAnInputAreRefused) {
  Model m;
  const std::string fifo = m.dir.File("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string dis = m.dir.File("mixed3d.dis"), heads = m.dir.File("mixed3d.hds");
  const std::string disBefore = test::ReadWholeFile(dis), headsBefore = test::ReadWholeFile(heads);
  const struct {
    std::string out;
    const char* says;
  } cases[] = {
      {fifo, "is not a regular file"},
      {"/dev/null", "is not a regular file"},
      {dis, "is a file the model reads"},
      {heads, "is a file the model reads"},
  };
  for (const auto& c : cases)
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"track", m.nameFile, "--particles", m.particles, "--out", c.out},
          std::vector<std::string>{"plot", m.nameFile, "--out", c.out, "--format", "dxf"},
          std::vector<std::string>{"export", "heads", m.nameFile, "--layer", "1", "--out", c.out}}) {
      SCOPED_TRACE(args[0] + " --out " + c.out);
      const test::ShellRun run = RunProgram("true", args);
      EXPECT_EQ(run.status, 1) << run.output;
      EXPECT_NE(run.output.find(c.says), std::string::npos) << run.output;
    }
  struct stat status {};
  ASSERT_EQ(stat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_EQ(test::ReadWholeFile(dis), disBefore);
  EXPECT_EQ(test::ReadWholeFile(heads), headsBefore);
  ASSERT_EQ(stat("/dev/null", &status), 0);
  EXPECT_TRUE(S_ISCHR(status.st_mode));
}

// A batch node without Qt's graphics libraries runs every command but plot,
// which goes to kestra-cli-plot beside the program.
TEST(RealProgram, NeedsNoQtAndHandsPlotsToThePictureProgram) {
  const test::ShellRun libraries = test::RunShell("ldd " + Quoted(KESTRA_CLI_PATH));
  ASSERT_EQ(libraries.status, 0) << libraries.output;
  EXPECT_EQ(libraries.output.find("libQt"), std::string::npos) << libraries.output;

  Model model;
  const std::string alone = model.dir.File("kestra-cli");
  fs::copy_file(KESTRA_CLI_PATH, alone);
  EXPECT_EQ(RunProgram("true", {"info", model.nameFile}, alone).status, 0);
  const test::ShellRun plot = RunProgram("true", {"plot", model.nameFile, "--out", model.dir.File("p.dxf")}, alone);
  EXPECT_EQ(plot.status, 1);
  EXPECT_NE(plot.output.find("kestra-cli plot: the picture program " + model.dir.File("kestra-cli-plot") +
                             " cannot be started: No such file or directory"),
            std::string::npos)
      << plot.output;
  const test::ShellRun beside = RunProgram("true", {"plot", model.nameFile, "--out", model.dir.File("p.dxf")});
  EXPECT_EQ(beside.status, 0) << beside.output;
  EXPECT_TRUE(fs::exists(model.dir.File("p.dxf")));
}

// What a script piping the program sees: results alone on standard output,
// and no note of Qt's set-up where no runtime folder is set.
TEST(RealProgram, StandardOutputHoldsOnlyResults) {
  Model model;
  const test::ShellRun csv = RunProgram("exec 2>/dev/null", {"track", model.nameFile, "--particles", model.particles,
                                                         "--endpoints", "/dev/stdout"});
  EXPECT_EQ(csv.status, 0);
  EXPECT_TRUE(csv.output.starts_with("particle,direction,release column,")) << csv.output.substr(0, 200);
  EXPECT_EQ(csv.output.find("tracked"), std::string::npos);
  const test::ShellRun plot =
      RunProgram("unset XDG_RUNTIME_DIR", {"plot", model.nameFile, "--out", model.dir.File("p.svg"), "--title", "T"});
  EXPECT_EQ(plot.status, 0);
  EXPECT_EQ(plot.output, "wrote " + model.dir.File("p.svg") + "\n");
}

}  // namespace
}  // namespace kestra::cli
