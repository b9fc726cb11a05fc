// A small JSON reader for the plain model descriptions (model.json) of the
// shared test data: objects, arrays, numbers, strings, true, false, null.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace kestra::test {

struct JsonValue {
  enum class Type { Null, Boolean, Number, String, Array, Object };
  Type type = Type::Null;
  bool boolean = false;
  double number = 0;
  std::string text;
  std::vector<JsonValue> items;                            // of an array
  std::vector<std::pair<std::string, JsonValue>> members;  // of an object

  bool IsNull() const { return type == Type::Null; }
  std::size_t size() const { return items.size(); }
  const JsonValue& operator[](std::size_t index) const { return items.at(index); }
  // The member of that name; a null value when there is none.
  const JsonValue& operator[](const std::string& name) const;
};

// Parses JSON text; false when it is not well formed.
bool ParseJson(const std::string& text, JsonValue& value);

}  // namespace kestra::test
