// Heads, drawdowns and velocities of one layer written as plain text arrays:
// a header line with the column and row counts, then the values of every
// row in 15-character fields, ten to a line, lines ending in CR LF.
#pragma once

#include <ostream>
#include <string>

#include "core/model_state.h"

namespace kestra {

enum class ResultExport { Heads, Drawdowns, Velocity };

// The value written where a cell carries no velocity.
inline constexpr float kNoVelocity = 1.0E+30f;

// Head values that mark cells without a valid result (from the settings).
struct NoResultHeads {
  float HNOFLO = 0;
  float HDRY = 0;
};

// The header line: NCOL in a field of 14 characters, then NROW.
std::string ExportHeaderLine(int ncol, int nrow);

// Writes the layer's heads, drawdowns or the four velocity blocks.
void WriteResultExport(std::ostream& out, const ModelState& model, int layer, ResultExport kind,
                       const NoResultHeads& marks);

// Writes the export to `path`, creating or replacing the file. False, with
// the reason in `error`, when the file cannot be opened or written; what was
// written so far stays in the file.
bool SaveResultExport(const std::string& path, const ModelState& model, int layer, ResultExport kind,
                      const NoResultHeads& marks, std::string& error);

}  // namespace kestra
