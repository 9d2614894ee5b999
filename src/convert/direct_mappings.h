// Remembers, per input character code, the output bytes of a character that
// maps directly (decoded, moved to the preferred form and encoded without
// the fallback chain). Every step of that road depends on the character code
// alone, so a character seen once is written from here afterwards: one read
// instead of the three steps. Characters that need the fallback chain are
// never remembered and take the full road every time.
#pragma once

#include <cstdint>
#include <memory>

#include "convert/file_io.h"
#include "convert/state.h"

class DirectMappings {
public:
  // A slot is 0 until its character has mapped directly, then
  // kKnown | length << 16 | byte 0 << 8 | byte 1.
  static constexpr std::uint32_t kKnown = 0x80000000u;

  std::uint32_t &ForByte(unsigned char byte) { return single_[byte]; }
  std::uint32_t &ForPair(unsigned char lead, unsigned char trail) {
    return Row(lead)[trail];
  }
  std::uint32_t &ForUnit(std::uint16_t unit) {
    return Row(unit >> 8)[unit & 0xFF];
  }

  static std::uint32_t Pack(const unsigned char *bytes, int length) {
    return kKnown | static_cast<std::uint32_t>(length) << 16 |
           static_cast<std::uint32_t>(bytes[0]) << 8 |
           (length == 2 ? bytes[1] : 0u);
  }

  // Writes a remembered character and counts it.
  static void Write(OutputFile &out, std::uint32_t slot) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(slot >> 8),
                                    static_cast<unsigned char>(slot)};
    const int length = static_cast<int>(slot >> 16 & 0x3);
    out.Write(bytes, static_cast<std::size_t>(length));
    ConversionCounters.outputBytes += length;
    ++ConversionCounters.outputChars;
  }

private:
  std::uint32_t *Row(unsigned index) {
    if (!rows_[index])
      rows_[index] = std::make_unique<std::uint32_t[]>(256);
    return rows_[index].get();
  }

  // 1 KiB for single bytes, and 1 KiB for each lead byte (or each block of
  // 256 UTF-16 units) met: at most 257 KiB.
  std::uint32_t single_[256] = {};
  std::unique_ptr<std::uint32_t[]> rows_[256];
};
