// The files a batch command writes: only regular files or new names, and
// never a file the open model reads.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "session/output_guard.h"
#include "session/session.h"

namespace kestra::cli {

// "-" and "/dev/stdout": the output goes to standard output, unreplaced.
bool IsStandardOutput(const std::string& path);

// `text` into the file `path`, replacing it whole (core/atomic_file.h), or
// onto `out` for standard output; false, with the reason in `error`, when it
// could not be written.
bool WriteOutputText(const std::string& path, const std::string& text, std::ostream& out, std::string& error);

// Why `path` may not be written (ModelOutputProblem); standard output may.
std::string OutputPathProblem(const std::string& path, const Session& session);

// The first problem of the non-empty paths of `paths`; empty when none has one.
std::string OutputPathsProblem(const std::vector<std::string>& paths, const Session& session);

}  // namespace kestra::cli
