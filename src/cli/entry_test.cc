#include "cli/entry.h"

#include <gtest/gtest.h>

TEST(ParseCodePageNumber, FollowsTheDecimalRule) {
  const struct {
    const char *text;
    std::int32_t expected;
  } cases[] = {
      {"936", 936},
      {" 950", 950},
      {"\t\n 437", 437},
      {"1200abc", 1200},
      {"abc", 0},
      {"", 0},
      {"0x3A8", 0},
      {"+1252", 1252},
      {"-1", -1},
      {"- 5", 0},
      {"+-5", 0},
      {"2147483647", 2147483647},
      {"2147483648", INT32_MIN}, // wraps
      {"4294967297", 1},         // wraps twice over
      {"-2147483648", INT32_MIN},
      {"00065001", 65001},
  };
  for (const auto &c : cases)
    EXPECT_EQ(ParseCodePageNumber(c.text), c.expected) << '"' << c.text << '"';
}
