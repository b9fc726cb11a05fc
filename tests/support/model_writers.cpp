#include "support/model_writers.h"

#include <fstream>
#include <sstream>

#include "core/binary_values.h"
#include "support/temp_dir.h"

namespace kestra::test {
namespace {

constexpr int kPeriodsPerType = 1000;
constexpr int kHeaderRecords = 1000;

std::vector<float> OrUniform(const std::vector<float>& values, std::size_t count, float uniform) {
  return values.empty() ? std::vector<float>(count, uniform) : values;
}

// A data set whose first values are `leading`, padded to a whole set.
std::vector<float> PaddedSet(const std::vector<float>& leading, std::size_t setSize) {
  std::vector<float> set = leading;
  set.resize(setSize, 0.0f);
  return set;
}

struct FilledModel {
  std::vector<float> widths, heights, top, bottom, ibound, porosity;
};

FilledModel Filled(const SmallModel& model) {
  const std::size_t cells = static_cast<std::size_t>(model.ncol) * model.nrow * model.nlay;
  return {OrUniform(model.columnWidths, model.ncol, 10), OrUniform(model.rowHeights, model.nrow, 20),
          OrUniform(model.top, cells, 10),          OrUniform(model.bottom, cells, 0),
          OrUniform(model.ibound, cells, 1),        OrUniform(model.porosity, cells, 0.25f)};
}

// `values` as free-format text, `perLine` to a line.
std::string FreeFormat(const std::vector<float>& values, int perLine) {
  std::ostringstream text;
  for (std::size_t n = 0; n < values.size(); ++n)
    text << values[n] << ((n + 1) % perLine == 0 || n + 1 == values.size() ? "\n" : " ");
  return text.str();
}

std::string Internal(const std::vector<float>& values, std::size_t first, std::size_t count, int perLine) {
  return "INTERNAL 1 (FREE) -1\n" +
         FreeFormat(std::vector<float>(values.begin() + first, values.begin() + first + count), perLine);
}

}  // namespace

void WriteRecordDirectory(const std::string& path, const std::vector<DirectoryEntry>& entries) {
  int types = 1;
  for (const auto& entry : entries) types = std::max(types, entry.type);
  std::vector<std::int16_t> records(static_cast<std::size_t>(types) * kPeriodsPerType, 0);
  for (const auto& entry : entries) records[(entry.type - 1) * kPeriodsPerType + entry.period - 1] = entry.code;
  std::string bytes;
  for (auto record : records) AppendInt16(bytes, record);
  WriteWholeFile(path, bytes);
}

void WriteDataFile(const std::string& path, const std::vector<float>& codes,
                   const std::vector<std::vector<float>>& dataSets) {
  std::string bytes;
  for (int entry = 0; entry < kHeaderRecords; ++entry)
    AppendFloat(bytes, entry < static_cast<int>(codes.size()) ? codes[entry] : 0.0f);
  for (const auto& set : dataSets)
    for (float value : set) AppendFloat(bytes, value);
  WriteWholeFile(path, bytes);
}

void WriteModelFile(const std::string& path, int ncol, int nrow, int nlay, const DataFlagTable& flags,
                    const std::string& title) {
  std::ostringstream text;
  text << "written by the tests\r\n0 0 0 0\r\n" << ncol << " " << nrow << " " << nlay << " 1 1 1\r\n";
  for (int x = 0; x < 12; ++x) {
    for (int y = 0; y < 12; ++y) text << flags(x, y) << (y == 11 ? "\r\n" : " ");
  }
  text << title << "\r\n0 0 0 0 0 0\r\n";
  WriteWholeFile(path, text.str());
}

void WriteLayerTypeFile(const std::string& path, int count, const std::vector<int>& codes) {
  std::ostringstream text;
  text << count << "\r\n";
  for (int code : codes) text << code << "\r\n";
  WriteWholeFile(path, text.str());
}

void WriteTraFile(const std::string& path, const StressPeriods& periods, int copies) {
  std::ostringstream text;
  text << periods.NPER << " " << periods.timeUnit << "\r\n";
  for (int copy = 0; copy < copies; ++copy)
    for (int p = 1; p <= periods.NPER; ++p)
      text << periods.PERLEN[p] << " " << periods.NSTP[p] << " " << periods.TSMULT[p] << "\r\n";
  WriteWholeFile(path, text.str());
}

std::string WriteModelFileSet(const std::string& folder, const std::string& name, const SmallModel& model) {
  const std::string base = folder + "/" + name;
  const FilledModel filled = Filled(model);
  const std::size_t setSize = static_cast<std::size_t>(model.ncol) * model.nrow * model.nlay;
  DataFlagTable flags;
  flags(0, 5) = 1;
  std::vector<DirectoryEntry> directory;
  const std::pair<const char*, const std::vector<float>*> files[] = {
      {".X", &filled.widths}, {".Y", &filled.heights}, {".TOP", &filled.top},
      {".BOT", &filled.bottom}, {".IBD", &filled.ibound}, {".POR", &filled.porosity}};
  for (int type = 1; type <= 6; ++type) {
    directory.push_back({type, 1, 1});
    WriteDataFile(base + files[type - 1].first, {1}, {PaddedSet(*files[type - 1].second, setSize)});
  }
  if (!model.wells.empty()) {
    flags(3, 2) = 2;
    directory.push_back({11, 1, 1});
    WriteDataFile(base + ".WEL", {1}, {PaddedSet(model.wells, setSize)});
  }
  WriteRecordDirectory(base + ".RCD", directory);
  WriteModelFile(base + ".mdl", model.ncol, model.nrow, model.nlay, flags);
  WriteLayerTypeFile(base + ".L", model.nlay, std::vector<int>(model.nlay, 0));
  WriteTraFile(base + ".TRA", model.periods);
  return base + ".mdl";
}

std::string WriteNameFileModel(const std::string& folder, const std::string& name, const SmallModel& model,
                               const std::vector<std::string>& extraEntries) {
  const std::string base = folder + "/" + name;
  const FilledModel filled = Filled(model);
  const std::size_t layerSize = static_cast<std::size_t>(model.ncol) * model.nrow;
  std::ostringstream main;
  main << model.ncol << " " << model.nrow << " " << model.nlay << " 0 0 " << model.periods.NPER
       << " 4 -999.99 -1E+30 10\n";
  for (int k = 0; k < model.nlay; ++k) main << "0" << (k + 1 == model.nlay ? "\n" : " ");
  main << Internal(filled.widths, 0, model.ncol, 10) << Internal(filled.heights, 0, model.nrow, 1);
  for (int k = 0; k < model.nlay; ++k)
    main << Internal(filled.top, k * layerSize, layerSize, model.ncol)
         << Internal(filled.bottom, k * layerSize, layerSize, model.ncol);
  for (int k = 0; k < model.nlay; ++k) main << Internal(filled.ibound, k * layerSize, layerSize, model.ncol);
  for (int k = 0; k < model.nlay; ++k) main << Internal(filled.porosity, k * layerSize, layerSize, model.ncol);
  main << "4\n";
  for (int p = 1; p <= model.periods.NPER; ++p)
    main << model.periods.PERLEN[p] << " " << model.periods.NSTP[p] << " " << model.periods.TSMULT[p] << "\n";
  main << "0 0 0 0\n";
  WriteWholeFile(base + ".main", main.str());
  WriteWholeFile(base + ".cbc", "");
  WriteWholeFile(base + ".hds", "");
  std::string nameFile = "# test model\nMAIN " + name + ".main\nBUDGET " + name + ".cbc\nHEAD(BINARY) " + name + ".hds\n";
  for (const auto& entry : extraEntries) nameFile += entry + "\n";
  WriteWholeFile(base + ".nam", nameFile);
  return base + ".nam";
}

}  // namespace kestra::test
