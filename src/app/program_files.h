// Files that ship with the program: looked up beside the executable first,
// then in the installed data folder.
#pragma once

#include <QString>

namespace kestra::app {

// Full path of the shipped file `name`, or an empty string when neither
// folder holds it.
QString ProgramFile(const QString& name);

}  // namespace kestra::app
