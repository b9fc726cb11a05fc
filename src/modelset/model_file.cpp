#include "modelset/model_file.h"

#include <optional>

#include "core/grid_size.h"
#include "core/text_reader.h"

namespace kestra {
namespace {

constexpr const char* kModelIncomplete = "The flow model should be complete before running KESTRA";
constexpr int kDataFlagsRead = 12;  // the model file fills DataFlags(0..11, 0..11)
constexpr std::size_t kTitleLength = 132;

void ComplainError(UserInterface& ui, const std::string& text) { Complain(ui, text, MessageIcon::Exclamation, kErrorTitle); }

void SkipNumbers(TextReader& reader, int count) {
  double ignored = 0;
  for (int n = 0; n < count; ++n) reader.NextNumber(ignored);
}

}  // namespace

bool ReadModelFile(const std::string& path, ModelFileValues& values, UserInterface& ui) {
  std::optional<TextReader> reader;
  if (!TextReader::FromFile(path, reader)) {
    ComplainError(ui, "The file " + path + " could not be read.");
    return false;
  }
  ModelFileValues read = values;
  reader->NextLine();
  SkipNumbers(*reader, 4);
  reader->NextInt(read.NCOL);
  reader->NextInt(read.NROW);
  reader->NextInt(read.NLAY);
  SkipNumbers(*reader, 3);  // not used by this system
  for (int x = 0; x < kDataFlagsRead; ++x)
    for (int y = 0; y < kDataFlagsRead; ++y) reader->NextInt16(read.DataFlags(x, y));
  read.title = reader->NextLine().value_or(read.title).substr(0, kTitleLength);
  if (read.DataFlags(0, 5) != 1) {
    ComplainError(ui, kModelIncomplete);
    return false;
  }
  if (!AcceptGridSize(path, read.NCOL, read.NROW, read.NLAY, ui)) return false;
  values = read;
  return true;
}

void ReadPositionFile(const std::string& path, ModelOrigin& origin) {
  std::optional<TextReader> reader;
  if (!TextReader::FromFile(path, reader)) return;
  float angle = origin.angle;
  std::int16_t flag = origin.isSet ? -1 : 0;
  reader->NextNumber(origin.X0);
  reader->NextNumber(origin.Y0);
  reader->NextNumber(angle);
  reader->NextInt16(flag);
  SetOriginAngle(origin, angle);
  origin.isSet = flag != 0;
}

}  // namespace kestra
