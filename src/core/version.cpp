#include "core/version.h"

namespace kestra {

const char* ProgramVersion() { return KESTRA_VERSION; }

const char* BuildCommit() { return KESTRA_COMMIT; }

std::string VersionLine(const std::string& program) {
  return program + " " + ProgramVersion() + " (commit " + BuildCommit() + ")";
}

}  // namespace kestra
