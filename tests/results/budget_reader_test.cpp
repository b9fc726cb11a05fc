#include "results/budget_reader.h"

#include <gtest/gtest.h>

#include "results/budget_step.h"
#include "results/budget_term_data.h"
#include "support/recording_interface.h"
#include "support/result_builders.h"
#include "support/temp_dir.h"

namespace kestra {
namespace {

using test::BudgetTermHeader;
using test::GridPattern;

constexpr int kColumns = 5;
constexpr int kRows = 4;
constexpr int kLayers = 3;
constexpr int kCells = kColumns * kRows * kLayers;
constexpr GridShape kGrid{kColumns, kRows, kLayers};

struct TermRead {
  bool ok;
  CellArray<float> values;
  std::int64_t position;
  test::RecordingInterface ui;
};

TermRead Read(const std::string& path, int kstp, int kper, const std::string& label, GridShape grid = kGrid) {
  TermRead read{};
  read.position = kFirstRecordPosition;
  read.values.Dimension(grid);
  read.ok = ReadBudgetTerm({kstp, kper, label, grid.ncol, grid.nrow, grid.nlay}, path, read.values, read.position,
                           read.ui, true);
  return read;
}

// The values of a term that must read.
CellArray<float> ReadWhole(const std::string& path, const std::string& label) {
  auto read = Read(path, 1, 1, label);
  EXPECT_TRUE(read.ok) << label << ": " << read.ui.LastMessage();
  return read.values;
}

// The full array of `values` (layer 1 first) as the cells of a model array.
CellArray<float> AsCells(const std::vector<float>& values, GridShape grid = kGrid) {
  CellArray<float> cells;
  cells.Dimension(grid);
  std::size_t next = 0;
  for (int layer = 1; layer <= grid.nlay; ++layer)
    for (int row = 1; row <= grid.nrow; ++row)
      for (int column = 1; column <= grid.ncol; ++column) cells(column, row, layer) = values[next++];
  return cells;
}

void WriteSteps(const std::string& path, ResultFileFormat format, std::initializer_list<std::pair<int, int>> steps) {
  test::WriteResultFile(path, format, 4, [&](ResultFileWriter& writer) {
    for (const auto& [kstp, kper] : steps) {
      writer.WriteBudgetArray(BudgetTermHeader(kstp, kper, "FLOW RIGHT FACE", kColumns, kRows, kLayers),
                              GridPattern(kColumns, kRows, kLayers, kstp * 1.0f));
      writer.WriteBudgetArray(BudgetTermHeader(kstp, kper, "ET", kColumns, kRows, kLayers),
                              GridPattern(kColumns, kRows, kLayers, -kstp * 1.0f));
    }
  });
}

// Rewrites the file at `path` with its bytes changed by `damage`.
template <typename Damage>
void DamageFile(const std::string& path, Damage damage) {
  std::string bytes = test::ReadWholeFile(path);
  damage(bytes);
  test::WriteWholeFile(path, bytes);
}

TEST(BudgetReader, SkippedStepIsReportedWithItsNumbersWhenALaterStepIsMet) {
  test::TempDir dir;
  WriteSteps(dir.File("budget"), ResultFileFormat::Lahey, {{3, 2}, {5, 2}});
  // Damage the data of step 5: the search must stop at its header.
  DamageFile(dir.File("budget"), [](std::string& bytes) { bytes.resize(bytes.size() - 10); });
  const auto read = Read(dir.File("budget"), 4, 2, "FLOW RIGHT FACE");
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.ui.LastMessage(), "Could not find the budget data of time step 4, stress period 2");
  EXPECT_EQ(read.ui.messages.at(0).icon, MessageIcon::Exclamation);
  EXPECT_EQ(read.position, kFirstRecordPosition);
}

// The byte offset of the last trailer byte of term `term` (0-based) written
// by WriteSteps in the Lahey layout: the signature, then per term a 38-byte
// header record and 2 + 240 + 2 bytes of data record.
constexpr std::size_t LastTrailerByteOfTerm(std::size_t term) { return 1 + term * (38 + 244) + 38 + 2 + 240 + 1; }

TEST(BudgetReader, DamagedTrailerOfASkippedTermReportsTheWantedTerm) {
  test::TempDir dir;
  WriteSteps(dir.File("budget"), ResultFileFormat::Lahey, {{1, 1}, {2, 1}});
  // Step 2's FLOW RIGHT FACE.
  DamageFile(dir.File("budget"), [](std::string& bytes) { bytes[LastTrailerByteOfTerm(2)] ^= 0x04; });
  const auto read = Read(dir.File("budget"), 2, 1, "ET");
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.ui.LastMessage(), "Could not read the cell-by-cell flow ET from the budget file");
}

TEST(BudgetReader, FileWhoseFirstTermReadsWholeInNeitherPrecisionIsRefused) {
  test::TempDir dir;
  for (const ResultFileFormat format : {ResultFileFormat::Lahey, ResultFileFormat::Sequential}) {
    WriteSteps(dir.File("budget"), format, {{1, 1}});
    DamageFile(dir.File("budget"), [format](std::string& bytes) {
      if (format == ResultFileFormat::Lahey)
        bytes[LastTrailerByteOfTerm(0)] ^= 0x04;
      else
        bytes.resize(bytes.size() / 3);  // cut inside the first term's values
    });
    ResultFile result;
    EXPECT_EQ(OpenBudgetFile(dir.File("budget"), result), ResultFileOpening::Undecided);
    const auto read = Read(dir.File("budget"), 1, 1, "FLOW RIGHT FACE");
    EXPECT_FALSE(read.ok);
    ASSERT_EQ(read.ui.messages.size(), 1u);
    EXPECT_EQ(read.ui.LastMessage(), "The budget file " + dir.File("budget") +
                                         " cannot be read: its first records fit neither 4-byte nor 8-byte reals. "
                                         "The file may be damaged or cut short.");
  }
}

TEST(BudgetReader, MissingFileUnknownLayoutAndAnotherGridHaveTheirMessages) {
  test::TempDir dir;
  EXPECT_EQ(Read(dir.File("none"), 1, 1, "ET").ui.LastMessage(), "Could not find the budget file " + dir.File("none"));
  test::WriteWholeFile(dir.File("text"), "this is not a budget file at all, not even a stream one");
  EXPECT_EQ(Read(dir.File("text"), 1, 1, "ET").ui.LastMessage(),
            "The format of the budget file " + dir.File("text") +
                " is not compatible to the Lahey-Fortran compiler or the MS-FORTRAN PowerStation");
  // A file of another grid fails at its first header.
  WriteSteps(dir.File("budget"), ResultFileFormat::Sequential, {{1, 1}});
  const auto read = Read(dir.File("budget"), 1, 1, "ET", {kColumns, kRows, kLayers - 1});
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(read.ui.LastMessage(), "Model dimensions specified in the budget file mismatch");
}

BudgetHeader CompactHeader(const std::string& text, int method) {
  BudgetHeader header = BudgetTermHeader(1, 1, text, kColumns, kRows, kLayers);
  header.compact = true;
  header.method = method;
  header.DELT = 1;
  header.PERTIM = 1;
  header.TOTIM = 1;
  return header;
}

// One term of every compact method, each with values the others do not have.
void WriteCompactTerms(const std::string& path, ResultFileFormat format, int realBytes) {
  test::WriteResultFile(path, format, realBytes, [](ResultFileWriter& writer) {
    const auto header = CompactHeader;
    writer.WriteBudgetArray(header("FLOW RIGHT FACE", 1), GridPattern(kColumns, kRows, kLayers, 0.25f));
    const std::vector<BudgetListEntry> wells = {{7, -150.5f, {}}, {kCells, 20.0f, {}}, {7, -1.0f, {}}};
    writer.WriteBudgetList(header("WELLS", 2), {}, wells);
    std::vector<std::int32_t> layers(kColumns * kRows, 1);
    layers[3] = 3;
    writer.WriteBudgetLayerIndicated(header("RECHARGE", 3), layers, test::LayerPattern(kColumns, kRows, 0.5f));
    writer.WriteBudgetArray(header("ET", 4), test::LayerPattern(kColumns, kRows, -0.5f));
    const std::vector<std::string> names = {"IFACE", "CONDFACT"};
    const std::vector<BudgetListEntry> rivers = {{kColumns * kRows + 2, 3.5f, {6, 0.1f}}};
    writer.WriteBudgetList(header("RIVER LEAKAGE", 5), names, rivers);
  });
}

TEST(BudgetReader, CompactTermsOfEveryMethodReadInEveryLayoutAndPrecision) {
  test::TempDir dir;
  for (const auto format : test::kEveryFormat) {
    for (const int realBytes : {4, 8}) {
      SCOPED_TRACE(FormatName(format) + " " + std::to_string(realBytes));
      const std::string path = dir.File("compact");
      WriteCompactTerms(path, format, realBytes);
      ResultFile result;
      ASSERT_EQ(OpenBudgetFile(path, result), ResultFileOpening::Opened);
      EXPECT_EQ(result.Format(), format);
      EXPECT_EQ(result.realBytes, realBytes);

      EXPECT_EQ(ReadWhole(path, "FLOW RIGHT FACE"), AsCells(GridPattern(kColumns, kRows, kLayers, 0.25f)));

      CellArray<float> expectedWells = AsCells(std::vector<float>(kCells, 0));
      expectedWells(2, 2, 1) = -151.5f;  // cell 7 listed twice: the values add up
      expectedWells(kColumns, kRows, kLayers) = 20.0f;
      EXPECT_EQ(ReadWhole(path, "WELLS"), expectedWells);

      const auto recharge = ReadWhole(path, "RECHARGE");
      const auto rechargeLayer = test::LayerPattern(kColumns, kRows, 0.5f);
      EXPECT_EQ(recharge(4, 1, 3), rechargeLayer[3]);
      EXPECT_EQ(recharge(4, 1, 1), 0.0f);
      EXPECT_EQ(recharge(5, 4, 1), rechargeLayer.back());

      // Short labels: "ET" matches a text of blanks and ET, "RIVER" the
      // start of RIVER LEAKAGE.
      const auto et = ReadWhole(path, "ET");
      EXPECT_EQ(et(3, 2, 1), test::LayerPattern(kColumns, kRows, -0.5f)[kColumns + 2]);
      EXPECT_EQ(et(3, 2, 2), 0.0f);
      EXPECT_EQ(ReadWhole(path, "RIVER")(2, 1, 2), 3.5f);
    }
  }
}

// A term of more values than one read takes (32 Ki) arrives in pieces; the
// pieces join up exactly, in both precisions.
TEST(BudgetReader, ArraysOfSeveralReadPiecesReadWhole) {
  constexpr int kWide = 300, kLong = 250;
  const std::vector<float> flows = GridPattern(kWide, kLong, 1, 0.25f);
  test::TempDir dir;
  for (const auto format : test::kEveryFormat) {
    for (const int realBytes : {4, 8}) {
      SCOPED_TRACE(FormatName(format) + " " + std::to_string(realBytes));
      test::WriteResultFile(dir.File("wide"), format, realBytes, [&](ResultFileWriter& writer) {
        writer.WriteBudgetArray(BudgetTermHeader(1, 1, "FLOW RIGHT FACE", kWide, kLong, 1), flows);
      });
      const auto read = Read(dir.File("wide"), 1, 1, "FLOW RIGHT FACE", {kWide, kLong, 1});
      ASSERT_TRUE(read.ok) << read.ui.LastMessage();
      // Not EXPECT_EQ: a failure would print all 75000 values.
      EXPECT_TRUE(read.values == AsCells(flows, {kWide, kLong, 1}));
    }
  }
}

// Flows with a face (an IFACE auxiliary value, or the term's default face)
// leave the cell array and land on that face; IFACE 0 stays in the cell.
TEST(BudgetReader, FlowsWithAFaceAreRoutedToIt) {
  test::TempDir dir;
  for (const int realBytes : {4, 8}) {
    SCOPED_TRACE(realBytes);
    test::WriteResultFile(dir.File("faces"), ResultFileFormat::Stream, realBytes, [](ResultFileWriter& writer) {
      constexpr int kLayer2 = kColumns * kRows;
      const std::vector<BudgetListEntry> drains = {
          {kLayer2 + 3, -2.5f, {0.1f, 6}}, {kLayer2 + 4, -1.0f, {0.1f, 0}}, {kLayer2 + 3, -0.5f, {0.2f, 6}}};
      const std::vector<std::string> names = {"CONDFACT", "IFACE"};
      writer.WriteBudgetList(CompactHeader("DRAINS", 5), names, drains);
      writer.WriteBudgetArray(CompactHeader("RECHARGE", 4), test::LayerPattern(kColumns, kRows, 0.5f));
    });
    ResultFile result;
    ASSERT_EQ(OpenBudgetFile(dir.File("faces"), result), ResultFileOpening::Opened);
    AssignedFaceFlows faces;
    CellArray<float> drains, recharge;
    drains.Dimension(kGrid);
    recharge.Dimension(kGrid);
    const StepWalk walk = WalkStepTerms(result, 1, 1, kGrid, [&](const BudgetHeader& header, std::int64_t& next) {
      const bool isRecharge = header.Name() == "RECHARGE";
      const FaceRouting routing{faces, isRecharge ? 6 : 0};
      return ReadBudgetData(result, header, isRecharge ? recharge : drains, next, &routing);
    });
    ASSERT_EQ(walk, StepWalk::Ended);
    EXPECT_EQ(drains(3, 1, 2), 0.0f);
    EXPECT_EQ(drains(4, 1, 2), -1.0f);
    ASSERT_NE(faces.Of(kGrid, 3, 1, 2), nullptr);
    EXPECT_EQ(*faces.Of(kGrid, 3, 1, 2), (FaceFlows{0, 0, 0, 0, 0, -3.0}));
    EXPECT_EQ(recharge(2, 3, 1), 0.0f);
    ASSERT_NE(faces.Of(kGrid, 2, 3, 1), nullptr);
    EXPECT_FLOAT_EQ((*faces.Of(kGrid, 2, 3, 1))[5], test::LayerPattern(kColumns, kRows, 0.5f)[2 * kColumns + 1]);
    EXPECT_EQ(faces.Of(kGrid, 2, 3, 2), nullptr);
  }
}

TEST(BudgetReader, AbsurdDimensionCountOrListCellFailsWithoutReadingOutsideTheFile) {
  test::TempDir dir;
  test::WriteResultFile(dir.File("budget"), ResultFileFormat::Sequential, 4, [](ResultFileWriter& writer) {
    writer.WriteBudgetList(CompactHeader("WELLS", 2), {}, std::vector<BudgetListEntry>(2, {1, 1.0f, {}}));
  });
  std::string bytes = test::ReadWholeFile(dir.File("budget"));
  // The list count record follows the 36-byte header and the 16-byte compact record.
  const std::size_t count = 4 + 36 + 4 + 4 + 16 + 4 + 4;
  for (const std::uint8_t high : {0x7F, 0x80}) {
    bytes[count + 3] = static_cast<char>(high);
    test::WriteWholeFile(dir.File("budget"), bytes);
    const auto read = Read(dir.File("budget"), 1, 1, "WELLS");
    EXPECT_FALSE(read.ok);
    // The only term is damaged: no precision reads the file whole.
    EXPECT_EQ(read.ui.LastMessage(), UndecidedPrecisionText(kBudgetFileWord, dir.File("budget")));
  }
  test::WriteResultFile(dir.File("huge"), ResultFileFormat::Stream, 4, [](ResultFileWriter& writer) {
    writer.WriteBudgetArray(BudgetTermHeader(1, 1, "WELLS", 100000, 100000, 100000), std::vector<float>(4, 0));
  });
  EXPECT_FALSE(Read(dir.File("huge"), 1, 1, "WELLS").ok);
  test::WriteResultFile(dir.File("outside"), ResultFileFormat::Stream, 4, [](ResultFileWriter& writer) {
    writer.WriteBudgetList(CompactHeader("WELLS", 2), {}, std::vector<BudgetListEntry>{{kCells + 1, 1.0f, {}}});
  });
  const auto outside = Read(dir.File("outside"), 1, 1, "WELLS");
  EXPECT_FALSE(outside.ok);
  EXPECT_EQ(outside.ui.LastMessage(), "Could not read the cell-by-cell flow WELLS from the budget file");
}

TEST(BudgetReader, LateStepCostsOneSmallReadPerSkippedRecordAndTheWantedData) {
  test::TempDir dir;
  constexpr int kSteps = 30;
  constexpr int kWide = 400;  // 400 x 4 x 3 cells: records of 19200 bytes
  for (const auto format : test::kEveryFormat) {
    test::WriteResultFile(dir.File("budget"), format, 4, [](ResultFileWriter& writer) {
      for (int step = 1; step <= kSteps; ++step)
        for (const char* term : {"CONSTANT HEAD", "FLOW RIGHT FACE"})
          writer.WriteBudgetArray(BudgetTermHeader(step, 1, term, kWide, kRows, kLayers),
                                  GridPattern(kWide, kRows, kLayers, step));
    });
    ResultFile result;
    ASSERT_EQ(OpenBudgetFile(dir.File("budget"), result), ResultFileOpening::Opened);
    const std::int64_t afterOpening = result.file.BytesFetched();
    CellArray<float> target;
    std::int64_t position = kFirstRecordPosition;
    test::RecordingInterface ui;
    ASSERT_TRUE(FindBudgetTerm(result, {kSteps, 1, "FLOW RIGHT FACE", kWide, kRows, kLayers}, target, position,
                               {ui, true}));
    EXPECT_EQ(target(kWide, kRows, kLayers), GridPattern(kWide, kRows, kLayers, kSteps).back());
    // The wanted values (with the PowerStation length bytes around each block
    // of 128) and a 128-byte window per term, for the window at the end of a
    // term also holds the next header, and one for the first header.
    const std::int64_t wantedBytes = std::int64_t{kWide} * kRows * kLayers * 4;
    const std::int64_t windows = 2 * kSteps + 1;
    const std::int64_t fetched = result.file.BytesFetched() - afterOpening;
    EXPECT_GE(fetched, wantedBytes) << FormatName(format);
    EXPECT_LE(fetched, wantedBytes + 2 * wantedBytes / 128 + windows * 128) << FormatName(format);
  }
}

}  // namespace
}  // namespace kestra
