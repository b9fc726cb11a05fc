#include "support/json_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace kestra::test {
namespace {

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : text_(text) {}

  bool ParseDocument(JsonValue& value) { return ParseValue(value) && AtEnd(); }

 private:
  bool ParseValue(JsonValue& value) {
    if (Accept('{')) return ParseList('}', [&] { return ParseMember(value); }, value, JsonValue::Type::Object);
    if (Accept('[')) return ParseList(']', [&] { return ParseItem(value); }, value, JsonValue::Type::Array);
    if (Peek('"')) {
      value.type = JsonValue::Type::String;
      return ParseString(value.text);
    }
    const bool isTrue = Word("true");
    if (isTrue || Word("false")) {
      value.type = JsonValue::Type::Boolean;
      value.boolean = isTrue;
      return true;
    }
    return Word("null") || ParseNumber(value);
  }

  // The comma-separated entries of an object or array up to `close`.
  template <typename Entry>
  bool ParseList(char close, Entry entry, JsonValue& value, JsonValue::Type type) {
    value.type = type;
    if (Accept(close)) return true;
    do {
      if (!entry()) return false;
    } while (Accept(','));
    return Accept(close);
  }

  bool ParseMember(JsonValue& object) {
    std::string name;
    JsonValue member;
    if (!Peek('"') || !ParseString(name) || !Accept(':') || !ParseValue(member)) return false;
    object.members.emplace_back(std::move(name), std::move(member));
    return true;
  }

  bool ParseItem(JsonValue& array) {
    JsonValue item;
    if (!ParseValue(item)) return false;
    array.items.push_back(std::move(item));
    return true;
  }

  // Plain strings only: the model descriptions hold file names and keys.
  bool ParseString(std::string& out) {
    const auto close = text_.find('"', pos_ + 1);
    if (close == std::string::npos) return false;
    out = text_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    return true;
  }

  bool ParseNumber(JsonValue& value) {
    const char* start = text_.c_str() + pos_;
    char* end = nullptr;
    value.number = std::strtod(start, &end);
    if (end == start) return false;
    value.type = JsonValue::Type::Number;
    pos_ += static_cast<std::size_t>(end - start);
    return true;
  }

  bool Word(const char* word) {
    SkipBlanks();
    if (text_.compare(pos_, std::strlen(word), word) != 0) return false;
    pos_ += std::strlen(word);
    return true;
  }

  bool Peek(char c) {
    SkipBlanks();
    return pos_ < text_.size() && text_[pos_] == c;
  }

  bool Accept(char c) {
    if (!Peek(c)) return false;
    ++pos_;
    return true;
  }

  bool AtEnd() {
    SkipBlanks();
    return pos_ == text_.size();
  }

  void SkipBlanks() { pos_ = std::min(text_.find_first_not_of(" \t\r\n", pos_), text_.size()); }

  const std::string& text_;
  std::size_t pos_ = 0;
};

}  // namespace

const JsonValue& JsonValue::operator[](const std::string& name) const {
  static const JsonValue kNull;
  for (const auto& member : members)
    if (member.first == name) return member.second;
  return kNull;
}

bool ParseJson(const std::string& text, JsonValue& value) {
  JsonValue parsed;
  if (!JsonParser(text).ParseDocument(parsed)) return false;
  value = std::move(parsed);
  return true;
}

}  // namespace kestra::test
