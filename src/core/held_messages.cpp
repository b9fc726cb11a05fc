#include "core/held_messages.h"

namespace kestra {

void HeldMessages::ShowHeld() {
  for (const Message& message : held_) ui_.ShowMessage(message.text, message.icon, message.title);
  held_.clear();
}

std::string HeldMessages::HeldText() const {
  std::string text;
  for (const Message& message : held_) text += (text.empty() ? "" : "\n\n") + message.text;
  return text;
}

}  // namespace kestra
