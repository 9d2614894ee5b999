#include "cli/usage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string List(std::initializer_list<const char *> pages) {
  codePageListCount = 0;
  testing::internal::CaptureStdout();
  for (const char *page : pages) {
    std::string text = page;
    EXPECT_EQ(ListCodePageProc(text.data()), TRUE);
  }
  return testing::internal::GetCapturedStdout();
}

} // namespace

TEST(ListCodePageProc, ThirteenToALine) {
  EXPECT_EQ(List({"437", "850", "852", "855", "857", "860", "861", "863", "865",
                  "866", "869", "874", "932", "936", "949"}),
            "  437   850   852   855   857   860   861   863   865   866   869"
            "   874   932\n"
            "  936   949 ");
  // A full line ends with the line break; short and long numbers are never
  // cut.
  EXPECT_EQ(
      List({"37", "10000", "123456", "1", "2", "3", "4", "5", "6", "7", "8",
            "9", "10"}),
      "   37 10000 123456     1     2     3     4     5     6     7     8 "
      "    9    10\n");
  EXPECT_EQ(codePageListCount, 13);
}
