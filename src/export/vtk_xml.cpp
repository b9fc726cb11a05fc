#include "export/vtk_xml.h"

#include <utility>

#include "core/number_format.h"

namespace kestra {
namespace {

const char* TypeName(VtkType type) {
  switch (type) {
    case VtkType::Float64: return "Float64";
    case VtkType::Int32: return "Int32";
    case VtkType::Int64: return "Int64";
    case VtkType::UInt8: return "UInt8";
  }
  return "";
}

}  // namespace

VtkDataArray::VtkDataArray(VtkType type, std::string name, int components)
    : type_(type), name_(std::move(name)), components_(components) {}

void VtkDataArray::StartValue() {
  if (inTuple_ == components_) {
    values_ += '\n';
    inTuple_ = 0;
  } else if (inTuple_ > 0) {
    values_ += ' ';
  }
  ++inTuple_;
}

void VtkDataArray::AddDouble(double value) {
  StartValue();
  AppendTrimmedNumberText(values_, value);
}

void VtkDataArray::AddFloat(float value) {
  StartValue();
  AppendGeneralNumberText(values_, value);
}

void VtkDataArray::AddInteger(std::int64_t value) {
  StartValue();
  AppendIntegerMaskText(values_, value);
}

std::string VtkDataArray::Element(const std::string& indent) const {
  std::string element = indent + "<DataArray type=\"" + TypeName(type_) + "\"";
  if (!name_.empty()) element += " Name=\"" + name_ + "\"";
  if (components_ != 1) element += " NumberOfComponents=\"" + IntegerMaskText(components_) + "\"";
  element += " format=\"ascii\">\n";
  if (!values_.empty()) element += values_ + '\n';
  return element + indent + "</DataArray>\n";
}

std::string VtkFileStart(const std::string& dataType) {
  // header_type sizes the block headers of binary data; ASCII arrays have none.
  return "<?xml version=\"1.0\"?>\n<VTKFile type=\"" + dataType +
         "\" version=\"1.0\" byte_order=\"LittleEndian\" header_type=\"UInt64\">\n  <" + dataType + ">\n";
}

std::string VtkFileEnd(const std::string& dataType) { return "  </" + dataType + ">\n</VTKFile>\n"; }

}  // namespace kestra
