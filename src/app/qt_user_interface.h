// The engine's user interface on the desktop: message boxes, the system
// beep, the busy pointer, the meter, the hint line and the status panes.
#pragma once

#include <QPointer>

#include "core/user_interface.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace kestra::app {

class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(QWidget* window) : window_(window) {}

  void Beep() override;
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
  bool AskYesNo(const std::string& text, const std::string& title) override;
  void SetHourglass(bool on) override;
  void SetMeter(int percent) override;
  void SetHint(const std::string& text) override;
  void SetWindowTitle(const std::string& title) override;
  void SetStatusPane(int pane, const std::string& text) override;
  void ProcessEvents() override;
  // Lets pending events run; true when Esc was among the keys pressed
  // meanwhile (any other key only beeps while a drawing runs).
  bool EscapePressed() override;

  // The widgets that show the meter, the hint and the panes, once the window has them.
  void AttachStatus(QProgressBar* meter, QLabel* hint, std::vector<QLabel*> panes);
  // Beeps sounded so far: what a refused click leaves behind.
  int BeepCount() const { return beeps_; }

 private:
  QPointer<QWidget> window_;
  QPointer<QProgressBar> meter_;
  QPointer<QLabel> hint_;
  std::vector<QPointer<QLabel>> panes_;
  int hourglassDepth_ = 0;
  int beeps_ = 0;
};

}  // namespace kestra::app
