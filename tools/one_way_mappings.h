// Lists the one-way mappings of a code page: the characters that do not come
// back to the same bytes when decoded to UTF-16 and encoded again.
#pragma once

#include <string>

// One line per one-way character, in byte order: its bytes, its UTF-16
// value, and the bytes it encodes back to ("none" when it has no round-trip
// mapping), e.g. "0x8790 U+2252 0x81E0". Empty when every character
// round-trips.
std::string OneWayMappings(int codePage);

// The first line of a one-way mapping file.
std::string OneWayHeader(int codePage);
