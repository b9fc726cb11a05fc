// What every use of GDAL in the exports needs: its drivers registered once,
// its errors kept off the terminal and read into our messages, datasets
// closed when they go out of scope.
#pragma once

#include <gdal_priv.h>

#include <memory>
#include <string>

namespace kestra {

void RegisterGdalDrivers();

// While one lives, GDAL reports its errors to us through CPLGetLastErrorMsg.
class QuietGdalErrors {
 public:
  QuietGdalErrors();
  ~QuietGdalErrors();
  QuietGdalErrors(const QuietGdalErrors&) = delete;
  QuietGdalErrors& operator=(const QuietGdalErrors&) = delete;
};

// `what` with GDAL's last error message after it, when there is one.
std::string GdalReason(const std::string& what);

struct GdalDatasetCloser {
  void operator()(GDALDataset* dataset) const { GDALClose(dataset); }
};
using GdalDataset = std::unique_ptr<GDALDataset, GdalDatasetCloser>;

}  // namespace kestra
