// Opening a model in a batch command: as the application opens or imports
// it, without views, keeping the messages for the command's report.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/user_interface.h"
#include "session/session.h"
#include "settings/open_choices.h"

namespace kestra::cli {

// A message of the engine as one line of text: its title only where it says
// more than the program's name or "Error", line breaks and carriage returns
// as blanks.
std::string MessageLine(const std::string& title, const std::string& text);

// Keeps every message instead of showing it, as one line each.
class CollectingInterface : public UserInterface {
 public:
  void Beep() override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string& title) override {
    messages.push_back(MessageLine(title, text));
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  std::vector<std::string> messages;
};

// Prints every message as it comes, as a line "kestra-cli COMMAND: message".
class PrintingInterface : public UserInterface {
 public:
  PrintingInterface(std::ostream& err, std::string command) : err_(err), command_(std::move(command)) {}
  void Beep() override {}
  void ShowMessage(const std::string& text, MessageIcon, const std::string& title) override {
    err_ << "kestra-cli " << command_ << ": " << MessageLine(title, text) << "\n";
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }

 private:
  std::ostream& err_;
  std::string command_;
};

// Opens a model file (".mdl") or imports any other path as a name file into
// `session` as the choices say; false when the model could not be loaded
// (the reason is in `ui`).
bool OpenBatchModel(const std::string& path, Session& session, UserInterface& ui, const OpenChoices& choices = {});


}  // namespace kestra::cli
