// Opening a model file set (the model file ".mdl" and the files named after
// it) and importing a MODFLOW model from its name file.
#pragma once

#include <string>

#include "core/user_interface.h"
#include "session/open_observer.h"
#include "session/session.h"
#include "settings/open_choices.h"

namespace kestra {

// Reads the model file `path` and its files into `session` and loads the
// results of the first time step; the layers the choices' porosity sets
// take it instead of the model's. False when busy (a beep), when the file is
// missing, incomplete or its grid, boundary, elevations or porosity cannot be
// read: the model loaded before then stays exactly as it was.
bool OpenModelFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                   const OpenChoices& choices = {});

// The same for a MODFLOW model described by the name file `path`: a standard
// MODFLOW-2005 name file (listing DIS and BAS6) or the pre-processor's (with
// its MAIN file). Its settings file is the name file path without its
// extension + ".ini"; for a MODFLOW-2005 model the layer porosities of that
// file apply first, those of the choices over them; of a MODFLOW 6
// simulation the choices' GWF model opens.
bool ImportNameFile(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                    const OpenChoices& choices = {});

// OpenModelFile for a path ending in ".mdl", ImportNameFile for any other.
bool OpenOrImportModel(const std::string& path, Session& session, UserInterface& ui, OpenObserver& views,
                       const OpenChoices& choices = {});

}  // namespace kestra
