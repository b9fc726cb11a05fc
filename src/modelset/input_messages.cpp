#include "modelset/input_messages.h"

namespace kestra {

void ComplainFileMissing(UserInterface& ui, const std::string& path, const std::string& title) {
  Complain(ui, "The file " + path + " dose not exist!", MessageIcon::Exclamation, title);
}

}  // namespace kestra
