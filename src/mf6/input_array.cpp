#include "mf6/input_array.h"

#include <array>
#include <cmath>
#include <optional>

#include "core/binary_file.h"
#include "core/byte_order.h"
#include "core/model_paths.h"
#include "core/number_format.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

// KSTP, KPER, PERTIM, TOTIM, TEXT, M1, M2, M3 before the values of a binary array file.
constexpr std::int64_t kBinaryHeaderBytes = 4 + 4 + 8 + 8 + 16 + 4 + 4 + 4;

struct Control {
  std::string source;  // CONSTANT, INTERNAL, OPEN/CLOSE
  double constant = 0;
  double factor = 1;
  std::string fileName;
  bool binary = false;
};

bool ParseControl(const Mf6InputFile& file, std::size_t line, bool integer, Control& control, std::string& problem) {
  const auto words = Mf6Words(file.lines[line].text);
  control.source = words.empty() ? std::string() : UpperCase(words[0]);
  const auto number = [&](std::size_t n, double& value) {
    const auto parsed = n < words.size() ? ParseNumber(words[n]) : std::nullopt;
    if (!parsed || (integer && *parsed != std::floor(*parsed))) {
      problem = Mf6LineProblem(file, line, std::string("a ") + (integer ? "whole number" : "number") +
                                               " is missing after " + UpperCase(words[n - 1]) + ".");
      return false;
    }
    value = *parsed;
    return true;
  };
  std::size_t options = 1;
  if (control.source == "CONSTANT") return number(1, control.constant);
  if (control.source == "OPEN/CLOSE") {
    if (words.size() < 2) {
      problem = Mf6LineProblem(file, line, "OPEN/CLOSE names no file.");
      return false;
    }
    control.fileName = Mf6Path(FolderOf(file.path), words[1]);
    options = 2;
  } else if (control.source != "INTERNAL") {
    problem = Mf6LineProblem(file, line, "CONSTANT, INTERNAL or OPEN/CLOSE expected, not \"" + file.lines[line].text + "\".");
    return false;
  }
  for (std::size_t n = options; n < words.size(); ++n) {
    const std::string option = UpperCase(words[n]);
    if (option == "FACTOR" && !number(++n, control.factor)) return false;
    if (option == "(BINARY)") control.binary = true;
    if (option == "IPRN") ++n;  // the print code only changes the listing
  }
  return true;
}

// Values following the control line, word by word over as many lines as they take.
bool ReadInternal(const Mf6InputFile& file, const Mf6Block& block, std::size_t& line, std::size_t count,
                  std::vector<double>& values, std::string& problem) {
  values.clear();
  values.reserve(count);
  while (values.size() < count) {
    if (line >= block.end) {
      problem = Mf6LineProblem(file, line, "the block ends before all" + NumberText(static_cast<std::int64_t>(count)) + " values of the array are read.");
      return false;
    }
    for (const std::string& word : Mf6Words(file.lines[line].text)) {
      const auto value = ParseNumber(word);
      if (!value || values.size() == count) {
        problem = Mf6LineProblem(file, line, "\"" + word + "\" is not a value of the array.");
        return false;
      }
      values.push_back(*value);
    }
    ++line;
  }
  return true;
}

bool ReadTextValues(const std::string& path, std::size_t count, std::vector<double>& values, std::string& problem) {
  std::optional<TextReader> reader;
  if (!TextReader::FromFile(path, reader)) {
    problem = "the array file " + path + " is missing or cannot be read.";
    return false;
  }
  values.assign(count, 0.0);
  for (std::size_t n = 0; n < count; ++n) {
    if (!reader->NextNumber(values[n])) {
      problem = "the array file " + path + " holds fewer than" + NumberText(static_cast<std::int64_t>(count)) + " numbers.";
      return false;
    }
  }
  return true;
}

bool ReadBinaryValues(const std::string& path, std::size_t count, bool integer, std::vector<double>& values,
                      std::string& problem) {
  BinaryFile binary;
  const std::int64_t valueBytes = integer ? 4 : 8;
  const auto bytes = static_cast<std::int64_t>(count) * valueBytes;
  if (!binary.Open(path)) {
    problem = "the binary array file " + path + " is missing or cannot be read.";
    return false;
  }
  std::vector<std::byte> data(static_cast<std::size_t>(bytes));
  if (!binary.Holds(kBinaryHeaderBytes, bytes) || !binary.ReadAt(kBinaryHeaderBytes, data)) {
    problem = "the binary array file " + path + " is shorter than its header and" + NumberText(static_cast<std::int64_t>(count)) + " values.";
    return false;
  }
  values.resize(count);
  for (std::size_t n = 0; n < count; ++n)
    values[n] = integer ? Int32At(data.data() + n * 4) : RealAt(data.data() + n * 8, 8);
  return true;
}

}  // namespace

bool ReadMf6ArrayControl(const Mf6InputFile& file, const Mf6Block& block, std::size_t& line, std::size_t count,
                         bool integer, std::vector<double>& values, std::string& problem) {
  if (line >= block.end) {
    problem = Mf6LineProblem(file, line, "the block ends where an array control line is expected.");
    return false;
  }
  Control control;
  if (!ParseControl(file, line, integer, control, problem)) return false;
  ++line;
  if (control.source == "CONSTANT") {
    values.assign(count, control.constant);
    return true;
  }
  const bool read = control.source == "INTERNAL" ? ReadInternal(file, block, line, count, values, problem)
                    : control.binary            ? ReadBinaryValues(control.fileName, count, integer, values, problem)
                                                : ReadTextValues(control.fileName, count, values, problem);
  if (!read) return false;
  for (double& value : values) value *= control.factor;
  return true;
}

bool ReadMf6Array(const Mf6InputFile& file, const Mf6Block& block, std::size_t& line, const Mf6ArrayShape& shape,
                  std::vector<double>& values, std::string& problem) {
  const auto words = Mf6Words(file.lines[line].text);
  const bool layered = words.size() > 1 && UpperCase(words[1]) == "LAYERED";
  ++line;
  if (!layered)
    return ReadMf6ArrayControl(file, block, line, shape.layerCells * static_cast<std::size_t>(shape.layers),
                               shape.integer, values, problem);
  std::vector<double> all;
  std::vector<double> layer;
  all.reserve(shape.layerCells * static_cast<std::size_t>(shape.layers));
  for (int k = 1; k <= shape.layers; ++k) {
    if (!ReadMf6ArrayControl(file, block, line, shape.layerCells, shape.integer, layer, problem)) return false;
    all.insert(all.end(), layer.begin(), layer.end());
  }
  values = std::move(all);
  return true;
}

}  // namespace kestra
