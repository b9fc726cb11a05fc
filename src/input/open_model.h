// Opening a model file set (the model file ".mdl" and the files named after
// it) and importing a MODFLOW model from its name file.
#pragma once

#include <string>

#include "core/user_interface.h"
#include "input/open_observer.h"
#include "input/session.h"

namespace kestra {

// Reads the model file `path` and its files into `session` and loads the
// results of the first time step. False when busy (a beep), when the file is
// missing, incomplete or its grid, boundary, elevations or porosity cannot be
// read: the model loaded before then stays exactly as it was.
bool OpenModelFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views);

// The same for a MODFLOW model described by the name file `path`; its
// settings file is the name file path without its extension + ".ini".
bool ImportNameFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views);

}  // namespace kestra
