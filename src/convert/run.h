// One conversion run: set-up, the character loop and the summary.
#pragma once

#include <cstdint>

#include "convert/file_io.h"
#include "convert/state.h"

inline constexpr int kUtf16CodePage = 1200;

// Converts inFile from code page incp to outFile in code page outcp.
// defCharText is the optional default-character argument (null when absent).
void ConvertFile(const char *inFile, int incp, const char *outFile, int outcp,
                 const char *defCharText);

// True when byte lies in one of the up to six first/last pairs of leadBytes
// (12 bytes; a pair whose first byte is 0 ends the list).
bool IsLeadByte(unsigned char byte, const unsigned char *leadBytes);

// Writes one character code: 2 bytes when byte 1 is not 0, else 1; a longer
// encoder result (encodedLength above 2) is written whole. Counts it.
inline void WriteOutputChar(OutputFile &out, const unsigned char *charBytes,
                            int encodedLength = 0) {
  int count = encodedLength > 2 ? encodedLength : charBytes[1] != 0 ? 2 : 1;
  out.Write(charBytes, static_cast<std::size_t>(count));
  ConversionCounters.outputBytes += count;
  ++ConversionCounters.outputChars;
}

// Writes one UTF-16 code unit, low byte first, and counts it.
inline void WriteUtf16Unit(OutputFile &out, std::uint16_t unit) {
  const unsigned char bytes[2] = {static_cast<unsigned char>(unit & 0xFF),
                                  static_cast<unsigned char>(unit >> 8)};
  out.Write(bytes, 2);
  ConversionCounters.outputBytes += 2;
  ++ConversionCounters.outputChars;
}

// Encodes one character (one code unit, or a surrogate pair for a code
// point beyond U+FFFF) into OutputCharBuffer, cleared first. Returns the byte
// count (0 on failure) and sets *usedDefault.
int EncodeOutputChar(int outcp, char32_t codePoint, int *usedDefault);
