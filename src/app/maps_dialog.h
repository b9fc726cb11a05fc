// The dialog "Maps Options": five DXF base maps, each with its draw switch,
// file, shift, scale factor and colour.
#pragma once

#include <QDialog>
#include <array>

#include "core/user_interface.h"
#include "settings/settings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kestra::app {

inline constexpr const char* kMapsHint = "Click the right mouse button on the DXF file fields to open files";

// "The file NAME dose not exist!"
std::string MissingMapMessage(const std::string& file);

class MapsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows entries 1..5 of `maps`; OK stores the rows back into them.
  MapsDialog(std::array<DxfMapEntry, kDxfMapCount + 1>& maps, UserInterface& ui, QWidget* parent);

  // The colour shown in the swatch of row 0..4.
  std::int32_t SwatchColour(int row) const { return colours_[row]; }

 public slots:
  // Refuses a ticked map whose file does not exist; otherwise stores every row.
  void accept() override;

 private:
  struct Row {
    QCheckBox* check = nullptr;
    QLineEdit* file = nullptr;
    QLineEdit* shiftX = nullptr;
    QLineEdit* shiftY = nullptr;
    QLineEdit* factor = nullptr;
    QPushButton* colour = nullptr;
  };

  void ChooseFile(int row);
  void ChooseColour(int row);
  void ShowColour(int row);

  std::array<DxfMapEntry, kDxfMapCount + 1>& maps_;
  UserInterface& ui_;
  std::array<Row, kDxfMapCount> rows_;
  std::array<std::int32_t, kDxfMapCount> colours_{};
  QPushButton* ok_ = nullptr;
};

}  // namespace kestra::app
