// The record layer of the unformatted result files. Each layout a Fortran
// compiler writes is one implementation of RecordLayout; the head and budget
// readers above it never know which one they read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>

#include "core/binary_file.h"

namespace kestra {

enum class ResultFileFormat {
  PowerStation,  // MS-FORTRAN PowerStation: first byte 75, blocks of up to 128 bytes
  Lahey,         // Lahey-Fortran: first byte 253, markers of 1 to 4 bytes
  Sequential,    // gfortran and Intel sequential files: 4-byte markers
  Stream,        // unformatted stream: no markers at all
};

// Where one record lies: offsets are 0-based file offsets.
struct RecordSpan {
  std::int64_t start = 0;      // first byte of the record, its marker if any
  std::int64_t dataStart = 0;  // first data byte (PowerStation: of the first block)
  std::int64_t length = 0;     // data bytes
  std::int64_t end = 0;        // one past the record's last byte
};

class RecordLayout {
 public:
  virtual ~RecordLayout() = default;

  virtual ResultFileFormat Format() const = 0;
  // Offset of the first record (the legacy layouts start with a signature byte).
  virtual std::int64_t FirstRecordOffset() const = 0;

  // Reads the header marker of the record at `start` that should hold
  // `length` data bytes (a layout without markers takes this on trust).
  // False when the record would reach past the end of the file or its marker
  // gives another length; `span` is then unspecified.
  virtual bool ReadRecordHeader(BinaryFile& file, std::int64_t start, std::int64_t length,
                                RecordSpan& span) const = 0;
  // Copies dest.size() data bytes from data byte `from` of the record. False
  // when they lie outside the record or an inner marker is damaged.
  virtual bool ReadRecordValues(BinaryFile& file, const RecordSpan& span, std::int64_t from,
                                std::span<std::byte> dest) const = 0;
  // Checks the record's closing marker without touching its data; the next
  // record starts at span.end. False for a damaged record.
  virtual bool SkipRecord(BinaryFile& file, const RecordSpan& span) const = 0;
  // Bytes a record of `length` data bytes takes in the file, markers included.
  virtual std::int64_t RecordSize(std::int64_t length) const = 0;

  // What a file of this layout starts with before its first record.
  virtual std::string FileStart() const = 0;
  // Appends one record holding `data` in this layout.
  virtual void WriteRecord(std::ostream& out, std::span<const std::byte> data) const = 0;
};

// The one layout object of each format (immutable, shared by every reader).
const RecordLayout& LayoutOf(ResultFileFormat format);

// "Lahey", "PowerStation", "sequential (4-byte markers)", "stream".
std::string FormatName(ResultFileFormat format);

// A layout whose data bytes lie in one piece between its markers.
class ContiguousRecordLayout : public RecordLayout {
 public:
  bool ReadRecordValues(BinaryFile& file, const RecordSpan& span, std::int64_t from,
                        std::span<std::byte> dest) const final;
};

}  // namespace kestra
