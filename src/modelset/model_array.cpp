#include "modelset/model_array.h"

#include "core/binary_values.h"
#include "core/fixed_tables.h"
#include "core/number_format.h"
#include "modelset/input_messages.h"

namespace kestra {
namespace {

constexpr int kHeaderRecords = 1000;      // data-set codes ahead of the data sets
constexpr std::int64_t kHeaderBytes = 4000;

// The data set read is needed before pathlines can be computed; the open (or
// the stress-period change) that asked for it fails, the program goes on.
constexpr const char* kDataNotSpecified =
    "Prior to calculating pathlines, you need to specify the following data:\r\n"
    "- elevation of the top of layer(s)\r\n"
    "- elevation of the bottom of layer(s)\r\n"
    "- effective porosity";

// The directory's code for (type, period); a record beyond the end of the
// file reads as 0, as for a period without data.
std::int16_t DirectoryCode(BinaryFile& directory, int type, int period) {
  const std::uint64_t record = static_cast<std::uint64_t>(type - 1) * kDirectoryPeriods + period;
  return ReadInt16At(directory, static_cast<std::int64_t>(record - 1) * 2).value_or(0);
}

// The 1-based position of `code` in the header, 0 when a 0 ends the list first.
int DataSetIndex(BinaryFile& dataFile, std::int16_t code) {
  for (int entry = 1; entry <= kHeaderRecords; ++entry) {
    const float listed = ReadFloatAt(dataFile, static_cast<std::int64_t>(entry - 1) * 4).value_or(0.0f);
    if (listed == 0) return 0;
    if (listed == code) return entry;
  }
  return 0;
}

bool ReadDataSetRows(BinaryFile& dataFile, const ModelArraySource& source, int setIndex, int layer,
                     LayerGrid& target) {
  const std::uint64_t setValues = static_cast<std::uint64_t>(source.grid.ncol) * source.grid.nrow * source.grid.nlay;
  const std::uint64_t layerValues = static_cast<std::uint64_t>(target.ncol) * target.nrow;
  const std::uint64_t layerStart = kHeaderBytes + 4 * ((setIndex - 1) * setValues + (layer - 1) * layerValues);
  LayerGrid read = target;
  std::vector<float> row;
  for (int i = 1; i <= target.nrow; ++i) {
    const auto rowStart = static_cast<std::int64_t>(layerStart + 4ull * (i - 1) * target.ncol);
    if (!ReadFloatsAt(dataFile, rowStart, target.ncol, row)) return false;
    for (int j = 1; j <= target.ncol; ++j) read(j, i) = row[j - 1];
  }
  target = std::move(read);
  return true;
}

}  // namespace

bool ReadModelArray(const ModelArraySource& source, int type, int period, int layer, LayerGrid& target,
                    float defaultValue, UserInterface& ui) {
  const std::string directoryPath = source.basePath + ".RCD";
  BinaryFile directory;
  if (!directory.Open(directoryPath)) {
    ComplainFileMissing(ui, directoryPath);
    return false;
  }
  if (period < 1 || period > kDirectoryPeriods) {
    Complain(ui, "Stress period" + NumberText(period) + " lies beyond the record directory, which holds" +
                     NumberText(kDirectoryPeriods) + " stress periods.",
             MessageIcon::Exclamation);
    return false;
  }
  const std::int16_t code = DirectoryCode(directory, type, period);
  if (code == 0) {
    Complain(ui, kDataNotSpecified, MessageIcon::Exclamation);
    return false;
  }
  const std::string dataPath = source.basePath + DataFileExtensions()[type];
  BinaryFile dataFile;
  if (!dataFile.Open(dataPath)) {
    ComplainFileMissing(ui, dataPath);
    return false;
  }
  if (dataFile.Size() < kHeaderBytes) {
    Complain(ui, "The data file " + dataPath + " is shorter than its header of" + NumberText(kHeaderRecords) +
                     " records.",
             MessageIcon::Exclamation);
    return false;
  }
  const int setIndex = DataSetIndex(dataFile, code);
  if (setIndex == 0) {
    target.Fill(defaultValue);
    return true;
  }
  if (layer < 1 || layer > source.grid.nlay || !ReadDataSetRows(dataFile, source, setIndex, layer, target)) {
    Complain(ui, "The data file " + dataPath + " ends before data set" + NumberText(setIndex) + " is complete.",
             MessageIcon::Exclamation);
    return false;
  }
  return true;
}

}  // namespace kestra
