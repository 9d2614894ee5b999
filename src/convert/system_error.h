// Shows a failure code of the code page services with its text.
#pragma once

#include <cstdint>

// Writes "Error #<code>. " and the code's text (which ends with its own
// line end); with no text the line is left open.
void PrintSystemError(std::uint32_t code);
