// The pieces of VTK's XML file formats that the grid and pathline exports
// share: the file's opening and closing elements and the DataArray element,
// written as ASCII so that a reader (ParaView, Python) needs no byte order.
#pragma once

#include <cstdint>
#include <string>

namespace kestra {

// The value types of VTK data arrays that the exports write.
enum class VtkType { Float64, Int32, Int64, UInt8 };

// One DataArray element built value by value: the values go straight into
// its text, one tuple to a line, in the system's number forms.
class VtkDataArray {
 public:
  // An array of `components` values per tuple; an empty `name` gives an
  // element without a Name attribute (the points of a piece).
  VtkDataArray(VtkType type, std::string name, int components = 1);

  // A value computed in double precision: 15 significant digits.
  void AddDouble(double value);
  // A value held in 32-bit precision (heads, porosities as the model gave
  // them): the float's own digits, without the noise that widening adds.
  void AddFloat(float value);
  void AddInteger(std::int64_t value);

  // The whole element, each line starting with `indent`.
  std::string Element(const std::string& indent) const;

 private:
  void StartValue();

  VtkType type_;
  std::string name_;
  int components_;
  int inTuple_ = 0;  // values written of the tuple being written
  std::string values_;
};

// The XML declaration and the opening VTKFile element of a `dataType` file
// ("UnstructuredGrid", "PolyData") with its data-type element opened too.
std::string VtkFileStart(const std::string& dataType);
// The closing elements that match VtkFileStart(dataType).
std::string VtkFileEnd(const std::string& dataType);

}  // namespace kestra
