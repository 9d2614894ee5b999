// Nothing lost at the code page level: every character of every supported
// code page decodes to UTF-16 and encodes back to the same bytes, except the
// one-way mappings listed in data/one_way/, which are compared whole so that
// a change of the code page data cannot slip through.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "one_way_mappings.h"
#include "platform/codepage.h"

TEST(RoundTrip, OnlyTheListedOneWayMappingsDoNotComeBack) {
  static std::vector<int> pages;
  EnumSystemCodePagesA(
      [](char *text) -> BOOL {
        pages.push_back(std::atoi(text));
        return TRUE;
      },
      CP_INSTALLED);
  ASSERT_FALSE(pages.empty());
  for (int page : pages) {
    std::ifstream file(std::string(ODRIM_ONE_WAY_DIR) + "/" +
                           std::to_string(page) + ".txt",
                       std::ios::binary);
    ASSERT_TRUE(file) << "no one-way list for " << page
                      << " (run tools/one_way_dump)";
    std::stringstream listed;
    listed << file.rdbuf();
    std::string text = listed.str();
    ASSERT_EQ(text.substr(text.find('\n') + 1), OneWayMappings(page))
        << "code page " << page;
  }
}
