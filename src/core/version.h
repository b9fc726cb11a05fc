// The program's version and the commit it was built from.
#pragma once

#include <string>

namespace kestra {

// "0.1.0".
const char* ProgramVersion();

// The abbreviated git commit the build was configured from, with "-dirty"
// when the work tree had changes then; "unknown" outside a git checkout.
const char* BuildCommit();

// "`program` 0.1.0 (commit 1a2b3c4d5e6f)": the first line of --version.
std::string VersionLine(const std::string& program);

}  // namespace kestra
