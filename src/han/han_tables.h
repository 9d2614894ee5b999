// The Han tables: one variant for each CJK ideograph that has one, and the
// simplified and traditional forms that output code pages 936 and 950
// prefer. Constant data; every lookup is two range tests and one read.
#pragma once

#include <cstdint>

// The Han variant of a code unit, or 0 when it has none.
std::uint16_t LookupHanVariant(std::uint16_t codeUnit);

// Moves codeUnit to the form that codePage prefers: simplified for 936,
// traditional for 950; any other code page leaves it unchanged.
void PreferScript(int codePage, std::uint16_t &codeUnit);
