// Opening a MODFLOW-2005 model of 1 000 000 cells (200 x 200 x 25) from its
// name file, as `kestra-cli` and the window do: the packages, heads, the
// budget of the first step, sink cells, result ranges and contour levels
// (the cell velocities wait for their first use). Against it, reading the
// model's files whole (what `cat` costs from the page cache). The model is
// written to a temporary folder and removed at the end: IBOUND as text
// arrays (the fixed-head first column of layer 1), ten wells, heads and a
// full budget (constant head, three face flows, wells) in the stream layout.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "model_open.h"
#include "results/result_file_writer.h"
#include "temporary_model.h"

namespace {

using namespace kestra;

constexpr int kColumns = 200;
constexpr int kRows = 200;
constexpr int kLayers = 25;
constexpr std::int64_t kCells = std::int64_t{kColumns} * kRows * kLayers;
constexpr int kWells = 10;

void WriteText(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

std::string Discretisation() {
  std::string text =
      std::to_string(kLayers) + " " + std::to_string(kRows) + " " + std::to_string(kColumns) + " 1 4 2\n";
  for (int k = 0; k < kLayers; ++k) text += "0 ";  // LAYCBD: no confining beds
  text += "\n";
  text += "CONSTANT 50.0\nCONSTANT 50.0\nCONSTANT 100.0\n";
  for (int k = 1; k <= kLayers; ++k) text += "CONSTANT " + std::to_string(100.0 - 4.0 * k) + "\n";
  return text + "1.0 1 1.0 SS\n";
}

std::string Basic() {
  std::string text = "FREE\n";
  for (int k = 1; k <= kLayers; ++k) {
    text += "INTERNAL 1 (FREE) 0\n";
    for (int i = 0; i < kRows; ++i) {
      for (int j = 0; j < kColumns; ++j) text += (k == 1 && j == 0) ? "-1 " : "1 ";
      text += '\n';
    }
  }
  text += "-999.99\n";
  for (int k = 1; k <= kLayers; ++k) text += "CONSTANT 100.0\n";
  return text;
}

std::string Wells() {
  std::string text = std::to_string(kWells) + " 0\n" + std::to_string(kWells) + " 0\n";
  for (int w = 0; w < kWells; ++w)
    text += std::to_string(1 + w % kLayers) + " " + std::to_string(20 + 15 * w) + " " + std::to_string(30 + 12 * w) +
            " -500.0\n";
  return text;
}

std::vector<float> RandomValues(float low, float high, unsigned seed) {
  std::vector<float> values(static_cast<std::size_t>(kCells));
  std::mt19937 random(seed);
  std::uniform_real_distribution<float> draw(low, high);
  for (float& value : values) value = draw(random);
  return values;
}

void WriteHeads(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  ResultFileWriter writer(out, ResultFileFormat::Stream);
  const std::vector<float> heads = RandomValues(90.0f, 100.0f, 3);
  const std::size_t perLayer = static_cast<std::size_t>(kColumns) * kRows;
  for (int k = 1; k <= kLayers; ++k) {
    LayerResultHeader header;
    header.KSTP = 1;
    header.KPER = 1;
    header.TEXT = "            HEAD";
    header.NCOL = kColumns;
    header.NROW = kRows;
    header.ILAY = k;
    writer.WriteLayer(header, std::span(heads).subspan(perLayer * (k - 1), perLayer));
  }
}

void WriteBudget(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  ResultFileWriter writer(out, ResultFileFormat::Stream);
  const std::vector<float> flows = RandomValues(-100.0f, 100.0f, 7);
  const std::vector<float> none(static_cast<std::size_t>(kCells), 0.0f);
  for (const char* text : {"   CONSTANT HEAD", "FLOW RIGHT FACE ", "FLOW FRONT FACE ", "FLOW LOWER FACE ", "           WELLS"}) {
    BudgetHeader header;
    header.KSTP = 1;
    header.KPER = 1;
    header.TEXT = text;
    header.NCOL = kColumns;
    header.NROW = kRows;
    header.NLAY = kLayers;
    const bool faceFlow = std::string(text).starts_with("FLOW");
    writer.WriteBudgetArray(header, faceFlow ? flows : none);
  }
}

void WriteModel(const std::filesystem::path& folder) {
  WriteText(folder / "big.dis", Discretisation());
  WriteText(folder / "big.bas", Basic());
  std::string laytyp;
  for (int k = 0; k < kLayers; ++k) laytyp += k == 0 ? "1 " : "0 ";
  WriteText(folder / "big.lpf", "32 -1.0E+30 0\n" + laytyp + "\n");
  WriteText(folder / "big.wel", Wells());
  WriteText(folder / "big.oc", "HEAD SAVE UNIT 30\n");
  WriteText(folder / "big.nam",
            "LIST 2 big.lst\nDIS 10 big.dis\nBAS6 11 big.bas\nLPF 12 big.lpf\nWEL 13 big.wel\nOC 14 big.oc\n"
            "DATA(BINARY) 30 big.hds\nDATA(BINARY) 32 big.cbc\n");
  WriteHeads(folder / "big.hds");
  WriteBudget(folder / "big.cbc");
}

}  // namespace

int main(int argc, char** argv) {
  return bench::RunOnTemporaryModel(argc, argv, "kestra-open-bench", WriteModel, [](const std::filesystem::path& folder) {
    benchmark::RegisterBenchmark("OpenMf2005Model/1000000cells", bench::OpenModelByStages,
                                 (folder / "big.nam").string(), kCells)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
    benchmark::RegisterBenchmark("ReadModelFilesWhole/1000000cells", bench::ReadFilesWhole, files)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  });
}
