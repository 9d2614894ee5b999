// The process-wide state of a conversion: the nine counters, the three
// character buffers and the report's header flag. They live for the whole
// process; a run sets the counters to 0 once its code pages are accepted.
#pragma once

#include <cstdint>

struct ConversionCountersType {
  std::int64_t inputBytes;       // input bytes consumed
  std::int64_t inputChars;       // input characters consumed
  std::int64_t inputNoUnicode;   // input characters without a Unicode value
  std::int64_t inputWithVariant; // characters whose Han variant was tried
  std::int64_t outputBytes;      // bytes written to the output file
  std::int64_t outputChars;      // characters written to the output file
  std::int64_t outputDefault;    // characters given the default character
  std::int64_t outputVariant;    // characters written as their Han variant
  std::int64_t inputUnmapped;    // characters dropped (empty default)
};

// The outcome of an imperfect mapping; each value is the position of the
// counter it advances among the nine counters.
enum MappingKind {
  kMappedToDefault = 6,
  kMappedToVariant = 7,
  kDropped = 8,
};

extern ConversionCountersType ConversionCounters;

// Character codes: byte 0, byte 1 (0 for a one-byte code), then a 0 byte.
// The characters of UTF-8 and GB18030 take up to 4 bytes, none of them 0
// after the first, so a code is its bytes up to the first 0 after byte 0.
extern unsigned char InputCharBuffer[5];
extern unsigned char OutputCharBuffer[5];
extern unsigned char DefaultCharBuffer[3];

// The number of bytes of a character code (1 to 4).
inline int CharCodeLength(const unsigned char *code) {
  int length = 1;
  while (length < 4 && code[length] != 0)
    ++length;
  return length;
}

extern bool reportHeaderShown;

// What the last conversion run did, kept to check the counters against.
struct RunRecord {
  bool completed;            // read to the end with no failure of any kind
  std::int64_t bytesRead;    // bytes read from the input file
  std::int64_t bytesWritten; // bytes that reached the output file
  std::int64_t reportRows;   // rows of the imperfect-mapping report
};
extern RunRecord lastRun;
