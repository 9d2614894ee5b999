// Writes data/one_way/<code page>.txt for every supported code page: the
// characters that do not round-trip through UTF-16.
//
// Usage: one_way_dump FOLDER
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "one_way_mappings.h"
#include "platform/codepage.h"

namespace {
std::string folder;
}

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: one_way_dump FOLDER\n");
    return 2;
  }
  folder = argv[1];
  EnumSystemCodePagesA(
      [](char *text) -> BOOL {
        int codePage = std::atoi(text);
        std::ofstream(folder + "/" + text + ".txt", std::ios::binary)
            << OneWayHeader(codePage) << OneWayMappings(codePage);
        return TRUE;
      },
      CP_INSTALLED);
  return 0;
}
