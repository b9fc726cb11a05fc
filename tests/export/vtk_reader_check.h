// Reads a VTK XML file (.vtu or .vtp) with VTK's own reader through Debian's
// Python (python3-vtk9), for the tests that must show our exports open in
// ParaView.
#pragma once

#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace kestra::test {

struct VtkReadResult {
  bool readerAvailable = false;
  bool accepted = false;
  std::string output;  // what the script printed, for failure messages
  // "points", "cells": counts; "coordinates": x, y, z of every point;
  // "cell_types", "cell_sizes", "cell_points": each cell's type, point
  // count and point ids; "volumes": each hexahedron's signed volume;
  // "cell:<name>", "point:<name>": an array's values, tuple by tuple.
  std::map<std::string, std::vector<double>> values;
  // "type:cell:<name>": an array's value type as VTK names it ("double",
  // "int"); "scalars:cell", "vectors:cell", "scalars:point": the active arrays.
  std::map<std::string, std::string> names;
};

inline constexpr const char* kVtkReaderScript = R"(import sys
try:
    from vtkmodules.vtkCommonCore import vtkIdList
    from vtkmodules.vtkIOXML import vtkXMLPolyDataReader, vtkXMLUnstructuredGridReader
    from vtkmodules.vtkFiltersVerdict import vtkMeshQuality
except ImportError:
    sys.exit(3)
path = sys.argv[1]
reader = vtkXMLPolyDataReader() if path.endswith('.vtp') else vtkXMLUnstructuredGridReader()
errors = []
reader.AddObserver('ErrorEvent', lambda caller, event: errors.append(event))
reader.SetFileName(path)
reader.Update()
if errors:
    sys.exit(4)
data = reader.GetOutput()
def show(key, values):
    print('value', key, ' '.join(repr(float(v)) for v in values))
show('points', [data.GetNumberOfPoints()])
show('cells', [data.GetNumberOfCells()])
points = data.GetPoints()
show('coordinates', [c for n in range(data.GetNumberOfPoints()) for c in points.GetPoint(n)] if points else [])
ids = vtkIdList()
sizes, members = [], []
for n in range(data.GetNumberOfCells()):
    data.GetCellPoints(n, ids)
    sizes.append(ids.GetNumberOfIds())
    members += [ids.GetId(m) for m in range(ids.GetNumberOfIds())]
show('cell_types', [data.GetCellType(n) for n in range(data.GetNumberOfCells())])
show('cell_sizes', sizes)
show('cell_points', members)
if not path.endswith('.vtp'):
    quality = vtkMeshQuality()
    quality.SetInputData(data)
    quality.SetHexQualityMeasureToVolume()
    quality.Update()
    volumes = quality.GetOutput().GetCellData().GetArray('Quality')
    show('volumes', [volumes.GetValue(n) for n in range(volumes.GetNumberOfTuples())] if volumes else [])
for where, fields in (('cell', data.GetCellData()), ('point', data.GetPointData())):
    for a in range(fields.GetNumberOfArrays()):
        array = fields.GetArray(a)
        key = where + ':' + array.GetName()
        show(key, [array.GetComponent(t, c) for t in range(array.GetNumberOfTuples())
                   for c in range(array.GetNumberOfComponents())])
        print('name', 'type:' + key, array.GetDataTypeAsString())
    for role, active in (('scalars', fields.GetScalars()), ('vectors', fields.GetVectors())):
        if active:
            print('name', role + ':' + where, active.GetName())
)";

inline VtkReadResult ReadVtkWithRealReader(const std::string& vtkPath) {
  VtkReadResult result;
  if (!std::filesystem::exists("/usr/bin/python3")) return result;
  TempDir dir;
  const std::string script = dir.File("read_vtk.py");
  WriteWholeFile(script, kVtkReaderScript);
  const std::string command = "/usr/bin/python3 '" + script + "' '" + vtkPath + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) result.output += buffer;
  const int status = pclose(pipe);
  // A file the reader cannot parse may crash it (VTK 9.1 on a bad number):
  // any end but a clean exit counts as refused.
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.readerAvailable = code != 3;
  result.accepted = code == 0;
  std::istringstream lines(result.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string kind, key;
    fields >> kind >> key;
    if (kind == "name") {
      fields >> result.names[key];
      continue;
    }
    if (kind != "value") continue;
    std::vector<double>& values = result.values[key];
    double value;
    while (fields >> value) values.push_back(value);
  }
  return result;
}

}  // namespace kestra::test
