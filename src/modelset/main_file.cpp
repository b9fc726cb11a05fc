#include "modelset/main_file.h"

#include <optional>

#include "core/grid_size.h"
#include "core/number_format.h"
#include "core/text_reader.h"
#include "modelset/array_record.h"
#include "modelset/cell_values.h"

namespace kestra {
namespace {

constexpr float kDefaultTopThickness = 10.0f;  // T of a file that gives 0

// Item 1 of the file; A and B choose the optional items.
struct MainHeader {
  int ncol = 0, nrow = 0, nlay = 0, a = 0, b = 0, nper = 0, timeUnit = 0;
  float hnoflo = 0, hdry = 0, topThickness = 0;
};

class MainReader {
 public:
  MainReader(TextReader& reader, const std::string& path) : reader_(reader), path_(path) {}

  // One array record of ncol x nrow values; EXTERNAL counts as a failure,
  // since zero widths or elevations make no model.
  bool Array(int ncol, int nrow, LayerGrid& grid) {
    return ReadArrayRecord(reader_, path_, grid, ncol, nrow) == ArrayRecordResult::kRead;
  }
  TextReader& Text() { return reader_; }

 private:
  TextReader& reader_;
  const std::string& path_;
};

MainHeader ReadHeader(TextReader& text) {
  MainHeader header;
  for (int* value : {&header.ncol, &header.nrow, &header.nlay, &header.a, &header.b, &header.nper, &header.timeUnit})
    text.NextInt(*value);
  text.NextNumber(header.hnoflo);
  text.NextNumber(header.hdry);
  text.NextNumber(header.topThickness);
  text.SkipRestOfLine();
  if (header.nper < 1) header.nper = 1;
  if (header.topThickness == 0) header.topThickness = kDefaultTopThickness;
  // The unit of MODFLOW's time (ITMUNI) uses the coding of the tracking time units.
  if (header.timeUnit < 0 || header.timeUnit >= kTimeUnitCount) header.timeUnit = 0;
  return header;
}

bool ReadWidths(MainReader& main, ModelState& model) {
  LayerGrid grid;
  if (!main.Array(model.NCOL, 1, grid)) return false;
  for (int j = 1; j <= model.NCOL; ++j) model.DELR[j] = grid(j, 1);
  if (!main.Array(1, model.NROW, grid)) return false;
  for (int i = 1; i <= model.NROW; ++i) model.DELC[i] = grid(1, i);
  ComputeGridGeometry(model);
  SetDefaultOrigin(model);
  return true;
}

bool ReadLayeredElevations(MainReader& main, ModelState& model, float topThickness) {
  LayerGrid grid;
  for (int k = 1; k <= model.NLAY; ++k) {
    const bool topFromBottom = k == 1 && model.LAYCON[1] == 1;
    if (!topFromBottom) {
      if (!main.Array(model.NCOL, model.NROW, grid)) return false;
      CopyLayer(grid, k, model.TOP, AsRead);
    }
    if (!main.Array(model.NCOL, model.NROW, grid)) return false;
    CopyLayer(grid, k, model.BOT, AsRead);
    if (topFromBottom)
      for (int i = 1; i <= model.NROW; ++i)
        for (int j = 1; j <= model.NCOL; ++j) model.TOP(j, i, 1) = model.BOT(j, i, 1) + topThickness;
  }
  return true;
}

// Uniform layers: the record gives the bottom of each layer, the float the
// top of layer 1; each further layer's top is the bottom of the one above.
bool ReadUniformElevations(MainReader& main, ModelState& model, bool secondRecord) {
  LayerGrid bottoms, ignored;
  if (!main.Array(1, model.NLAY, bottoms)) return false;
  if (secondRecord && !main.Array(1, model.NLAY, ignored)) return false;
  float top = 0;
  if (!main.Text().NextNumber(top)) return false;
  for (int k = 1; k <= model.NLAY; ++k) {
    const float bottom = bottoms(1, k);
    for (int i = 1; i <= model.NROW; ++i)
      for (int j = 1; j <= model.NCOL; ++j) {
        model.TOP(j, i, k) = top;
        model.BOT(j, i, k) = bottom;
      }
    top = bottom;
  }
  return true;
}

bool ReadBoundaryCodes(MainReader& main, ModelState& model) {
  LayerGrid grid;
  if (model.NROW == 1) {
    // A vertical section: one record whose rows are the layers.
    if (!main.Array(model.NCOL, model.NLAY, grid)) return false;
    for (int k = 1; k <= model.NLAY; ++k)
      for (int j = 1; j <= model.NCOL; ++j) model.IBOUND(j, 1, k) = BoundaryCode(grid(j, k));
    return true;
  }
  for (int k = 1; k <= model.NLAY; ++k) {
    if (!main.Array(model.NCOL, model.NROW, grid)) return false;
    CopyLayer(grid, k, model.IBOUND, BoundaryCode);
  }
  return true;
}

bool ReadPorosity(MainReader& main, ModelState& model) {
  LayerGrid grid;
  for (int k = 1; k <= model.NLAY; ++k) {
    if (!main.Array(model.NCOL, model.NROW, grid)) return false;
    CopyLayer(grid, k, model.POROSITY, StoredPorosity);
  }
  return true;
}

// Periods the file does not describe keep one step of length 1.
StressPeriods ReadPeriods(TextReader& text, int nper, int timeUnit) {
  StressPeriods periods;
  periods.NPER = nper;
  periods.timeUnit = static_cast<std::int16_t>(timeUnit);
  periods.PERLEN.assign(nper + 1, 1.0f);
  periods.NSTP.assign(nper + 1, 1);
  periods.TSMULT.assign(nper + 1, 1.0f);
  periods.PERLEN[0] = periods.TSMULT[0] = 0;  // entry 0 unused, as in StressPeriods
  periods.NSTP[0] = 0;
  double ignored = 0;
  text.NextNumber(ignored);
  for (int p = 1; p <= nper; ++p) {
    text.NextNumber(periods.PERLEN[p]);
    text.NextInt(periods.NSTP[p]);
    text.NextNumber(periods.TSMULT[p]);
    if (periods.NSTP[p] < 1) periods.NSTP[p] = 1;
  }
  return periods;
}

bool ReadModelArrays(MainReader& main, const MainHeader& header, ModelState& model) {
  TextReader& text = main.Text();
  for (int k = 1; k <= model.NLAY; ++k) text.NextInt16(model.LAYCON[k]);
  double ignored = 0;
  if (header.a > 0)
    for (int k = 1; k <= model.NLAY; ++k) text.NextNumber(ignored);
  if (!ReadWidths(main, model)) return false;
  const bool elevations = header.b == 1 ? ReadUniformElevations(main, model, header.a > 0)
                                        : ReadLayeredElevations(main, model, header.topThickness);
  return elevations && ReadBoundaryCodes(main, model) && ReadPorosity(main, model);
}

}  // namespace

bool ReadMainFile(const std::string& path, MainFileContents& contents, UserInterface& ui) {
  std::optional<TextReader> text;
  if (!TextReader::FromFile(path, text)) {
    Complain(ui, "The MAIN file " + path + " could not be read.", MessageIcon::Error);
    return false;
  }
  const MainHeader header = ReadHeader(*text);
  if (!AcceptGridSize(path, header.ncol, header.nrow, header.nlay, ui)) return false;
  MainFileContents read;
  DimensionModel(read.model, header.ncol, header.nrow, header.nlay);
  MainReader main(*text, path);
  if (!ReadModelArrays(main, header, read.model)) {
    Complain(ui, "An array of the MAIN file " + path + " is missing, EXTERNAL or unreadable.",
             MessageIcon::Exclamation);
    return false;
  }
  read.model.IBOUND0 = read.model.IBOUND;
  read.HNOFLO = header.hnoflo;
  read.HDRY = header.hdry;
  read.periods = ReadPeriods(*text, header.nper, header.timeUnit);
  contents = std::move(read);
  return true;
}

}  // namespace kestra
