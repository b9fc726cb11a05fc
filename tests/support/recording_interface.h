// A user interface that records what the engine said, for tests.
#pragma once

#include <string>
#include <vector>

#include "core/user_interface.h"

namespace kestra::test {

struct RecordedMessage {
  std::string text;
  MessageIcon icon;
  std::string title;
};

class RecordingInterface : public UserInterface {
 public:
  void Beep() override { ++beeps; }
  void ShowMessage(const std::string& text, MessageIcon icon, const std::string& title) override {
    messages.push_back({text, icon, title});
  }
  bool AskYesNo(const std::string& text, const std::string&) override {
    questions.push_back(text);
    return answerYes;
  }
  void SetHourglass(bool on) override { hourglassOn = on; }
  void SetMeter(int percent) override { meterValues.push_back(percent); }
  void SetHint(const std::string& text) override { hint = text; }
  void SetWindowTitle(const std::string& text) override { windowTitle = text; }
  void SetStatusPane(int pane, const std::string& text) override {
    if (pane >= 0 && pane < 8) panes[pane] = text;
  }
  bool EscapePressed() override { return escapeAnswer; }

  // The text of the last message, or "" when none was shown.
  std::string LastMessage() const { return messages.empty() ? "" : messages.back().text; }

  int beeps = 0;
  std::vector<RecordedMessage> messages;
  std::vector<std::string> questions;
  bool answerYes = true;
  bool hourglassOn = false;
  std::vector<int> meterValues;
  std::string hint;
  std::string windowTitle;
  std::string panes[8];
  bool escapeAnswer = false;
};

}  // namespace kestra::test
