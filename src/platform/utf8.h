// The byte rules of UTF-8 (code page 65001), by arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>

// The length of the sequence that byte starts: 1 to 4, or 0 for a byte that
// cannot start one (a continuation byte, C0, C1, F5 to FF).
constexpr int Utf8SequenceLength(unsigned char lead) {
  return lead < 0x80   ? 1
         : lead < 0xC2 ? 0
         : lead < 0xE0 ? 2
         : lead < 0xF0 ? 3
         : lead < 0xF5 ? 4
                       : 0;
}

// Whether byte may stand at position index (1 to 3) of a sequence that lead
// starts. The second byte is narrowed after E0, ED, F0 and F4, which rules
// out overlong forms, surrogates and values beyond U+10FFFF.
constexpr bool Utf8Continues(unsigned char lead, int index,
                             unsigned char byte) {
  if (index == 1) {
    switch (lead) {
    case 0xE0:
      return byte >= 0xA0 && byte <= 0xBF;
    case 0xED:
      return byte >= 0x80 && byte <= 0x9F;
    case 0xF0:
      return byte >= 0x90 && byte <= 0xBF;
    case 0xF4:
      return byte >= 0x80 && byte <= 0x8F;
    default:
      break;
    }
  }
  return byte >= 0x80 && byte <= 0xBF;
}

// Decodes one complete, valid sequence of length bytes (as checked with the
// two functions above).
constexpr char32_t Utf8Decode(const unsigned char *bytes, int length) {
  switch (length) {
  case 1:
    return bytes[0];
  case 2:
    return static_cast<char32_t>((bytes[0] & 0x1F) << 6 | (bytes[1] & 0x3F));
  case 3:
    return static_cast<char32_t>((bytes[0] & 0x0F) << 12 |
                                 (bytes[1] & 0x3F) << 6 | (bytes[2] & 0x3F));
  default:
    return static_cast<char32_t>((bytes[0] & 0x07) << 18 |
                                 (bytes[1] & 0x3F) << 12 |
                                 (bytes[2] & 0x3F) << 6 | (bytes[3] & 0x3F));
  }
}

// Encodes a code point that is not a surrogate; returns the byte count.
constexpr int Utf8Encode(char32_t codePoint, unsigned char *bytes) {
  if (codePoint < 0x80) {
    bytes[0] = static_cast<unsigned char>(codePoint);
    return 1;
  }
  if (codePoint < 0x800) {
    bytes[0] = static_cast<unsigned char>(0xC0 | codePoint >> 6);
    bytes[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 2;
  }
  if (codePoint < 0x10000) {
    bytes[0] = static_cast<unsigned char>(0xE0 | codePoint >> 12);
    bytes[1] = static_cast<unsigned char>(0x80 | (codePoint >> 6 & 0x3F));
    bytes[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 3;
  }
  bytes[0] = static_cast<unsigned char>(0xF0 | codePoint >> 18);
  bytes[1] = static_cast<unsigned char>(0x80 | (codePoint >> 12 & 0x3F));
  bytes[2] = static_cast<unsigned char>(0x80 | (codePoint >> 6 & 0x3F));
  bytes[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
  return 4;
}
