// The files a batch command writes: only regular files or new names, and
// never a file the open model reads.
#pragma once

#include <string>
#include <vector>

#include "session/session.h"

namespace kestra::cli {

// Why `path` may not be written for the model of `session`: an existing
// path that is no regular file (a directory, a device, a FIFO; a link is
// followed), or one that names a file of the model's input (its own file,
// packages, result files) or its settings file. Empty when it may.
std::string OutputPathProblem(const std::string& path, const Session& session);

// The first problem of the non-empty paths of `paths`; empty when none has one.
std::string OutputPathsProblem(const std::vector<std::string>& paths, const Session& session);

}  // namespace kestra::cli
