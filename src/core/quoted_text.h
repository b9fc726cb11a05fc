// Text from a file or a command line quoted in a message. A damaged or
// hostile file can hold a "word" of megabytes; a message shows only its
// start, so that it stays readable and small.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestra {

// The most characters of quoted text a message shows.
inline constexpr std::size_t kMaxQuotedCharacters = 60;

// `text` in double quotes; text longer than kMaxQuotedCharacters is cut
// there and "..." follows inside the quotes.
std::string QuotedText(std::string_view text);

// The same with single quotes, the form of the batch tool's messages.
std::string SingleQuotedText(std::string_view text);

}  // namespace kestra
