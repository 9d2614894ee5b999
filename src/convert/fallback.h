// The Han preference step and the fallback chain for characters that the
// output code page cannot represent directly.
#pragma once

#include <cstdint>

#include "convert/file_io.h"

// Moves the character in hand to the form that output code page 936 or 950
// prefers, before it is encoded.
void ApplyScriptPreference(int outcp, char32_t &current);

// Finishes a character that has no direct mapping: its Han variant, else the
// variant of the character as decoded (when the preference step changed it),
// else the default character, else nothing. Counts and reports the outcome.
// current and decoded are 0 for a character without a Unicode value; a
// character beyond U+FFFF has no Han variant.
void RunFallbackChain(OutputFile &out, int outcp, char32_t current,
                      char32_t decoded);
