// Reads a DXF file with a real DXF reader (ezdxf through Debian's Python),
// for the tests that must show plots open in CAD programs.
#pragma once

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kestra::test {

// One entity as the reader saw it: its type and its points in file order.
struct ReadEntity {
  std::string type;
  std::vector<float> coordinates;  // x, y pairs
};

struct DxfReadResult {
  bool readerAvailable = false;
  bool accepted = false;
  std::vector<ReadEntity> entities;
};

inline constexpr const char* kDxfReaderScript = R"(import sys
try:
    import ezdxf
except ImportError:
    sys.exit(3)
try:
    doc = ezdxf.readfile(sys.argv[1])
except Exception as error:
    print(error)
    sys.exit(4)
for e in doc.modelspace():
    t = e.dxftype()
    if t == 'LINE':
        pts = [e.dxf.start, e.dxf.end]
    elif t == 'SOLID':
        pts = [e.dxf.vtx0, e.dxf.vtx1, e.dxf.vtx2, e.dxf.vtx3]
    elif t == 'CIRCLE':
        pts = [e.dxf.center]
    elif t == 'POLYLINE':
        pts = list(e.points())
    else:
        pts = []
    print(t, ' '.join('%r %r' % (p[0], p[1]) for p in pts))
)";

inline DxfReadResult ReadDxfWithRealReader(const std::string& dxfPath) {
  DxfReadResult result;
  if (!std::filesystem::exists("/usr/bin/python3")) return result;
  TempDir dir;
  const std::string script = dir.File("read_dxf.py");
  WriteWholeFile(script, kDxfReaderScript);
  const std::string command = "/usr/bin/python3 '" + script + "' '" + dxfPath + "'";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  std::string output;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = pclose(pipe);
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.readerAvailable = code != 3;
  result.accepted = code == 0;
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    ReadEntity entity;
    fields >> entity.type;
    float value;
    while (fields >> value) entity.coordinates.push_back(value);
    result.entities.push_back(entity);
  }
  return result;
}

}  // namespace kestra::test
