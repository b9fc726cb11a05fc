// The messages of the result readers. Each text is built in one place; the
// readers show them through the caller's user interface only when asked to.
#pragma once

#include <cstdint>
#include <string>

#include "core/user_interface.h"

namespace kestra {

// The two kinds of layer results, numbered as the readers' callers number them.
enum class ResultKind { Heads = 1, Drawdowns = 2 };

// "Head" or "Drawdown".
std::string ResultKindWord(ResultKind kind);
// The lower-case file word of a message: "head", "drawdown" or "budget".
inline constexpr const char* kBudgetFileWord = "budget";
std::string ResultFileWord(ResultKind kind);

// Where a reader's messages go: nowhere when the caller runs it silently.
struct ResultMessages {
  UserInterface& ui;
  bool show;

  // A data problem: beep and a box with the exclamation icon.
  void DataProblem(const std::string& text) const;
  // A missing file: beep and a box with the error icon.
  void MissingFile(const std::string& text) const;
};

std::string LoadFileMissingText(ResultKind kind, const std::string& path);
std::string LayerFileMissingText(ResultKind kind, const std::string& path);
std::string FlowTermsFileMissingText(const std::string& path);
std::string BudgetFileMissingText(const std::string& path);
std::string IncompatibleFormatText(const std::string& fileWord, const std::string& path);
std::string UndecidedPrecisionText(const std::string& fileWord, const std::string& path);
std::string DimensionMismatchText(const std::string& fileWord);
std::string HeaderUnreadableText(const std::string& fileWord);
std::string LayerNotFoundText(ResultKind kind, int layer, int kstp, int kper);
// The damaged or cut record at `offset` (from the file's start) of a head
// or drawdown file: its layer, time step and place named.
std::string LayerDataUnreadableText(ResultKind kind, const std::string& path, std::int64_t layer, int kstp, int kper,
                                    std::int64_t offset);
std::string LayerHeaderUnreadableText(ResultKind kind, const std::string& path, std::int64_t offset);
std::string BudgetDataNotFoundText(int kstp, int kper);
std::string BudgetTermUnreadableText(const std::string& label);
// A FLOW-JA-FACE term whose connections are not those of the model's grid.
std::string ConnectionCountText(const std::string& path, std::int64_t found, std::int64_t expected);

// Where a value that is not a finite number (NaN or infinite) lies.
struct CellPlace {
  int column = 0;
  int row = 0;
  int layer = 0;
};
std::string NonFiniteLayerValueText(ResultKind kind, const std::string& path, int kstp, int kper, CellPlace cell);
std::string NonFiniteBudgetValueText(const std::string& path, const std::string& label, int kstp, int kper,
                                     CellPlace cell);

}  // namespace kestra
