// The dialog "Save Plot As": the plot format, the file, whether the
// cross-sections go into the plot and the size of a figure.
#pragma once

#include <QDialog>
#include <string>

#include "core/user_interface.h"
#include "export/figure_page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace kestra::app {

struct SavePlotChoice {
  std::string format;  // one of kPlotFormatList
  std::string fileName;
  bool includeLower = true;
  bool includeRight = true;
  // PNG, SVG and PDF figures: pixels and resolution (the page of SVG and PDF).
  FigurePage page{1600, 1200, 150};
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
  void EnableFigureSize();
  std::string Format() const;

  SavePlotChoice choice_;
  const std::string modelPath_;
  const bool sectionsShown_;
  UserInterface& ui_;
  QComboBox* format_ = nullptr;
  QLineEdit* file_ = nullptr;
  QCheckBox* includeLower_ = nullptr;
  QCheckBox* includeRight_ = nullptr;
  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  QSpinBox* dpi_ = nullptr;
};

}  // namespace kestra::app
