// Opening a MODFLOW 6 model of 1 000 000 cells (100 x 100 x 100, with its
// binary grid file) from its simulation name file, as `kestra-cli` and the
// window do: the grid, heads and face flows of its time step, sink cells,
// result ranges and contour levels. Against it, reading the model's files
// whole (what `cat` costs from the page cache). The model is written in a
// temporary folder and removed at the end.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "mf6/model.h"
#include "mf6/readers.h"
#include "model_open.h"
#include "temporary_model.h"

namespace {

using namespace kestra;

constexpr int kSide = 100;

template <typename T>
void Put(std::ofstream& out, const T& value) {
  out.write(reinterpret_cast<const char*>(&value), sizeof(T));
}

void PutText(std::ofstream& out, std::string text, std::size_t width) {
  text.resize(width, ' ');
  out.write(text.data(), static_cast<std::streamsize>(width));
}

Mf6Grid BenchGrid() {
  Mf6Grid grid;
  grid.NCOL = grid.NROW = grid.NLAY = kSide;
  grid.DELR.assign(kSide, 10.0);
  grid.DELC.assign(kSide, 10.0);
  grid.TOP.assign(kSide * kSide, 100.0);
  grid.BOTM.resize(grid.CellCount());
  for (std::size_t n = 0; n < grid.BOTM.size(); ++n) grid.BOTM[n] = 100.0 - static_cast<double>(n / (kSide * kSide) + 1);
  grid.IDOMAIN.assign(grid.CellCount(), 1);
  return grid;
}

void WriteGridFile(const std::string& path, const Mf6Grid& grid, const CellConnections& connections) {
  std::ofstream out(path, std::ios::binary);
  const auto cells = static_cast<std::int64_t>(grid.CellCount());
  const std::string n = std::to_string(kSide);
  const std::vector<std::string> definitions = {
      "NCELLS INTEGER NDIM 0 # " + std::to_string(cells), "NLAY INTEGER NDIM 0 # " + n, "NROW INTEGER NDIM 0 # " + n,
      "NCOL INTEGER NDIM 0 # " + n, "NJA INTEGER NDIM 0 # " + std::to_string(connections.EntryCount()),
      "XORIGIN DOUBLE NDIM 0 # 0", "YORIGIN DOUBLE NDIM 0 # 0", "ANGROT DOUBLE NDIM 0 # 0", "DELR DOUBLE NDIM 1 " + n,
      "DELC DOUBLE NDIM 1 " + n, "TOP DOUBLE NDIM 1 " + std::to_string(kSide * kSide),
      "BOTM DOUBLE NDIM 1 " + std::to_string(cells), "IA INTEGER NDIM 1 " + std::to_string(cells + 1),
      "JA INTEGER NDIM 1 " + std::to_string(connections.EntryCount()), "IDOMAIN INTEGER NDIM 1 " + std::to_string(cells),
      "ICELLTYPE INTEGER NDIM 1 " + std::to_string(cells)};
  for (const std::string line : {"GRID DIS", "VERSION 1", "NTXT 16", "LENTXT 100"}) PutText(out, line, 50);
  for (const std::string& line : definitions) PutText(out, line, 100);
  for (const std::int32_t value : {static_cast<std::int32_t>(cells), kSide, kSide, kSide,
                                   static_cast<std::int32_t>(connections.EntryCount())})
    Put(out, value);
  for (int k = 0; k < 3; ++k) Put(out, 0.0);
  for (const auto* values : {&grid.DELR, &grid.DELC, &grid.TOP, &grid.BOTM})
    for (const double value : *values) Put(out, value);
  std::int32_t start = 1;
  for (ConnectionWalk walk(connections); walk.Next(); start += static_cast<std::int32_t>(walk.Entries().size()))
    Put(out, start);
  Put(out, start);
  for (ConnectionWalk walk(connections); walk.Next();)
    for (const std::int32_t cell : walk.Entries()) Put(out, cell + 1);
  for (const int idomain : grid.IDOMAIN) Put(out, static_cast<std::int32_t>(idomain));
  for (std::int64_t c = 0; c < cells; ++c) Put(out, std::int32_t{0});
}

void WriteHeads(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  for (std::int32_t layer = 1; layer <= kSide; ++layer) {
    Put(out, std::int32_t{1});
    Put(out, std::int32_t{1});
    Put(out, 1.0);
    Put(out, 1.0);
    PutText(out, "            HEAD", 16);
    for (const std::int32_t value : {kSide, kSide, layer}) Put(out, value);
    for (int c = 0; c < kSide * kSide; ++c) Put(out, 50.0 + c % 7);
  }
}

void WriteBudget(const std::string& path, const CellConnections& connections) {
  std::ofstream out(path, std::ios::binary);
  Put(out, std::int32_t{1});
  Put(out, std::int32_t{1});
  PutText(out, "    FLOW-JA-FACE", 16);
  for (const std::int32_t value : {static_cast<std::int32_t>(connections.EntryCount()), 1, -1}) Put(out, value);
  Put(out, std::int32_t{1});
  for (int k = 0; k < 3; ++k) Put(out, 1.0);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> flow(-100.0, 100.0);
  // A flow on the entry of each connection in its lower-numbered cell, which
  // the open reads; 0 elsewhere.
  for (ConnectionWalk walk(connections); walk.Next();)
    for (const std::int32_t cell : walk.Entries()) Put(out, cell > walk.Cell() ? flow(random) : 0.0);
}

void WriteModel(const std::filesystem::path& folder) {
  const auto write = [&](const char* name, const char* text) { std::ofstream(folder / name) << text; };
  write("mfsim.nam", "BEGIN TIMING\n TDIS6 m.tdis\nEND TIMING\nBEGIN MODELS\n GWF6 m.nam m\nEND MODELS\n");
  write("m.tdis", "BEGIN DIMENSIONS\n NPER 1\nEND DIMENSIONS\nBEGIN PERIODDATA\n 1.0 1 1.0\nEND PERIODDATA\n");
  write("m.nam", "BEGIN PACKAGES\n DIS6 m.dis\n NPF6 m.npf\n OC6 m.oc\nEND PACKAGES\n");
  write("m.dis", "BEGIN DIMENSIONS\n NLAY 100\n NROW 100\n NCOL 100\nEND DIMENSIONS\n");
  write("m.npf", "BEGIN GRIDDATA\n ICELLTYPE\n  CONSTANT 0\nEND GRIDDATA\n");
  write("m.oc", "BEGIN OPTIONS\n HEAD FILEOUT m.hed\n BUDGET FILEOUT m.bud\nEND OPTIONS\n");
  std::ofstream mpbas(folder / "m.mpbas");
  mpbas << "0\n";
  for (int k = 0; k < kSide; ++k) mpbas << "CONSTANT 0.3\n";
  const Mf6Grid grid = BenchGrid();
  const CellConnections connections({kSide, kSide, kSide}, grid.IDOMAIN);
  WriteGridFile((folder / "m.dis.grb").string(), grid, connections);
  WriteHeads((folder / "m.hed").string());
  WriteBudget((folder / "m.bud").string(), connections);
}

}  // namespace

int main(int argc, char** argv) {
  return bench::RunOnTemporaryModel(argc, argv, "kestra-mf6-bench", WriteModel, [](const std::filesystem::path& folder) {
    benchmark::RegisterBenchmark("OpenMf6Model/1000000cells", bench::OpenModelByStages, (folder / "mfsim.nam").string(),
                                 std::int64_t{kSide} * kSide * kSide)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
    benchmark::RegisterBenchmark("ReadModelFilesWhole/1000000cells", bench::ReadFilesWhole, files)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  });
}
