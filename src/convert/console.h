// Console output: everything goes to standard output, in order. A line end
// is "\n" followed by a flush; "\n" inside a text breaks without a flush.
#pragma once

#include <cstdio>

inline void WriteLineEnd() {
  std::fputs("\n", stdout);
  std::fflush(stdout);
}
