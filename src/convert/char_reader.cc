#include "convert/char_reader.h"

#include <cstring>

#include "platform/utf16.h"
#include "platform/utf8.h"

namespace {

constexpr bool IsGbLead(unsigned char byte) {
  return byte >= 0x81 && byte <= 0xFE;
}
constexpr bool IsGbDigit(unsigned char byte) {
  return byte >= 0x30 && byte <= 0x39;
}
constexpr bool IsGbTrail(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
}

} // namespace

CharRead::State MeasureGb18030(const unsigned char *bytes,
                               std::size_t available, int *count) {
  *count = 1;
  if (bytes[0] < 0x80)
    return CharRead::kComplete;
  if (!IsGbLead(bytes[0]))
    return CharRead::kMalformed;
  if (available < 2)
    return CharRead::kTruncated;
  if (IsGbTrail(bytes[1])) {
    *count = 2;
    return CharRead::kComplete;
  }
  if (!IsGbDigit(bytes[1]))
    return CharRead::kMalformed;
  // Four bytes: lead, digit, lead, digit.
  for (int i = 2; i < 4; ++i) {
    *count = i;
    if (available < static_cast<std::size_t>(i + 1))
      return CharRead::kTruncated;
    if (!(i == 2 ? IsGbLead(bytes[i]) : IsGbDigit(bytes[i])))
      return CharRead::kMalformed;
  }
  *count = 4;
  return CharRead::kComplete;
}

CharRead::State MeasureUtf8(const unsigned char *bytes, std::size_t available,
                            int *count) {
  *count = 1;
  const int length = Utf8SequenceLength(bytes[0]);
  if (length == 0)
    return CharRead::kMalformed;
  for (int i = 1; i < length; ++i) {
    if (available < static_cast<std::size_t>(i + 1))
      return CharRead::kTruncated;
    if (!Utf8Continues(bytes[0], i, bytes[i]))
      return CharRead::kMalformed;
    *count = i + 1;
  }
  return CharRead::kComplete;
}

CharRead ReadChar(InputFile &in, InputKind kind, const bool *leadByte,
                  bool combineSurrogates) {
  CharRead read{};
  read.state = CharRead::kComplete;
  std::size_t available = in.Lookahead(4);
  const unsigned char *bytes = in.Cursor();
  switch (kind) {
  case InputKind::kSingleByte:
    read.count = 1;
    break;
  case InputKind::kDoubleByte:
    read.count = 1;
    if (leadByte[bytes[0]]) {
      if (available < 2)
        read.state = CharRead::kTruncated;
      else
        read.count = 2;
    }
    break;
  case InputKind::kUtf16:
    if (available < 2) {
      read.count = 1;
      read.state = CharRead::kHalfUnit;
      break;
    }
    read.count = 2;
    if (combineSurrogates && available >= 4 &&
        IsHighSurrogate(static_cast<char32_t>(bytes[0] | bytes[1] << 8)) &&
        IsLowSurrogate(static_cast<char32_t>(bytes[2] | bytes[3] << 8)))
      read.count = 4;
    break;
  case InputKind::kUtf8:
    read.state = MeasureUtf8(bytes, available, &read.count);
    break;
  case InputKind::kGb18030:
    read.state = MeasureGb18030(bytes, available, &read.count);
    break;
  }
  std::memcpy(read.bytes, bytes, static_cast<std::size_t>(read.count));
  in.Skip(static_cast<std::size_t>(read.count));
  return read;
}
