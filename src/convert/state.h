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
// OutputCharBuffer has room for the longest encoder result.
extern unsigned char InputCharBuffer[3];
extern unsigned char OutputCharBuffer[4];
extern unsigned char DefaultCharBuffer[3];

extern bool reportHeaderShown;

// What the last conversion run did, kept to check the counters against.
struct RunRecord {
  bool completed;            // read to the end with no failure of any kind
  std::int64_t bytesRead;    // bytes read from the input file
  std::int64_t bytesWritten; // bytes that reached the output file
  std::int64_t reportRows;   // rows of the imperfect-mapping report
};
extern RunRecord lastRun;
