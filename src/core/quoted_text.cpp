#include "core/quoted_text.h"

namespace kestra {
namespace {

std::string Quoted(std::string_view text, char quote) {
  std::string quoted(1, quote);
  if (text.size() > kMaxQuotedCharacters) {
    quoted.append(text.substr(0, kMaxQuotedCharacters));
    quoted.append("...");
  } else {
    quoted.append(text);
  }
  quoted.push_back(quote);
  return quoted;
}

}  // namespace

std::string QuotedText(std::string_view text) { return Quoted(text, '"'); }

std::string SingleQuotedText(std::string_view text) { return Quoted(text, '\''); }

}  // namespace kestra
