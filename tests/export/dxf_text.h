// DXF texts written by hand for the map tests.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

namespace kestra::test {

// A DXF text from group code and value pairs.
inline std::string Dxf(std::initializer_list<std::pair<const char*, const char*>> pairs) {
  std::string text;
  for (const auto& [code, value] : pairs) text += std::string(code) + "\n" + value + "\n";
  return text;
}

}  // namespace kestra::test
