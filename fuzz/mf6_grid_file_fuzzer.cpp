// MODFLOW 6 binary grid files (<model>.dis.grb): header, definition lines
// and every array they define.
#include "fuzz_support.h"
#include "mf6/readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kestra;
  const std::string path = fuzz::WriteInput("model.dis.grb", data, size);
  Mf6Grid grid;
  CellConnections connections;
  PagedVector<int> cellTypes;
  std::string problem;
  ReadGridFile(path, grid, connections, cellTypes, problem);
  return 0;
}
