// How the engine talks to the person at the screen. The desktop application
// implements it with real dialogs; the batch tool prints; tests record.
#pragma once

#include <string>

namespace kestra {

inline constexpr const char* kApplicationTitle = "KESTRA";
inline constexpr const char* kErrorTitle = "Error";

enum class MessageIcon { Exclamation, Error, Information, Question };

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  virtual void Beep() = 0;
  // A modal message box.
  virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) = 0;
  // A modal yes/no question; true for yes.
  virtual bool AskYesNo(const std::string& text, const std::string& title) = 0;

  // The busy (hourglass) pointer on or off.
  virtual void SetHourglass(bool on) { (void)on; }
  // The progress meter, 0..100.
  virtual void SetMeter(int percent) { (void)percent; }
  // The hint line beside the meter.
  virtual void SetHint(const std::string& text) { (void)text; }
  virtual void SetWindowTitle(const std::string& title) { (void)title; }
  // One of the status panes 0..7.
  virtual void SetStatusPane(int pane, const std::string& text) { (void)pane, (void)text; }
  // All eight status panes shown or hidden (hidden while the views are drawn).
  virtual void ShowStatusPanes(bool show) { (void)show; }
  // Lets pending window events run during a long loop.
  virtual void ProcessEvents() {}
  // True when the Esc key was pressed since the last call.
  virtual bool EscapePressed() { return false; }
};

// Beeps and shows the message: the way every refusal and data problem is reported.
void Complain(UserInterface& ui, const std::string& text, MessageIcon icon, const std::string& title = kApplicationTitle);

// Shows the busy pointer for the lifetime of the object.
class Hourglass {
 public:
  explicit Hourglass(UserInterface& ui) : ui_(ui) { ui_.SetHourglass(true); }
  ~Hourglass() { ui_.SetHourglass(false); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;

 private:
  UserInterface& ui_;
};

// An interface that says nothing: for silent reads and batch work without a person.
class SilentInterface : public UserInterface {
 public:
  void Beep() override {}
  void ShowMessage(const std::string&, MessageIcon, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

}  // namespace kestra
