// The user guide, an HTML page shipped with the program.
#pragma once

#include <QDialog>

namespace kestra::app {

class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);
  // False when the guide could not be found beside the program.
  bool HasGuide() const { return hasGuide_; }

 private:
  bool hasGuide_ = false;
};

}  // namespace kestra::app
