#include "export/gdal_support.h"

#include <cpl_error.h>

#include <mutex>

namespace kestra {

void RegisterGdalDrivers() {
  static std::once_flag once;
  std::call_once(once, [] { GDALAllRegister(); });
}

QuietGdalErrors::QuietGdalErrors() {
  CPLPushErrorHandler(CPLQuietErrorHandler);
  CPLErrorReset();
}

QuietGdalErrors::~QuietGdalErrors() { CPLPopErrorHandler(); }

std::string GdalReason(const std::string& what) {
  const std::string reason = CPLGetLastErrorMsg();
  return reason.empty() ? what : what + ": " + reason;
}

}  // namespace kestra
