// A whole batch run on a small model with one of its files replaced by the
// input: the model opened as kestra-cli opens it, a few particles tracked
// forward and backward (steady state and pathlines), plotted into every
// picture kind and exported. The first byte picks the file, the rest is its
// content; every other file is the test run's own.
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

// The files of the run, in the order the first input byte picks them.
constexpr std::array<const char*, 12> kRunFiles = {
    "uniform1.nam", "uniform1.dis", "uniform1.bas", "uniform1.lpf", "uniform1.oc",    "uniform1.pcg",
    "uniform1.hds", "uniform1.ddn", "uniform1.cbc", "uniform1.lyp", "particles.par", "uniform1.ini"};

// Three particles across the middle row: a handful of steps each way.
constexpr const char* kParticles =
    "KESTRA_V100_PARTICLES\r\n 3 \r\n"
    "0.5 0.5 0.5 3 5 1 5 255 1\r\n"
    "0.5 0.5 0.5 10 5 1 5 255 1\r\n"
    "0.5 0.5 0.5 18 5 1 5 255 1\r\n";

// Few enough steps that a particle caught in a circle stops soon.
constexpr const char* kMaxSteps = "200";

std::string FileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The run's files as the test data holds them; without a settings file, as
// a model opened for the first time.
const std::map<std::string, std::string>& PristineFiles() {
  static const std::map<std::string, std::string> files = [] {
    const fs::path data = fs::path(KESTRA_TESTDATA_DIR) / "uniform1";
    std::map<std::string, std::string> texts;
    for (const char* name : kRunFiles) texts[name] = FileText(data / "modflow" / name);
    texts["uniform1.lyp"] = FileText(data / "namefile" / "uniform1.lyp");
    texts["particles.par"] = kParticles;
    texts.erase("uniform1.ini");
    return texts;
  }();
  return files;
}

// A fresh folder holding the run with `replaced` written from the input.
std::string PrepareRun(const std::string& replaced, const std::uint8_t* data, std::size_t size) {
  const fs::path folder = fs::path(kestra::fuzz::WorkFolder()) / "run";
  fs::remove_all(folder);
  fs::create_directories(folder);
  for (const auto& [name, text] : PristineFiles()) std::ofstream(folder / name, std::ios::binary) << text;
  std::ofstream(folder / replaced, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return folder.string();
}

void Run(const kestra::cli::Arguments& args) {
  std::ostringstream out, err;
  kestra::cli::RunCommandLine(args, out, err);
}

void TrackAndPlot(const std::string& folder) {
  const std::string model = folder + "/uniform1.nam";
  const std::string particles = folder + "/particles.par";
  const auto file = [&folder](const char* name) { return folder + "/" + name; };
  const kestra::cli::Arguments tracking = {"--particles", particles, "--forward", "--backward",
                                           "--max-steps", kMaxSteps};
  const auto withTracking = [&tracking](kestra::cli::Arguments args) {
    args.insert(args.end(), tracking.begin(), tracking.end());
    return args;
  };
  Run(withTracking({"track", model, "--out", file("steady.pth"), "--endpoints", file("steady.csv"), "--quiet"}));
  Run(withTracking({"track", model, "--out", file("replay.pth"), "--endpoints", file("replay.csv"), "--replay",
                    "--pathlines", "--quiet"}));
  for (const char* plot : {"plot.png", "plot.dxf", "plot.hpgl", "plot.svg", "plot.pdf"})
    Run(withTracking({"plot", model, "--out", file(plot), "--size", "240x180", "--vectors", "on"}));
  for (const char* result : {"heads", "drawdowns", "velocity"})
    Run({"export", result, model, "--layer", "1", "--out", file(result)});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string folder = PrepareRun(kRunFiles[data[0] % kRunFiles.size()], data + 1, size - 1);
  TrackAndPlot(folder);
  return 0;
}
