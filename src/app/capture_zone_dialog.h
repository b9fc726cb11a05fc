// The dialog "Capture Zone": the travel times of the zones of the chosen
// well or source, the particles on each face of its cells, and the raster
// the paths are marked on.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/user_interface.h"

class QLineEdit;
class QSpinBox;

namespace kestra::app {

// What the user typed, kept for the next well of the session.
struct CaptureZoneChoice {
  std::string times = "1y,5y,10y";
  int faceDivisions = 4;
  double pixel = 0;  // 0: a quarter of the narrowest column or row
  double gap = 0;    // 0: the narrowest column or row
};

class CaptureZoneDialog : public QDialog {
  Q_OBJECT

 public:
  // `start` says where the particles start ("Well 2,8,15, tracked backward
  // from its cells' faces."), `timeUnit` is the model's time unit code,
  // `narrowest` its narrowest column or row.
  CaptureZoneDialog(const std::string& start, const CaptureZoneChoice& choice, int timeUnit, double narrowest,
                    UserInterface& ui, QWidget* parent);

  const CaptureZoneChoice& Choice() const { return choice_; }
  // The travel times of the choice, in the model's time unit.
  const std::vector<double>& Times() const { return times_; }

 public slots:
  // OK: the times must be positive and increasing, the lengths positive;
  // the dialog stays open on the field at fault otherwise.
  void accept() override;

 private:
  CaptureZoneChoice choice_;
  std::vector<double> times_;
  int timeUnit_;
  UserInterface& ui_;
  QLineEdit* timesField_ = nullptr;
  QSpinBox* divisionsField_ = nullptr;
  QLineEdit* pixelField_ = nullptr;
  QLineEdit* gapField_ = nullptr;
};

}  // namespace kestra::app
