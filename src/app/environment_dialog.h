// The "Environment Options" dialog: the contour levels with their colours
// and labels, which result is contoured, the colours and visibility of the
// cell types, the cross-sections and the velocity vectors. The level table,
// the data source, the label format and the spectrum colours change as soon
// as the user acts; everything else only on a valid OK, which also writes
// the contour file and the settings file.
#pragma once

#include <QDialog>

#include "core/user_interface.h"
#include "session/session.h"
#include "settings/environment_entries.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace kestra::app {

class EnvironmentDialog : public QDialog {
  Q_OBJECT

 public:
  // The elevation range shown on the sections comes in and, after OK, goes out.
  EnvironmentDialog(Session& session, float minElevation, float maxElevation, UserInterface& ui, QWidget* parent);

  float MinElevation() const { return minElevation_; }
  float MaxElevation() const { return maxElevation_; }
  // A colour swatch (0..10 the cell types, 11 the vectors) as if chosen in the colour dialog.
  void SetSwatchColour(int index, std::int32_t colour);

 public slots:
  void accept() override;
  // Remembers the dialog's size and place for the next time it opens.
  void done(int result) override;
  // The parameter dialog of a column heading of the level grid.
  void OpenColumnDialog(int column);
  void SaveLevels();
  void LoadLevels();
  void RestoreDefaults();
  void OpenLabelFormat();

 private:
  QWidget* ContoursPage();
  QWidget* GridPage();
  QWidget* SectionsPage();
  QWidget* VectorsPage();
  QLineEdit* AddField(QWidget* page, const char* name, const QString& label, const std::string& text);
  QPushButton* AddSwatch(int index);
  void FillGrid();
  void LevelCellChanged(int row, int column);
  void ChooseSwatchColour(int index);
  void ChooseLevelColour(int row);
  void ShowRefusal(QLineEdit* field, const std::string& message);
  EnvironmentEntries Typed() const;

  Session& session_;
  UserInterface& ui_;
  EnvironmentEntries entries_;
  float minElevation_;
  float maxElevation_;
  bool filling_ = false;
  QTabWidget* pages_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QCheckBox* contoursVisible_ = nullptr;
  QCheckBox* labelUphill_ = nullptr;
  QButtonGroup* dataSource_ = nullptr;
  QCheckBox* shown_[kPlanElementCount] = {};
  QPushButton* swatches_[kPlanElementCount + 1] = {};
  std::int32_t swatchColours_[kPlanElementCount + 1] = {};
  QLineEdit *row_ = nullptr, *column_ = nullptr, *minElevationField_ = nullptr, *maxElevationField_ = nullptr,
            *exaggeration_ = nullptr, *vectorSize_ = nullptr;
  QCheckBox *sectionsVisible_ = nullptr, *sectionGrid_ = nullptr, *vectorsVisible_ = nullptr;
};

}  // namespace kestra::app
