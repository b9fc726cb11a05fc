#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <map>
#include <span>
#include <type_traits>
#include <vector>

#include "core/binary_file.h"
#include "core/byte_order.h"
#include "core/grid_size.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "core/zeroed_pages.h"
#include "mf6/input_file.h"
#include "mf6/readers.h"

namespace kestra {
namespace {

constexpr std::int64_t kHeaderLineBytes = 50;
constexpr int kHeaderLines = 4;
// Far more definitions or a longer definition line than any grid file holds.
constexpr std::int64_t kLargestDefinitionCount = 1000;
constexpr std::int64_t kLargestDefinitionBytes = 10000;
// Values read at a time: a piece and what is made of it stay in the cache.
constexpr std::int64_t kPieceValues = 16 * 1024;

// One variable of the grid file: its type, its number of values and where
// they lie.
struct Definition {
  bool integer = true;
  std::int64_t count = 1;
  std::int64_t offset = 0;
};

// The values of a piece as they are stored.
struct KeepAsStored {
  template <typename Stored>
  bool operator()(std::span<Stored>, std::string&) const {
    return true;
  }
};

// Every JA names a cell; the file counts from 1, the connections from 0. In
// unsigned arithmetic one comparison tests both ends and the loop has no
// branch, so it stays packed.
struct CellNumbersFromZero {
  std::uint32_t ncells;

  bool operator()(std::span<std::int32_t> cells, std::string& problem) const {
    bool outside = false;
    for (std::int32_t& cell : cells) {
      const std::uint32_t fromZero = static_cast<std::uint32_t>(cell) - 1u;
      outside |= fromZero >= ncells;
      cell = static_cast<std::int32_t>(fromZero);
    }
    if (!outside) return true;
    const auto first = std::find_if(cells.begin(), cells.end(),
                                    [&](std::int32_t cell) { return static_cast<std::uint32_t>(cell) >= ncells; });
    const auto stored = static_cast<std::int32_t>(static_cast<std::uint32_t>(*first) + 1u);
    problem = "JA names cell " + std::to_string(stored) + ", outside the grid.";
    return false;
  }
};

class GridFileReader {
 public:
  GridFileReader(const std::string& path, std::string& problem)
      : path_(path), name_(std::filesystem::path(path).filename().string()), problem_(problem) {}

  bool Read(Mf6Grid& grid, CellConnections& connections, PagedVector<int>& cellTypes) {
    if (!file_.Open(path_)) return Fail("the file is missing or cannot be read.");
    std::int64_t ntxt = 0, lentxt = 0;
    if (!ReadHeader(ntxt, lentxt) || !ReadDefinitions(ntxt, lentxt)) return false;
    Mf6Grid read;
    std::int64_t ncells = 0, nja = 0;
    if (!Scalar("NCELLS", ncells) || !Dimension("NLAY", read.NLAY) || !Dimension("NROW", read.NROW) ||
        !Dimension("NCOL", read.NCOL) || !Scalar("NJA", nja))
      return false;
    if (!GridSizeFits(read.NCOL, read.NROW, read.NLAY))
      return Fail("NLAY" + NumberText(read.NLAY) + ", NROW" + NumberText(read.NROW) + ", NCOL" + NumberText(read.NCOL) +
                  ": a grid has " + GridSizeLimitText() + ".");
    if (ncells != std::int64_t{read.NLAY} * read.NROW * read.NCOL)
      return Fail("NCELLS" + NumberText(ncells) + " is not NLAY x NROW x NCOL.");
    const std::int64_t layerCells = std::int64_t{read.NCOL} * read.NROW;
    std::vector<double> origin;
    PagedVector<int> icelltype;
    if (!Values("XORIGIN", 1, origin)) return false;
    read.XORIGIN = origin[0];
    if (!Values("YORIGIN", 1, origin)) return false;
    read.YORIGIN = origin[0];
    if (!Values("ANGROT", 1, origin)) return false;
    read.ANGROT = origin[0];
    if (!Values("DELR", read.NCOL, read.DELR) || !Values("DELC", read.NROW, read.DELC) ||
        !Values("TOP", layerCells, read.TOP) || !Values("BOTM", ncells, read.BOTM) ||
        !Values("IDOMAIN", ncells, read.IDOMAIN) || !Connections(read, nja, connections))
      return false;
    if (definitions_.contains("ICELLTYPE") && !Values("ICELLTYPE", ncells, icelltype)) return false;
    cellTypes = std::move(icelltype);
    grid = std::move(read);
    return true;
  }

 private:
  bool Fail(const std::string& text) {
    problem_ = "the binary grid file " + name_ + ": " + text;
    return false;
  }

  bool TextAt(std::int64_t offset, std::int64_t length, std::string& text) {
    text.assign(static_cast<std::size_t>(length), ' ');
    return file_.Holds(offset, length) && file_.ReadAt(offset, std::as_writable_bytes(std::span(text)));
  }

  bool HeaderLine(int n, const char* keyword, std::string& value) {
    std::string line;
    if (!TextAt(n * kHeaderLineBytes, kHeaderLineBytes, line)) return Fail("the file ends in its header.");
    const auto words = Mf6Words(line);
    if (words.empty() || UpperCase(words[0]) != keyword || words.size() < 2)
      return Fail(std::string("header line") + NumberText(n + 1) + " is not \"" + keyword + " ...\".");
    value = UpperCase(words[1]);
    return true;
  }

  bool HeaderCount(int n, const char* keyword, std::int64_t largest, std::int64_t& count) {
    std::string word;
    if (!HeaderLine(n, keyword, word)) return false;
    const auto number = ParseNumber(word);
    if (!number || *number < 1 || *number > static_cast<double>(largest) || *number != std::floor(*number))
      return Fail(std::string(keyword) + " " + word + " is not a usable count.");
    count = static_cast<std::int64_t>(*number);
    return true;
  }

  bool ReadHeader(std::int64_t& ntxt, std::int64_t& lentxt) {
    std::string kind, version;
    if (!HeaderLine(0, "GRID", kind)) return false;
    if (kind != "DIS") return Fail("the grid is of type " + kind + "; only structured grids (DIS) are read.");
    return HeaderLine(1, "VERSION", version) && HeaderCount(2, "NTXT", kLargestDefinitionCount, ntxt) &&
           HeaderCount(3, "LENTXT", kLargestDefinitionBytes, lentxt);
  }

  // "NAME TYPE NDIM n dims..." per line; the data follow in the lines' order.
  bool ReadDefinitions(std::int64_t ntxt, std::int64_t lentxt) {
    std::int64_t offset = kHeaderLines * kHeaderLineBytes + ntxt * lentxt;
    for (std::int64_t n = 0; n < ntxt; ++n) {
      std::string line;
      if (!TextAt(kHeaderLines * kHeaderLineBytes + n * lentxt, lentxt, line))
        return Fail("the file ends in definition line" + NumberText(n + 1) + ".");
      const auto words = Mf6Words(line);
      Definition definition;
      const std::string type = words.size() > 1 ? UpperCase(words[1]) : "";
      const auto ndim = words.size() > 3 ? ParseNumber(words[3]) : std::nullopt;
      if (words.size() < 4 || (type != "INTEGER" && type != "DOUBLE") || UpperCase(words[2]) != "NDIM" || !ndim ||
          *ndim < 0 || *ndim > 3 || words.size() < 4 + static_cast<std::size_t>(*ndim))
        return Fail("definition line" + NumberText(n + 1) + " \"" + line.substr(0, line.find_last_not_of(' ') + 1) +
                    "\" is not NAME TYPE NDIM dimensions.");
      definition.integer = type == "INTEGER";
      for (int d = 0; d < static_cast<int>(*ndim); ++d) {
        const auto size = ParseNumber(words[4 + d]);
        if (!size || *size < 0 || *size > 4.0e9 || *size != std::floor(*size))
          return Fail("definition line" + NumberText(n + 1) + " gives an impossible size.");
        definition.count *= static_cast<std::int64_t>(*size);
      }
      definition.offset = offset;
      const std::int64_t bytes = definition.count * (definition.integer ? 4 : 8);
      if (!file_.Holds(offset, bytes))
        return Fail("the values of " + UpperCase(words[0]) + " reach past the end of the file.");
      offset += bytes;
      definitions_[UpperCase(words[0])] = definition;
    }
    return true;
  }

  template <typename T, typename Allocator, typename Adjust = KeepAsStored>
  bool Values(const std::string& name, std::int64_t count, std::vector<T, Allocator>& values, Adjust adjust = {}) {
    const auto found = definitions_.find(name);
    if (found == definitions_.end()) return Fail("it defines no " + name + ".");
    const Definition& definition = found->second;
    if (definition.count != count)
      return Fail(name + " holds" + NumberText(definition.count) + " values instead of" + NumberText(count) + ".");
    if (definition.integer) return Convert<std::int32_t>(name, definition, values, adjust);
    // Reals made into counts or cell numbers could be anything, NaN included.
    if constexpr (std::is_integral_v<T>) {
      return Fail(name + " is not stored as integers.");
    } else {
      return Convert<double>(name, definition, values, adjust);
    }
  }

  // MODFLOW 6 connects the cells of a DIS grid by its IDOMAIN alone; only a
  // file whose IA and JA follow another order needs them kept.
  bool Connections(const Mf6Grid& grid, std::int64_t nja, CellConnections& connections) {
    const GridShape shape{grid.NCOL, grid.NROW, grid.NLAY};
    CellConnections byIdomain(shape, grid.IDOMAIN);
    if (FollowRule(byIdomain, nja)) {
      connections = std::move(byIdomain);
      return true;
    }
    const auto ncells = static_cast<std::int64_t>(grid.CellCount());
    std::vector<std::int64_t> ia;
    std::vector<std::int32_t> ja;
    if (!Values("IA", ncells + 1, ia) || !CountStartsFromZero(ia, nja) ||
        !Values("JA", nja, ja, CellNumbersFromZero{static_cast<std::uint32_t>(ncells)}))
      return false;
    connections = CellConnections(shape, std::move(ia), std::move(ja));
    return true;
  }

  // Whether IA and JA, as stored, hold the entries of `rule`.
  bool FollowRule(const CellConnections& rule, std::int64_t nja) {
    const auto ia = definitions_.find("IA");
    const auto ja = definitions_.find("JA");
    if (ia == definitions_.end() || ja == definitions_.end() || !ia->second.integer || !ja->second.integer ||
        ia->second.count != rule.CellCount() + 1 || ja->second.count != nja || nja != rule.EntryCount())
      return false;
    IntegerStream starts(*this, ia->second), cells(*this, ja->second);
    std::int64_t start = 1;
    const std::int32_t* stored = nullptr;
    for (ConnectionWalk walk(rule); walk.Next(); start += static_cast<std::int64_t>(walk.EntryCount())) {
      if (!starts.Take(1, stored) || *stored != start || !cells.Take(walk.EntryCount(), stored) ||
          !walk.EntriesAre(stored, 1))
        return false;
    }
    return starts.Take(1, stored) && *stored == start;
  }

  // Values done .. done + part.size() of `definition`, stored little-endian.
  template <typename Stored>
  bool ReadPiece(const Definition& definition, std::int64_t done, std::span<Stored> part) {
    if (!file_.ReadAt(definition.offset + done * std::int64_t{sizeof(Stored)}, std::as_writable_bytes(part)))
      return false;
    if constexpr (!kHostIsLittleEndian) {
      for (Stored& value : part) {
        std::byte bytes[sizeof(Stored)];
        std::memcpy(bytes, &value, sizeof(Stored));
        value = static_cast<Stored>(sizeof(Stored) == 4 ? Int32At(bytes) : RealAt(bytes, 8));
      }
    }
    return true;
  }

  // The values of `definition` (stored little-endian) as T, read a piece at
  // a time and each piece adjusted while it is in the cache: nothing the size
  // of the array is filled, copied or passed over twice (JA and BOTM hold
  // millions of values on a large grid).
  template <typename Stored, typename T, typename Allocator, typename Adjust>
  bool Convert(const std::string& name, const Definition& definition, std::vector<T, Allocator>& values,
               Adjust& adjust) {
    std::vector<Stored> piece(static_cast<std::size_t>(std::min(kPieceValues, definition.count)));
    values.clear();
    values.reserve(static_cast<std::size_t>(definition.count));
    for (std::int64_t done = 0; done < definition.count;) {
      const std::span<Stored> part(piece.data(),
                                   static_cast<std::size_t>(std::min(kPieceValues, definition.count - done)));
      if (!ReadPiece(definition, done, part)) return Fail("the values of " + name + " cannot be read.");
      if (!adjust(part, problem_)) return Fail(problem_);
      values.insert(values.end(), part.begin(), part.end());
      done += static_cast<std::int64_t>(part.size());
    }
    return true;
  }

  // The integers of a definition a few at a time, read a piece at a time.
  class IntegerStream {
   public:
    IntegerStream(GridFileReader& reader, const Definition& definition)
        : reader_(reader), definition_(definition), piece_(static_cast<std::size_t>(kPieceValues)) {}

    // The next `count` values (at most a piece), or false where the
    // definition ends before them or they cannot be read.
    bool Take(std::size_t count, const std::int32_t*& values) {
      if (at_ + count > filled_ && !Refill(count)) return false;
      values = piece_.data() + at_;
      at_ += count;
      return true;
    }

   private:
    // The values not yet taken go to the piece's start, the next ones after them.
    bool Refill(std::size_t count) {
      const std::size_t kept = filled_ - at_;
      std::copy(piece_.begin() + static_cast<std::ptrdiff_t>(at_), piece_.begin() + static_cast<std::ptrdiff_t>(filled_),
                piece_.begin());
      const auto read = static_cast<std::size_t>(
          std::min<std::int64_t>(static_cast<std::int64_t>(piece_.size() - kept), definition_.count - done_));
      if (kept + read < count ||
          !reader_.ReadPiece(definition_, done_, std::span(piece_).subspan(kept, read)))
        return false;
      done_ += static_cast<std::int64_t>(read);
      at_ = 0;
      filled_ = kept + read;
      return true;
    }

    GridFileReader& reader_;
    const Definition& definition_;
    std::vector<std::int32_t> piece_;
    std::size_t at_ = 0, filled_ = 0;
    std::int64_t done_ = 0;
  };

  bool Scalar(const std::string& name, std::int64_t& value) {
    std::vector<std::int64_t> values;
    if (!Values(name, 1, values)) return false;
    if (values[0] < 1) return Fail(name + " " + std::to_string(values[0]) + " is not positive.");
    value = values[0];
    return true;
  }

  bool Dimension(const std::string& name, int& value) {
    std::int64_t count = 0;
    if (!Scalar(name, count)) return false;
    if (count > 2000000000) return Fail(name + NumberText(count) + " is too large.");
    value = static_cast<int>(count);
    return true;
  }

  // IA rises from 1 to NJA + 1; the file counts from 1, the connections from 0.
  bool CountStartsFromZero(std::vector<std::int64_t>& ia, std::int64_t nja) {
    if (ia.front() != 1 || ia.back() != nja + 1) return Fail("IA does not run from 1 to NJA + 1.");
    for (std::size_t n = 1; n < ia.size(); ++n)
      if (ia[n] < ia[n - 1]) return Fail("IA falls at cell" + NumberText(static_cast<std::int64_t>(n)) + ".");
    for (std::int64_t& start : ia) --start;
    return true;
  }

  std::string path_;
  std::string name_;
  std::string& problem_;
  BinaryFile file_;
  std::map<std::string, Definition> definitions_;
};

}  // namespace

bool ReadGridFile(const std::string& path, Mf6Grid& grid, CellConnections& connections, PagedVector<int>& cellTypes,
                  std::string& problem) {
  return GridFileReader(path, problem).Read(grid, connections, cellTypes);
}

}  // namespace kestra
