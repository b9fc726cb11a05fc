#include "core/user_interface.h"

namespace kestra {

void Complain(UserInterface& ui, const std::string& text, MessageIcon icon, const std::string& title) {
  ui.Beep();
  ui.ShowMessage(text, icon, title);
}

}  // namespace kestra
