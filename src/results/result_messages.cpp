#include "results/result_messages.h"

#include "core/number_format.h"

namespace kestra {

std::string ResultKindWord(ResultKind kind) { return kind == ResultKind::Heads ? "Head" : "Drawdown"; }

std::string ResultFileWord(ResultKind kind) { return kind == ResultKind::Heads ? "head" : "drawdown"; }

void ResultMessages::DataProblem(const std::string& text) const {
  if (show) Complain(ui, text, MessageIcon::Exclamation);
}

void ResultMessages::MissingFile(const std::string& text) const {
  if (show) Complain(ui, text, MessageIcon::Error);
}

std::string LoadFileMissingText(ResultKind kind, const std::string& path) {
  return "Could not find the " + ResultFileWord(kind) + " file: " + path;
}

std::string LayerFileMissingText(ResultKind kind, const std::string& path) {
  return "Could not find the " + ResultKindWord(kind) + " file " + path;
}

std::string FlowTermsFileMissingText(const std::string& path) {
  return std::string("Could not find the ") + kBudgetFileWord + " file: " + path;
}

std::string BudgetFileMissingText(const std::string& path) {
  return std::string("Could not find the ") + kBudgetFileWord + " file " + path;
}

std::string IncompatibleFormatText(const std::string& fileWord, const std::string& path) {
  return "The format of the " + fileWord + " file " + path +
         " is not compatible to the Lahey-Fortran compiler or the MS-FORTRAN PowerStation";
}

std::string UndecidedPrecisionText(const std::string& fileWord, const std::string& path) {
  return "The " + fileWord + " file " + path +
         " cannot be read: its first records fit neither 4-byte nor 8-byte reals. The file may be damaged or cut short.";
}

std::string DimensionMismatchText(const std::string& fileWord) {
  return "Model dimensions specified in the " + fileWord + " file mismatch";
}

std::string HeaderUnreadableText(const std::string& fileWord) {
  return "Could not read the header of the " + fileWord + " file";
}

std::string LayerNotFoundText(ResultKind kind, int layer, int kstp, int kper) {
  return "Could not find " + ResultKindWord(kind) + " " + "data in layer" + NumberText(layer) + " of time step" +
         NumberText(kstp) + ", stress period" + NumberText(kper);
}

namespace {

std::string DamagedRecordAt(std::int64_t offset) {
  return ": the record at byte" + NumberText(offset + 1) + " is cut short or damaged";
}

}  // namespace

std::string LayerDataUnreadableText(ResultKind kind, const std::string& path, std::int64_t layer, int kstp, int kper,
                                    std::int64_t offset) {
  return "Could not read the " + ResultFileWord(kind) + " data of layer" + NumberText(layer) + " (time step" +
         NumberText(kstp) + ", stress period" + NumberText(kper) + ") from the " + ResultFileWord(kind) + " file " +
         path + DamagedRecordAt(offset);
}

std::string LayerHeaderUnreadableText(ResultKind kind, const std::string& path, std::int64_t offset) {
  return "Could not read the header of a record of the " + ResultFileWord(kind) + " file " + path +
         DamagedRecordAt(offset);
}

std::string BudgetDataNotFoundText(int kstp, int kper) {
  return "Could not find the budget data of time step" + NumberText(kstp) + ", stress period" + NumberText(kper);
}

std::string BudgetTermUnreadableText(const std::string& label) {
  return "Could not read the cell-by-cell flow " + label + " from the budget file";
}

namespace {

std::string NonFiniteValueText(const std::string& fileWord, const std::string& path, const std::string& record,
                               int kstp, int kper, CellPlace cell) {
  return "The " + fileWord + " file " + path + " holds a value that is not a finite number in " + record +
         " of time step" + NumberText(kstp) + ", stress period" + NumberText(kper) + " (column" +
         NumberText(cell.column) + ", row" + NumberText(cell.row) + ", layer" + NumberText(cell.layer) +
         "). The results of this time step are not used.";
}

}  // namespace

std::string NonFiniteLayerValueText(ResultKind kind, const std::string& path, int kstp, int kper, CellPlace cell) {
  return NonFiniteValueText(ResultFileWord(kind), path, "the " + ResultFileWord(kind) + " record of layer" +
                                                          NumberText(cell.layer),
                            kstp, kper, cell);
}

std::string NonFiniteBudgetValueText(const std::string& path, const std::string& label, int kstp, int kper,
                                     CellPlace cell) {
  return NonFiniteValueText(kBudgetFileWord, path, "the term " + label, kstp, kper, cell);
}

std::string ConnectionCountText(const std::string& path, std::int64_t found, std::int64_t expected) {
  return "The term FLOW-JA-FACE of the budget file " + path + " holds" + NumberText(found) +
         " flows, but the model's grid has" + NumberText(expected) + " connections";
}

}  // namespace kestra
