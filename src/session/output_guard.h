// The files a command may write for the open model: regular files or new
// names, and never a file the model reads.
#pragma once

#include <string>

#include "session/session.h"

namespace kestra {

// Why `path` may not be written for the model of `session`: an existing
// path that is no regular file (a directory, a device, a FIFO; a link is
// followed), or one that names a file of the model's input (its own file,
// packages, result files) or its settings file. Empty when it may.
std::string ModelOutputProblem(const std::string& path, const Session& session);

}  // namespace kestra
