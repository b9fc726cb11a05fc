// Writing a whole file so that a kill, a full disk or a failed write never
// leaves a partial file in place of the old one.
#pragma once

#include <string>
#include <string_view>

namespace kestra {

// Writes `contents` to a new file of a unique name beside `path` (beside
// the file a link at `path` points to), flushes it to the disk and renames
// it over the target. False with the system's reason in `error` when any
// step fails, or when the target exists and is no regular file (a device,
// a FIFO, a directory); the temporary file is then removed and the old
// file stays.
bool WriteFileAtomically(const std::string& path, std::string_view contents, std::string& error);

}  // namespace kestra
