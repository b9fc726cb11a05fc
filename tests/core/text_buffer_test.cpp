#include "core/text_buffer.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace kestra {
namespace {

void Put(TextBuffer& text, std::string_view record) {
  char* room = text.Room(record.size());
  record.copy(room, record.size());
  text.EndAt(room + record.size());
}

TEST(TextBuffer, RecordsWrittenInTheRoomStayWholeAsTheTextGrows) {
  // Enough records to grow the memory several times over.
  TextBuffer text;
  std::string expected;
  for (int n = 0; n < 20000; ++n) {
    const std::string record = "record " + std::to_string(n) + "\n";
    Put(text, record);
    expected += record;
  }
  EXPECT_EQ(text.View(), expected);
  text.clear();
  EXPECT_TRUE(text.empty());
  Put(text, "again");
  EXPECT_EQ(text.View(), "again");
}

TEST(TextBuffer, ReplaceMovesTheRestOnOrBackByTheDifferenceInLength) {
  struct Case {
    std::size_t at, count;
    std::string with, expected;
  };
  const Case cases[] = {
      {4, 3, "xyz", "abc xyz ghi"},      // the same length
      {4, 3, "wider", "abc wider ghi"},  // longer: the rest moves on
      {4, 3, "d", "abc d ghi"},          // shorter: the rest moves back
      {0, 0, ">", ">abc def ghi"},       // into the start
      {11, 0, "!", "abc def ghi!"},      // at the end
      {0, 11, "", ""},                   // everything, by nothing
  };
  for (const Case& c : cases) {
    TextBuffer text;
    Put(text, "abc def ghi");
    text.Replace(c.at, c.count, c.with);
    EXPECT_EQ(text.View(), c.expected) << c.at << " " << c.count << " " << c.with;
  }
}

TEST(TextBuffer, AWiderReplacementBeyondTheMemoryKeepsTheWholeText) {
  TextBuffer text;
  const std::string start(70000, 'a');
  Put(text, start);
  const std::string wide(100000, 'b');
  text.Replace(1, 1, wide);
  EXPECT_EQ(text.View(), "a" + wide + start.substr(2));
}

}  // namespace
}  // namespace kestra
