// Cutting the input into characters: one byte, a lead and a trail byte,
// a UTF-16 code unit (or pair), or one UTF-8 or GB18030 sequence.
#pragma once

#include "convert/file_io.h"

enum class InputKind {
  kSingleByte, // one byte per character
  kDoubleByte, // a lead byte takes the next byte as its trail byte
  kUtf16,      // code page 1200: two bytes, low byte first
  kUtf8,       // code page 65001
  kGb18030,    // code page 54936
};

struct CharRead {
  enum State {
    kComplete,  // a whole character, to be decoded
    kMalformed, // the longest valid beginning of a malformed sequence
    kTruncated, // a sequence cut off by the end of the input
    kHalfUnit,  // the odd last byte of UTF-16 input
  };
  unsigned char bytes[4];
  int count;
  State state;
};

// Takes the next character from in, which is not at its end. With
// combineSurrogates, a UTF-16 high surrogate directly followed by a low
// surrogate is one character of 4 bytes.
CharRead ReadChar(InputFile &in, InputKind kind, const bool *leadByte,
                  bool combineSurrogates);

// How many bytes of the GB18030 sequence at bytes (available of them) form
// one character, and in which state: one byte below 0x80; a lead byte 0x81
// to 0xFE followed by 0x30 to 0x39 starts a four-byte character (lead,
// digit, lead, digit); any other lead byte a two-byte one (trail 0x40 to
// 0x7E or 0x80 to 0xFE).
CharRead::State MeasureGb18030(const unsigned char *bytes,
                               std::size_t available, int *count);

// The same for UTF-8, by its lead byte with the continuation bytes checked.
CharRead::State MeasureUtf8(const unsigned char *bytes, std::size_t available,
                            int *count);
