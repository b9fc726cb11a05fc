// The dialog "Model Position": where the model lies on the earth (the
// world position of its lower-left corner, its rotation and coordinate
// reference system), kept in the model's settings file.
#pragma once

#include <QDialog>

#include "core/user_interface.h"
#include "core/world_position.h"
#include "settings/model_position.h"

class QLineEdit;

namespace kestra::app {

class ModelPositionDialog : public QDialog {
  Q_OBJECT

 public:
  // `position` is the model's position now, `unit` its length unit.
  ModelPositionDialog(const WorldPosition& position, LengthUnit unit, UserInterface& ui, QWidget* parent);

  // The position as confirmed with OK: every field set.
  const PositionChoice& Choice() const { return choice_; }

 public slots:
  // OK: the numbers must be finite and the system known; the dialog stays
  // open on the field at fault otherwise.
  void accept() override;

 private:
  QLineEdit* AddNumberField(const char* objectName, double value);

  PositionChoice choice_;
  UserInterface& ui_;
  QLineEdit* xOrigin_ = nullptr;
  QLineEdit* yOrigin_ = nullptr;
  QLineEdit* rotation_ = nullptr;
  QLineEdit* crs_ = nullptr;
};

}  // namespace kestra::app
