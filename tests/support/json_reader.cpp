#include "support/json_reader.h"

#include <cstdlib>

namespace kestra::test {
namespace {

class JsonParser {
 public:
  explicit JsonParser(const std::string& text) : text_(text) {}

  bool ParseDocument(JsonValue& value) {
    if (!ParseValue(value)) return false;
    SkipBlanks();
    return pos_ == text_.size();
  }

 private:
  bool ParseValue(JsonValue& value) {
    SkipBlanks();
    if (pos_ >= text_.size()) return false;
    const char c = text_[pos_];
    if (c == '{') return ParseObject(value);
    if (c == '[') return ParseArray(value);
    if (c == '"') {
      value.type = JsonValue::Type::String;
      return ParseString(value.text);
    }
    if (Word("true") || Word("false")) {
      value.type = JsonValue::Type::Boolean;
      value.boolean = c == 't';
      return true;
    }
    if (Word("null")) return true;
    return ParseNumber(value);
  }

  bool ParseObject(JsonValue& value) {
    value.type = JsonValue::Type::Object;
    ++pos_;
    if (Accept('}')) return true;
    do {
      std::string name;
      SkipBlanks();
      if (!ParseString(name) || !Accept(':')) return false;
      JsonValue member;
      if (!ParseValue(member)) return false;
      value.members.emplace_back(std::move(name), std::move(member));
    } while (Accept(','));
    return Accept('}');
  }

  bool ParseArray(JsonValue& value) {
    value.type = JsonValue::Type::Array;
    ++pos_;
    if (Accept(']')) return true;
    do {
      JsonValue item;
      if (!ParseValue(item)) return false;
      value.items.push_back(std::move(item));
    } while (Accept(','));
    return Accept(']');
  }

  // Plain strings only: the model descriptions hold file names and keys.
  bool ParseString(std::string& out) {
    if (pos_ >= text_.size() || text_[pos_] != '"') return false;
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
    const std::string w(word);
    if (text_.compare(pos_, w.size(), w) != 0) return false;
    pos_ += w.size();
    return true;
  }

  bool Accept(char c) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' || text_[pos_] == '\r' || text_[pos_] == '\t'))
      ++pos_;
  }

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
