// A user interface that holds back the message boxes of some work, so that
// the caller can either show them as they came or fold them into one
// question; everything else goes straight through.
#pragma once

#include <string>
#include <vector>

#include "core/user_interface.h"

namespace kestra {

class HeldMessages : public UserInterface {
 public:
  explicit HeldMessages(UserInterface& ui) : ui_(ui) {}

  void Beep() override { ui_.Beep(); }
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
    held_.push_back({text, icon, title});
  }
  bool AskYesNo(const std::string& text, const std::string& title) override { return ui_.AskYesNo(text, title); }
  void SetHourglass(bool on) override { ui_.SetHourglass(on); }
  void SetMeter(int percent) override { ui_.SetMeter(percent); }
  void SetHint(const std::string& text) override { ui_.SetHint(text); }
  void SetWindowTitle(const std::string& title) override { ui_.SetWindowTitle(title); }
  void SetStatusPane(int pane, const std::string& text) override { ui_.SetStatusPane(pane, text); }
  void ShowStatusPanes(bool show) override { ui_.ShowStatusPanes(show); }
  void ProcessEvents() override { ui_.ProcessEvents(); }
  bool EscapePressed() override { return ui_.EscapePressed(); }

  // The held messages shown in the order they came, and forgotten.
  void ShowHeld();
  // The texts of the held messages, one paragraph each.
  std::string HeldText() const;

 private:
  struct Message {
    std::string text;
    MessageIcon icon;
    std::string title;
  };
  UserInterface& ui_;
  std::vector<Message> held_;
};

}  // namespace kestra
