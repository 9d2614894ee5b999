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

class DirectMappings {
public:
  // A slot is 0 until its character has mapped directly, then
  // kKnown | length << 16 | byte 0 << 8 | byte 1.
  static constexpr std::uint32_t kKnown = 0x80000000u;

  // twoByteCodes: the input has two-byte characters (lead and trail byte,
  // or UTF-16 code units).
  explicit DirectMappings(bool twoByteCodes)
      : wide_(twoByteCodes ? std::make_unique<std::uint32_t[]>(1 << 16)
                           : nullptr) {}

  std::uint32_t &ForByte(unsigned char byte) { return single_[byte]; }
  std::uint32_t &ForPair(unsigned char lead, unsigned char trail) {
    return wide_[lead << 8 | trail];
  }
  std::uint32_t &ForUnit(std::uint16_t unit) { return wide_[unit]; }

  static std::uint32_t Pack(const unsigned char *bytes, int length) {
    return kKnown | static_cast<std::uint32_t>(length) << 16 |
           static_cast<std::uint32_t>(bytes[0]) << 8 |
           (length == 2 ? bytes[1] : 0u);
  }

  // Writes a remembered character; returns its byte count. The caller
  // counts it.
  static int Write(OutputFile &out, std::uint32_t slot) {
    const unsigned char bytes[2] = {static_cast<unsigned char>(slot >> 8),
                                    static_cast<unsigned char>(slot)};
    const int length = static_cast<int>(slot >> 16 & 0x3);
    out.Write(bytes, static_cast<std::size_t>(length));
    return length;
  }

  // Writes remembered characters from the input buffer into the output
  // buffer for as long as both have room and the characters are known;
  // returns the number of characters. Kind tells how the input is cut into
  // characters. A lead byte without its trail byte in the buffer, or an
  // unknown character, ends the stretch: the caller takes it the long way.
  enum class Input { kSingleByte, kDoubleByte, kUtf16 };
  template <Input kind>
  std::int64_t Stretch(InputFile &in, OutputFile &out, const bool *leadByte,
                       std::int64_t &inBytes, std::int64_t &outBytes) const {
    const unsigned char *p = in.Cursor();
    const unsigned char *const limit = in.Limit();
    unsigned char *o = out.Space();
    unsigned char *const outLimit = out.SpaceEnd();
    const unsigned char *const start = p;
    unsigned char *const outStart = o;
    std::int64_t chars = 0;
    while (limit - p >= 2 && outLimit - o >= 2) {
      std::uint32_t slot;
      int count = 1;
      if constexpr (kind == Input::kUtf16) {
        slot = wide_[p[0] | p[1] << 8];
        count = 2;
      } else if constexpr (kind == Input::kDoubleByte) {
        if (leadByte[p[0]]) {
          slot = wide_[p[0] << 8 | p[1]];
          count = 2;
        } else {
          slot = single_[p[0]];
        }
      } else {
        slot = single_[p[0]];
      }
      if (slot == 0)
        break;
      o[0] = static_cast<unsigned char>(slot >> 8);
      o[1] = static_cast<unsigned char>(slot);
      o += slot >> 16 & 0x3;
      p += count;
      ++chars;
    }
    inBytes += p - start;
    outBytes += o - outStart;
    in.Skip(static_cast<std::size_t>(p - start));
    out.Commit(static_cast<std::size_t>(o - outStart));
    return chars;
  }

private:
  // 1 KiB for single bytes; 256 KiB for two-byte codes.
  std::uint32_t single_[256] = {};
  std::unique_ptr<std::uint32_t[]> wide_;
};
