// The dialog "Save Plot As": the plot format, the file and whether the
// cross-sections go into the plot.
#pragma once

#include <QDialog>
#include <string>

#include "core/user_interface.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kestra::app {

struct SavePlotChoice {
  std::string format;  // one of kPlotFormatList
  std::string fileName;
  bool includeLower = true;
  bool includeRight = true;
};

class SavePlotDialog : public QDialog {
  Q_OBJECT

 public:
  // `sectionsShown`: the cross-sections are on the main window.
  SavePlotDialog(const SavePlotChoice& choice, const std::string& modelPath, bool sectionsShown, UserInterface& ui,
                 QWidget* parent);

  // The choice as confirmed with OK.
  const SavePlotChoice& Choice() const { return choice_; }

 public slots:
  // OK: asks before an existing file is replaced and checks that the file
  // can be written; the dialog stays open when it cannot.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void save_format_Click(int index);
  void Save_file_MouseDown();
  void EnableIncludeBoxes();
  std::string Format() const;

  SavePlotChoice choice_;
  const std::string modelPath_;
  const bool sectionsShown_;
  UserInterface& ui_;
  QComboBox* format_ = nullptr;
  QLineEdit* file_ = nullptr;
  QCheckBox* includeLower_ = nullptr;
  QCheckBox* includeRight_ = nullptr;
};

}  // namespace kestra::app
