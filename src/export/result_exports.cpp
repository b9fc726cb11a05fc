#include "export/result_exports.h"

#include <cmath>
#include <functional>
#include <sstream>

#include "core/atomic_file.h"
#include "core/number_format.h"

namespace kestra {
namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr int kValuesPerLine = 10;
constexpr std::size_t kColumnCountField = 14;
// Heads at or above this mark a cell without a computed result.
constexpr float kHeadLimit = 1.0E+25f;
// 999.99 keeps its exact text; formatting the float would give 9.9998999E+02.
constexpr float kMarkedHead = 999.99f;
constexpr const char* kMarkedHeadText = " 9.9999000E+02 ";

// The velocity block captions, as the file has always carried them.
constexpr const char* kJCaption = "Velocity component in the J-direction";
constexpr const char* kICaption = "Velocity components in I-direction";
constexpr const char* kKCaption = "Velocity components in K-direction";

using CellText = std::function<std::string(int column, int row)>;

void WriteArray(std::ostream& out, const ModelState& model, const CellText& text) {
  out << ExportHeaderLine(model.NCOL, model.NROW);
  for (int row = 1; row <= model.NROW; ++row) {
    for (int column = 1; column <= model.NCOL; ++column) {
      out << text(column, row);
      if (column % kValuesPerLine == 0 || column == model.NCOL) out << kLineEnd;
    }
  }
}

std::string ResultText(float value) { return value == kMarkedHead ? kMarkedHeadText : ExportValueText(value); }

bool HasNoResult(float head, const NoResultHeads& marks) {
  return head == marks.HNOFLO || head == marks.HDRY || head >= kHeadLimit;
}

void WriteVelocity(std::ostream& out, const ModelState& model, int layer, const NoResultHeads& marks) {
  WriteArray(out, model, [&](int c, int r) {
    if (HasNoResult(model.HEAD(c, r, layer), marks)) return ExportValueText(kNoVelocity);
    const double vx = model.VX(c, r, layer), vy = model.VY(c, r, layer), vz = model.VZ(c, r, layer);
    return ExportValueText(std::sqrt(vx * vx + vy * vy + vz * vz));
  });
  const auto component = [&](const CellArray<float>& values) {
    return [&](int c, int r) {
      return ExportValueText(model.IBOUND(c, r, layer) > 0 ? values(c, r, layer) : kNoVelocity);
    };
  };
  out << kJCaption << kLineEnd;
  WriteArray(out, model, component(model.VX));
  out << kICaption << kLineEnd;
  WriteArray(out, model, component(model.VY));
  out << kKCaption << kLineEnd;
  WriteArray(out, model, component(model.VZ));
}

}  // namespace

std::string ExportHeaderLine(int ncol, int nrow) {
  std::string columns = NumberText(ncol) + " ";
  if (columns.size() < kColumnCountField) columns.resize(kColumnCountField, ' ');
  return columns + NumberText(nrow) + " " + kLineEnd;
}

void WriteResultExport(std::ostream& out, const ModelState& model, int layer, ResultExport kind,
                       const NoResultHeads& marks) {
  switch (kind) {
    case ResultExport::Heads:
      WriteArray(out, model, [&](int c, int r) { return ResultText(model.HEAD(c, r, layer)); });
      break;
    case ResultExport::Drawdowns:
      WriteArray(out, model, [&](int c, int r) { return ResultText(model.DRAWDOWN(c, r, layer)); });
      break;
    case ResultExport::Velocity:
      WriteVelocity(out, model, layer, marks);
      break;
  }
}

bool SaveResultExport(const std::string& path, const ModelState& model, int layer, ResultExport kind,
                      const NoResultHeads& marks, std::string& error) {
  std::ostringstream text;
  WriteResultExport(text, model, layer, kind, marks);
  return WriteFileAtomically(path, text.str(), error);
}

}  // namespace kestra
