// Remembers, per input character code, the output bytes of a character that
// maps directly (decoded, moved to the preferred form and encoded without
// the fallback chain). Every step of that road depends on the character code
// alone, so a character seen once is written from here afterwards: one read
// instead of the three steps. Characters that need the fallback chain are
// never remembered and take the full road every time.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

#include "convert/char_reader.h"
#include "convert/file_io.h"
#include "platform/utf8.h"

class DirectMappings {
public:
  // A slot is 0 until its character has mapped directly, then
  // kKnown | length << 32 | the bytes, the first in bits 24 to 31.
  static constexpr std::uint64_t kKnown = std::uint64_t{1} << 63;

  // The key of a character: its byte (single_), or its lead and trail bytes,
  // or its UTF-16 unit (UTF-16 input; UTF-8 input decoded, up to U+FFFF).
  explicit DirectMappings(InputKind kind) {
    if (kind != InputKind::kSingleByte) {
      // calloc: the system hands out zeroed pages as they are touched, so a
      // short input does not pay for clearing the whole table.
      wide_.reset(static_cast<std::uint64_t *>(
          std::calloc(1 << 16, sizeof(std::uint64_t))));
      if (!wide_)
        throw std::bad_alloc();
    }
  }

  std::uint64_t &ForByte(unsigned char byte) { return single_[byte]; }
  std::uint64_t &ForWide(unsigned key) { return wide_[key]; }

  static std::uint64_t Pack(const unsigned char *bytes, int length) {
    std::uint64_t slot = kKnown | static_cast<std::uint64_t>(length) << 32;
    for (int i = 0; i < length; ++i)
      slot |= static_cast<std::uint64_t>(bytes[i]) << (24 - 8 * i);
    return slot;
  }

  // Writes remembered characters from the input buffer into the output
  // buffer for as long as both have room and the characters are known;
  // returns the number of characters and adds their bytes to inBytes and
  // outBytes. A character that may not lie whole in the buffer, a four-byte
  // one or an unknown one ends the stretch: the caller takes it the long way.
  template <InputKind kind>
  std::int64_t Stretch(InputFile &in, OutputFile &out, const bool *leadByte,
                       std::int64_t &inBytes, std::int64_t &outBytes) const {
    const unsigned char *p = in.Cursor();
    const unsigned char *const limit = in.Limit();
    unsigned char *o = out.Space();
    unsigned char *const outLimit = out.SpaceEnd();
    const unsigned char *const start = p;
    unsigned char *const outStart = o;
    std::int64_t chars = 0;
    while (limit - p >= 3 && outLimit - o >= 4) {
      std::uint64_t slot;
      int count = 1;
      const unsigned char first = p[0];
      if constexpr (kind == InputKind::kUtf16) {
        slot = wide_[first | p[1] << 8];
        count = 2;
      } else if constexpr (kind == InputKind::kUtf8) {
        count = Utf8SequenceLength(first);
        if (count == 1) {
          slot = wide_[first];
        } else if (count == 2 && Utf8Continues(first, 1, p[1])) {
          slot = wide_[Utf8Decode(p, 2)];
        } else if (count == 3 && Utf8Continues(first, 1, p[1]) &&
                   Utf8Continues(first, 2, p[2])) {
          slot = wide_[Utf8Decode(p, 3)];
        } else {
          break;
        }
      } else if constexpr (kind == InputKind::kDoubleByte ||
                           kind == InputKind::kGb18030) {
        if (leadByte[first]) {
          slot = wide_[first << 8 | p[1]];
          count = 2;
        } else {
          slot = single_[first];
        }
      } else {
        slot = single_[first];
      }
      if (slot == 0)
        break;
      o[0] = static_cast<unsigned char>(slot >> 24);
      o[1] = static_cast<unsigned char>(slot >> 16);
      o[2] = static_cast<unsigned char>(slot >> 8);
      o[3] = static_cast<unsigned char>(slot);
      o += slot >> 32 & 0x7;
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
  // 2 KiB for single bytes; 512 KiB for two-byte keys.
  std::uint64_t single_[256] = {};
  struct Free {
    void operator()(std::uint64_t *table) const { std::free(table); }
  };
  std::unique_ptr<std::uint64_t[], Free> wide_;
};
