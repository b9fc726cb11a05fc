// The dialog "Export Results": what to export (a layer's heads, drawdowns,
// velocities, contours or cells, or the pathlines or end points of the runs),
// in which format, into which file.
#pragma once

#include <QDialog>
#include <string>

#include "core/user_interface.h"
#include "session/result_files.h"

class QComboBox;
class QLineEdit;

namespace kestra::app {

struct ExportResultsChoice {
  ExportKind kind = ExportKind::Pathlines;
  ExportFormat format = ExportFormat::GeoPackage;
  std::string fileName;
};

class ExportResultsDialog : public QDialog {
  Q_OBJECT

 public:
  ExportResultsDialog(const ExportResultsChoice& choice, UserInterface& ui, QWidget* parent);

  const ExportResultsChoice& Choice() const { return choice_; }

 public slots:
  // OK: asks before an existing file is replaced; the dialog stays open
  // without a file name.
  void accept() override;

 private:
  void FillFormats();
  void FollowFormat();
  void BrowseFile();
  ExportKind Kind() const;
  ExportFormat Format() const;

  ExportResultsChoice choice_;
  UserInterface& ui_;
  QComboBox* kind_ = nullptr;
  QComboBox* format_ = nullptr;
  QLineEdit* file_ = nullptr;
};

}  // namespace kestra::app
