#include "results/result_file_writer.h"

#include "core/byte_order.h"

namespace kestra {
namespace {

void AppendText(std::string& out, const std::string& text) {
  std::string field = text.substr(0, kTextBytes);
  field.resize(kTextBytes, ' ');
  out += field;
}

}  // namespace

ResultFileWriter::ResultFileWriter(std::ostream& out, ResultFileFormat format, int realBytes)
    : out_(out), layout_(LayoutOf(format)), realBytes_(realBytes) {
  out_ << layout_.FileStart();
}

void ResultFileWriter::WriteRecord(const std::string& bytes) {
  layout_.WriteRecord(out_, std::as_bytes(std::span(bytes.data(), bytes.size())));
}

void ResultFileWriter::WriteReals(std::span<const float> values) {
  std::string bytes;
  bytes.reserve(values.size() * static_cast<std::size_t>(realBytes_));
  for (const float value : values) AppendReal(bytes, value, realBytes_);
  WriteRecord(bytes);
}

void ResultFileWriter::WriteLayer(const LayerResultHeader& header, std::span<const float> values) {
  std::string bytes;
  AppendInt32(bytes, header.KSTP);
  AppendInt32(bytes, header.KPER);
  AppendReal(bytes, header.PERTIM, realBytes_);
  AppendReal(bytes, header.TOTIM, realBytes_);
  AppendText(bytes, header.TEXT);
  AppendInt32(bytes, header.NCOL);
  AppendInt32(bytes, header.NROW);
  AppendInt32(bytes, header.ILAY);
  WriteRecord(bytes);
  WriteReals(values);
}

void ResultFileWriter::WriteBudgetHeader(const BudgetHeader& header) {
  std::string bytes;
  AppendInt32(bytes, header.KSTP);
  AppendInt32(bytes, header.KPER);
  AppendText(bytes, header.TEXT);
  AppendInt32(bytes, header.NCOL);
  AppendInt32(bytes, header.NROW);
  AppendInt32(bytes, header.compact ? -header.NLAY : header.NLAY);
  WriteRecord(bytes);
  if (!header.compact) return;
  std::string compact;
  AppendInt32(compact, header.method);
  AppendReal(compact, header.DELT, realBytes_);
  AppendReal(compact, header.PERTIM, realBytes_);
  AppendReal(compact, header.TOTIM, realBytes_);
  WriteRecord(compact);
}

void ResultFileWriter::WriteBudgetArray(const BudgetHeader& header, std::span<const float> values) {
  WriteBudgetHeader(header);
  WriteReals(values);
}

void ResultFileWriter::WriteBudgetLayerIndicated(const BudgetHeader& header, std::span<const std::int32_t> layers,
                                                 std::span<const float> values) {
  WriteBudgetHeader(header);
  std::string layerBytes;
  for (const std::int32_t layer : layers) AppendInt32(layerBytes, layer);
  WriteRecord(layerBytes);
  WriteReals(values);
}

void ResultFileWriter::WriteBudgetList(const BudgetHeader& header, std::span<const std::string> auxiliaryNames,
                                       std::span<const BudgetListEntry> entries) {
  WriteBudgetHeader(header);
  std::string count;
  if (header.method == 5) {
    AppendInt32(count, static_cast<std::int32_t>(auxiliaryNames.size() + 1));
    WriteRecord(count);
    if (!auxiliaryNames.empty()) {
      std::string names;
      for (const std::string& name : auxiliaryNames) AppendText(names, name);
      WriteRecord(names);
    }
    count.clear();
  }
  AppendInt32(count, static_cast<std::int32_t>(entries.size()));
  WriteRecord(count);
  for (const BudgetListEntry& entry : entries) {
    std::string bytes;
    AppendInt32(bytes, entry.cell);
    AppendReal(bytes, entry.value, realBytes_);
    for (const float auxiliary : entry.auxiliary) AppendReal(bytes, auxiliary, realBytes_);
    WriteRecord(bytes);
  }
}

}  // namespace kestra
