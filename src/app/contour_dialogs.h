// The small dialogs that collect the parameters of the contour level table:
// the level range, the label rule, the colour spectrum, one value for a
// whole column and the label format. Each stores its values only on a valid
// OK; Cancel leaves everything as it was.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "core/user_interface.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;

namespace kestra::app {

inline constexpr const char* kPositiveValueMessage = "Value must be > 0";
inline constexpr const char* kValidValueMessage = "Please enter a valid value";

// The OK and Cancel buttons (Command1 0 and 1) and the fields Text1 0, 1, ...
class ContourParameterDialog : public QDialog {
  Q_OBJECT

 public:
  ContourParameterDialog(const QString& caption, UserInterface& ui, QWidget* parent);

 protected:
  QLineEdit* AddField(const QString& label, const QString& text);
  // Shows the message with the stop icon (after a beep when `beep`) and
  // puts the focus back on the field.
  void Refuse(QLineEdit* field, const std::string& message, bool beep);
  void AddButtons();

  UserInterface& ui_;
  std::vector<QLineEdit*> fields_;
};

struct LevelRangeValues {
  float minimum = 0;
  float maximum = 0;
  float interval = 1;
};

class ContourLevelsDialog : public ContourParameterDialog {
  Q_OBJECT

 public:
  ContourLevelsDialog(const LevelRangeValues& initial, UserInterface& ui, QWidget* parent);
  const LevelRangeValues& Values() const { return values_; }

 public slots:
  void accept() override;

 private:
  LevelRangeValues values_;
};

class ContourLabelsDialog : public ContourParameterDialog {
  Q_OBJECT

 public:
  // `lastLevel` is ContourCount: both entries lie in 0..lastLevel.
  ContourLabelsDialog(int lastLevel, UserInterface& ui, QWidget* parent);
  int First() const { return first_; }
  int Frequency() const { return frequency_; }

 public slots:
  void accept() override;

 private:
  int lastLevel_;
  int first_ = 1;
  int frequency_ = 1;
};

class ContourColorsDialog : public ContourParameterDialog {
  Q_OBJECT

 public:
  ContourColorsDialog(std::int32_t minimum, std::int32_t maximum, UserInterface& ui, QWidget* parent);
  std::int32_t Minimum() const { return colours_[0]; }
  std::int32_t Maximum() const { return colours_[1]; }
  // The colour of button 0 or 1 as if chosen in the colour dialog.
  void SetButtonColour(int index, std::int32_t colour);

 private:
  void ChooseColour(int index);
  std::int32_t colours_[2];
  QPushButton* buttons_[2] = {};
};

class OneValueDialog : public ContourParameterDialog {
  Q_OBJECT

 public:
  OneValueDialog(const QString& caption, const QString& prompt, float initial, UserInterface& ui, QWidget* parent);
  float Value() const { return value_; }

 public slots:
  void accept() override;

 private:
  float value_;
};

struct LabelFormatValues {
  std::int16_t style = 1;  // 0 fixed, 1 exponential
  std::int16_t decimals = 2;
  std::string prefix;
  std::string suffix;
};

class LabelFormatDialog : public ContourParameterDialog {
  Q_OBJECT

 public:
  LabelFormatDialog(const LabelFormatValues& initial, UserInterface& ui, QWidget* parent);
  const LabelFormatValues& Values() const { return values_; }

 public slots:
  void accept() override;

 private:
  LabelFormatValues values_;
  QButtonGroup* style_ = nullptr;
};

}  // namespace kestra::app
