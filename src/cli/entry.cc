#include "cli/entry.h"

#include <cstdio>

#include "cli/usage.h"
#include "convert/run.h"

std::int32_t ParseCodePageNumber(const char *text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
    ++text;
  bool negative = false;
  if (*text == '+' || *text == '-')
    negative = *text++ == '-';
  std::uint32_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text)
    value = value * 10u + static_cast<std::uint32_t>(*text - '0');
  if (negative)
    value = 0u - value;
  return static_cast<std::int32_t>(value);
}

int OdrimMain(int argc, char **argv) {
  try {
    if (argc == 5 || argc == 6)
      ConvertFile(argv[1], ParseCodePageNumber(argv[2]), argv[3],
                  ParseCodePageNumber(argv[4]), argc == 6 ? argv[5] : nullptr);
    else
      PrintUsage();
  } catch (...) {
    std::fputs("Internal error or invalid syntax.\n", stdout);
  }
  return 0;
}
