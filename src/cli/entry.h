// The command line: a conversion with four or five arguments, the usage
// screen otherwise. The exit status is always 0.
#pragma once

#include <cstdint>

// Reads a code page argument: leading white space, one optional sign, then
// decimal digits up to the first other character, in 32-bit arithmetic that
// wraps on overflow. Text without digits gives 0.
std::int32_t ParseCodePageNumber(const char *text);

int OdrimMain(int argc, char **argv);
