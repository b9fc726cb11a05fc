// kestra-cli export on the shared MODFLOW runs: the arrays hold the heads
// and velocities the model has, for the layer and time step asked for.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli_runner.h"
#include "export/result_exports.h"
#include "support/temp_dir.h"

namespace kestra::cli {
namespace {

int Export(const Arguments& args, std::string* errors = nullptr) { return RunCli("export", args, errors); }

// The values of the arrays that follow each header line, as numbers.
std::vector<std::vector<double>> Arrays(const std::string& text, const std::string& header) {
  std::vector<std::vector<double>> arrays;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line + "\n" == header) {
      arrays.emplace_back();
      continue;
    }
    if (arrays.empty() || line.empty() || std::isalpha(static_cast<unsigned char>(line[0]))) continue;
    EXPECT_EQ(line.back(), '\r');
    line.pop_back();
    EXPECT_EQ(line.size() % 15, 0u) << line;
    for (std::size_t at = 0; at + 15 <= line.size(); at += 15) arrays.back().push_back(std::stod(line.substr(at, 15)));
  }
  return arrays;
}

TEST(ExportCommand, HeadsOfUniformFlowFallLinearlyAlongTheRows) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
  const std::string out = dir.File("Heads.TXT");
  std::string errors;
  ASSERT_EQ(Export({"heads", model, "--layer", "1", "--out", out}, &errors), 0) << errors;
  const std::string text = test::ReadWholeFile(out);
  ASSERT_EQ(text.substr(0, ExportHeaderLine(20, 10).size()), ExportHeaderLine(20, 10));
  const auto arrays = Arrays(text, ExportHeaderLine(20, 10));
  ASSERT_EQ(arrays.size(), 1u);
  ASSERT_EQ(arrays[0].size(), 200u);
  for (int row = 0; row < 10; ++row)
    for (int column = 0; column < 20; ++column)
      EXPECT_NEAR(arrays[0][row * 20 + column], 10.0 - column / 19.0, 1e-4) << row << "," << column;
}

TEST(ExportCommand, VelocityOfUniformFlowPointsAlongTheRows) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "modflow", "uniform1.nam");
  const std::string out = dir.File("velocity.txt");
  std::string errors;
  ASSERT_EQ(Export({"velocity", model, "--layer", "1", "--out", out}, &errors), 0) << errors;
  const std::string text = test::ReadWholeFile(out);
  EXPECT_NE(text.find("\r\nVelocity component in the J-direction\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nVelocity components in I-direction\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nVelocity components in K-direction\r\n"), std::string::npos);
  const auto arrays = Arrays(text, ExportHeaderLine(20, 10));
  ASSERT_EQ(arrays.size(), 4u);
  const double pore = 10.0 / 190.0 / 0.25;
  for (int row = 0; row < 10; ++row) {
    const int inner = row * 20 + 10;
    EXPECT_NEAR(arrays[0][inner], pore, pore * 1e-4);
    EXPECT_NEAR(arrays[1][inner], pore, pore * 1e-4);
    EXPECT_NEAR(arrays[2][inner], 0, pore * 1e-4);
    EXPECT_NEAR(arrays[3][inner], 0, pore * 1e-4);
    // The constant-head cells of column 1 carry no components.
    EXPECT_EQ(arrays[1][row * 20], 1.0E+30);
  }
}

TEST(ExportCommand, TheTimeStepAskedForIsWritten) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "transient2", "modflow", "transient2.nam");
  const std::string first = dir.File("first.txt"), last = dir.File("last.txt");
  std::string errors;
  ASSERT_EQ(Export({"drawdowns", model, "--layer", "2", "--out", first}, &errors), 0) << errors;
  ASSERT_EQ(Export({"drawdowns", model, "--layer", "2", "--period", "3", "--step", "4", "--out", last}, &errors), 0)
      << errors;
  EXPECT_NE(test::ReadWholeFile(first), test::ReadWholeFile(last));
  EXPECT_EQ(Export({"drawdowns", model, "--layer", "2", "--period", "4", "--out", last}, &errors), 1);
  EXPECT_NE(errors.find("no time step 1 in stress period 4"), std::string::npos) << errors;
}

TEST(ExportCommand, WrongArgumentsAreRefused) {
  test::TempDir dir;
  const std::string model = test::CopySharedRun(dir, "uniform1", "lahey", "uniform1.mdl");
  std::string errors;
  EXPECT_EQ(Export({"pressures", model, "--layer", "1", "--out", dir.File("x")}, &errors), 2);
  EXPECT_EQ(Export({"heads", model, "--layer", "1", "--out", dir.File("x"), "--format", "gpkg"}, &errors), 2);
  EXPECT_EQ(Export({"heads", model, "--layer", "2", "--out", dir.File("x")}, &errors), 2);
  EXPECT_NE(errors.find("--layer 2 lies beyond the 1 layers"), std::string::npos) << errors;
  EXPECT_EQ(Export({"heads", model, "--layer", "1", "--out", dir.File("none/x.txt")}, &errors), 1);
}

// A result that did not load would be written as an array of zeros or of
// another step's values: the export refuses and writes nothing.
TEST(ExportCommand, ResultsThatDidNotLoadAreNotWritten) {
  const struct {
    const char* removed;
    const char* kind;
  } cases[] = {{"mixed3d.hds", "heads"}, {"mixed3d.ddn", "drawdowns"}, {"mixed3d.cbc", "velocity"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.removed);
    test::TempDir dir;
    const std::string model = test::CopySharedRun(dir, "mixed3d", "modflow", "mixed3d.nam");
    std::filesystem::remove(dir.File(c.removed));
    std::string errors;
    EXPECT_EQ(Export({c.kind, model, "--layer", "2", "--out", dir.File("x.txt")}, &errors), 1);
    EXPECT_NE(errors.find("could not be loaded whole; " + dir.File("x.txt") + " was not written"), std::string::npos)
        << errors;
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.txt")));
  }
}

}  // namespace
}  // namespace kestra::cli
