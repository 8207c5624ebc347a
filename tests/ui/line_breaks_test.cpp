#include "ui/line_breaks.h"

#include <gtest/gtest.h>

namespace {

TEST(LineBreaks, EachBreakOfAnyKindBecomesOneBreakOfTheToolkit) {
  struct Case {
    const char* in;
    const char* lineFeeds;
    const char* crLf;
  };
  const Case cases[] = {
      {"", "", ""},
      {"uma linha", "uma linha", "uma linha"},
      {"a\rb", "a\nb", "a\r\nb"},
      {"a\nb", "a\nb", "a\r\nb"},
      {"a\r\nb", "a\nb", "a\r\nb"},
      {"a\n\rb", "a\n\nb", "a\r\n\r\nb"},
      {"a\r\r\nb\n", "a\n\nb\n", "a\r\n\r\nb\r\n"},
      {"a\r\r\nb\n\n", "a\n\nb\n\n", "a\r\n\r\nb\r\n\r\n"},
      {"\r", "\n", "\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ui::WithLineBreaks(c.in, "\n"), c.lineFeeds) << c.in;
    EXPECT_EQ(ui::WithLineBreaks(c.in, "\r\n"), c.crLf) << c.in;
  }
}

}  // namespace
