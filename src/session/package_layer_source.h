// Where the views get the boundary-package data of the open model: from its
// model family.
#pragma once

#include "graphics/package_layers.h"
#include "session/session.h"

namespace kestra {

// A reader of one layer of the wells, drains, rivers, general-head cells,
// streams, barriers and reservoir arrays of the session's model for a stress
// period. It shares the model's family, so it outlives the session; it
// reads silently and says false for data the model does not have
// (the views then skip that group). Opening another model needs a new reader.
PackageLayerReader MakePackageLayerReader(const Session& session);

}  // namespace kestra
