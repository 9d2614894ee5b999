// UTF-16 surrogate pairs, by arithmetic.
#pragma once

constexpr bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point of a high and a low surrogate.
constexpr char32_t JoinSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// Writes a code point as one unit, or as a pair beyond U+FFFF; returns the
// number of units.
constexpr int SplitCodePoint(char32_t codePoint, char16_t *units) {
  if (codePoint <= 0xFFFF) {
    units[0] = static_cast<char16_t>(codePoint);
    return 1;
  }
  units[0] = static_cast<char16_t>(0xD7C0 + (codePoint >> 10));
  units[1] = static_cast<char16_t>(0xDC00 | (codePoint & 0x3FF));
  return 2;
}
