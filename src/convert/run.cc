#include "convert/run.h"

#include <sys/stat.h>

#include <cassert>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "convert/char_reader.h"
#include "convert/console.h"
#include "convert/default_char.h"
#include "convert/direct_mappings.h"
#include "convert/fallback.h"
#include "convert/invariants.h"
#include "convert/messages.h"
#include "convert/state.h"
#include "convert/system_error.h"
#include "platform/codepage.h"
#include "platform/utf16.h"
#include "platform/utf8.h"

bool IsLeadByte(unsigned char byte, const unsigned char *leadBytes) {
  for (int i = 0; i < MAX_LEADBYTES && leadBytes[i] != 0; i += 2)
    if (leadBytes[i] <= byte && byte <= leadBytes[i + 1])
      return true;
  return false;
}

int EncodeOutputChar(int outcp, char32_t codePoint, int *usedDefault) {
  std::memset(OutputCharBuffer, 0, sizeof OutputCharBuffer);
  *usedDefault = 0;
  char16_t units[2] = {};
  const int unitCount = SplitCodePoint(codePoint, units);
  return WideCharToMultiByte(outcp, 0, units, unitCount,
                             reinterpret_cast<char *>(OutputCharBuffer), 4,
                             nullptr, usedDefault);
}

namespace {

// Validates a code page that the services handle; on failure shows why.
bool AcceptCodePage(int codePage, CPINFO *info) {
  if (GetCPInfo(codePage, info))
    return true;
  PrintSystemError(GetLastError());
  std::fputs(kInvalidCodePageHintText, stdout);
  return false;
}

bool SameFile(const InputFile &in, const char *outFile) {
  struct stat inStatus, outStatus;
  return ::fstat(in.descriptor(), &inStatus) == 0 &&
         ::stat(outFile, &outStatus) == 0 &&
         inStatus.st_dev == outStatus.st_dev &&
         inStatus.st_ino == outStatus.st_ino;
}

void PrintSummary() {
  const ConversionCountersType &c = ConversionCounters;
  const struct {
    const char *label;
    std::int64_t value;
    const char *suffix;
  } lines[] = {
      {"Input bytes: ", c.inputBytes, ""},
      {"Input chars: ", c.inputChars, ""},
      {"Input chars w/ no Unicode mapping: ", c.inputNoUnicode, ""},
      {"Input chars w/ variant: ", c.inputWithVariant,
       " (variant only checked if direct mapping failed)"},
      {"Output bytes: ", c.outputBytes, ""},
      {"Output chars: ", c.outputChars, ""},
      {"Output chars mapped to default: ", c.outputDefault,
       " (excludes default=null)"},
      {"Output chars mapped to variant: ", c.outputVariant, ""},
      {"Input chars unmapped: ", c.inputUnmapped, ""},
  };
  std::fputs("\nConversion summary\n\n", stdout);
  for (const auto &line : lines) {
    std::printf("%s%" PRId64 "%s", line.label, line.value, line.suffix);
    WriteLineEnd();
  }
}

// Finishes the character in hand: counts it as consumed.
inline void FinishChar(int byteCount) {
  ++ConversionCounters.inputChars;
  ConversionCounters.inputBytes += byteCount;
}

inline void SetInputChar(const unsigned char *bytes, int count) {
  std::memset(InputCharBuffer, 0, sizeof InputCharBuffer);
  std::memcpy(InputCharBuffer, bytes, static_cast<std::size_t>(count));
}

// The code point of one UTF-16 unit, or of a pair (4 bytes).
char32_t Utf16CodePoint(const unsigned char *bytes, int count) {
  const char32_t unit = static_cast<char32_t>(bytes[0] | bytes[1] << 8);
  if (count < 4)
    return unit;
  const char32_t low = static_cast<char32_t>(bytes[2] | bytes[3] << 8);
  return JoinSurrogates(unit, low);
}

// Takes one whole character the full road: decode (code page input),
// preferred form, encode, and write, or the fallback chain. A direct
// mapping of a character with a key is remembered in *slot (null: no key).
// False when a code page service failed and the loop must end; the
// character is then not finished.
bool ConvertChar(OutputFile &out, int incp, int outcp, const CharRead &read,
                 std::uint64_t *slot) {
  char32_t current;
  if (incp == kUtf16CodePage) {
    current = Utf16CodePoint(read.bytes, read.count);
  } else {
    char16_t units[2] = {};
    const int unitCount = MultiByteToWideChar(
        incp, MB_ERR_INVALID_CHARS, reinterpret_cast<const char *>(read.bytes),
        read.count, units, 2);
    if (unitCount == 0) {
      DWORD code = GetLastError();
      if (code != ERROR_NO_UNICODE_TRANSLATION) {
        PrintSystemError(code);
        return false;
      }
      ++ConversionCounters.inputNoUnicode;
      RunFallbackChain(out, outcp, 0, 0);
      return true;
    }
    current = units[0];
    if (unitCount == 2)
      current = JoinSurrogates(units[0], units[1]);
    if (outcp == kUtf16CodePage) {
      // One character, of one unit or of a pair.
      const unsigned char bytes[4] = {
          static_cast<unsigned char>(units[0] & 0xFF),
          static_cast<unsigned char>(units[0] >> 8),
          static_cast<unsigned char>(units[1] & 0xFF),
          static_cast<unsigned char>(units[1] >> 8)};
      out.Write(bytes, static_cast<std::size_t>(2 * unitCount));
      ConversionCounters.outputBytes += 2 * unitCount;
      ++ConversionCounters.outputChars;
      if (slot != nullptr && unitCount == 1)
        *slot = DirectMappings::Pack(bytes, 2);
      return true;
    }
  }

  const char32_t decoded = current;
  ApplyScriptPreference(outcp, current);
  int usedDefault = 0;
  int length = EncodeOutputChar(outcp, current, &usedDefault);
  if (length == 0) {
    DWORD code = GetLastError();
    if (code != ERROR_INVALID_PARAMETER) {
      PrintSystemError(code);
      return false;
    }
    RunFallbackChain(out, outcp, current, decoded);
  } else if (usedDefault) {
    RunFallbackChain(out, outcp, current, decoded);
  } else {
    const int written = length > 2 ? length : OutputCharBuffer[1] != 0 ? 2 : 1;
    if (slot != nullptr)
      *slot = DirectMappings::Pack(OutputCharBuffer, written);
    WriteOutputChar(out, OutputCharBuffer, length);
  }
  return true;
}

// Where a character is remembered, if it can be: by its byte, its lead and
// trail bytes, or its UTF-16 unit.
std::uint64_t *SlotOf(DirectMappings &direct, InputKind kind,
                      const CharRead &read) {
  const unsigned char *b = read.bytes;
  switch (kind) {
  case InputKind::kSingleByte:
    return &direct.ForByte(b[0]);
  case InputKind::kDoubleByte:
  case InputKind::kGb18030:
    if (read.count == 1)
      return &direct.ForByte(b[0]);
    return read.count == 2 ? &direct.ForWide(b[0] << 8 | b[1]) : nullptr;
  case InputKind::kUtf16:
    return read.count == 2 ? &direct.ForWide(b[0] | b[1] << 8) : nullptr;
  case InputKind::kUtf8:
    return read.count <= 3 ? &direct.ForWide(Utf8Decode(b, read.count))
                           : nullptr;
  }
  return nullptr;
}

// Shows the bytes of a character cut off by the end of the input.
void PrintTruncatedChar(const CharRead &read) {
  if (read.count == 1) {
    std::printf(kOrphanedLeadByteFormat, static_cast<unsigned>(read.bytes[0]));
    return;
  }
  std::fputs("Last input bytes (", stdout);
  for (int i = 0; i < read.count; ++i)
    std::printf(i == 0 ? "0x%02X" : " 0x%02X",
                static_cast<unsigned>(read.bytes[i]));
  std::fputs(kIncompleteCharText, stdout);
}

} // namespace

void ConvertFile(const char *inFile, int incp, const char *outFile, int outcp,
                 const char *defCharText) {
  if (incp == outcp) {
    std::fputs(kSameCodePagesText, stdout);
    WriteLineEnd();
    return;
  }

  const bool utf16Input = incp == kUtf16CodePage;
  const bool utf16Output = outcp == kUtf16CodePage;
  CPINFO inInfo{};
  if (!utf16Input && !AcceptCodePage(incp, &inInfo))
    return;
  if (utf16Output || outcp == kUtf8CodePage) {
    // For the Unicode code pages the default character is a Unicode value.
    ParseDefaultChar(defCharText, DefaultCharBuffer, nullptr);
  } else {
    CPINFO outInfo{};
    if (!AcceptCodePage(outcp, &outInfo))
      return;
    ParseDefaultChar(defCharText, DefaultCharBuffer, outInfo.DefaultChar);
  }
  // Lead bytes as a table: one read per byte instead of a range search.
  bool leadByte[256] = {};
  if (!utf16Input && inInfo.MaxCharSize > 1)
    for (int byte = 0; byte < 256; ++byte)
      leadByte[byte] =
          IsLeadByte(static_cast<unsigned char>(byte), inInfo.LeadByte);
  const InputKind inputKind = utf16Input                 ? InputKind::kUtf16
                              : incp == kUtf8CodePage    ? InputKind::kUtf8
                              : incp == kGb18030CodePage ? InputKind::kGb18030
                              : inInfo.MaxCharSize > 1 ? InputKind::kDoubleByte
                                                       : InputKind::kSingleByte;
  // A surrogate pair in UTF-16 input is one character only where the output
  // code page can take characters beyond U+FFFF whole.
  const bool combineSurrogates =
      outcp == kUtf8CodePage || outcp == kGb18030CodePage;
  ConversionCounters = {};
  lastRun = {};

  InputFile in;
  if (!in.Open(inFile)) {
    std::printf(kCannotOpenInputFormat, inFile,
                std::strerror(in.errorNumber()));
    WriteLineEnd();
    return;
  }
  if (SameFile(in, outFile)) {
    std::fputs(kSameFileText, stdout);
    WriteLineEnd();
    return;
  }
  OutputFile out;
  if (!out.Create(outFile)) {
    std::printf(kCannotCreateOutputFormat, outFile,
                std::strerror(out.errorNumber()));
    WriteLineEnd();
    return;
  }

  DirectMappings direct(inputKind);
  // Characters written from the remembered mappings are counted here and
  // added to the counters before anything else reads them.
  std::int64_t directChars = 0, directInBytes = 0, directOutBytes = 0;
  auto settleDirectCounts = [&] {
    ConversionCounters.inputChars += directChars;
    ConversionCounters.outputChars += directChars;
    ConversionCounters.inputBytes += directInBytes;
    ConversionCounters.outputBytes += directOutBytes;
    directChars = directInBytes = directOutBytes = 0;
  };

  bool writeErrorShown = false;
  bool serviceFailed = false;
  for (;;) {
    switch (inputKind) {
#define ODRIM_STRETCH(kind)                                                    \
  case kind:                                                                   \
    directChars += direct.Stretch<kind>(in, out, leadByte, directInBytes,      \
                                        directOutBytes);                       \
    break;
      ODRIM_STRETCH(InputKind::kSingleByte)
      ODRIM_STRETCH(InputKind::kDoubleByte)
      ODRIM_STRETCH(InputKind::kUtf16)
      ODRIM_STRETCH(InputKind::kUtf8)
      ODRIM_STRETCH(InputKind::kGb18030)
#undef ODRIM_STRETCH
    }
    if (in.AtEnd())
      break;
    settleDirectCounts();
    if (out.Failed()) {
      std::printf(kCannotWriteOutputFormat, outFile,
                  std::strerror(out.errorNumber()));
      WriteLineEnd();
      writeErrorShown = true;
      break;
    }

    const CharRead read = ReadChar(in, inputKind, leadByte, combineSurrogates);
    if (!utf16Input || read.state == CharRead::kHalfUnit)
      SetInputChar(read.bytes, read.count);
    switch (read.state) {
    case CharRead::kComplete:
      if (!ConvertChar(out, incp, outcp, read,
                       SlotOf(direct, inputKind, read))) {
        serviceFailed = true;
        break;
      }
      FinishChar(read.count);
      continue;
    case CharRead::kHalfUnit:
      std::printf(kHalfUtf16CharFormat, static_cast<unsigned>(read.bytes[0]));
      break;
    case CharRead::kTruncated:
      PrintTruncatedChar(read);
      break;
    case CharRead::kMalformed:
      break;
    }
    if (serviceFailed)
      break;
    // A character without a Unicode value.
    ++ConversionCounters.inputNoUnicode;
    RunFallbackChain(out, outcp, 0, 0);
    FinishChar(read.count);
  }
  settleDirectCounts();

  if (in.errorNumber() != 0) {
    std::printf(kCannotReadInputFormat, inFile,
                std::strerror(in.errorNumber()));
    WriteLineEnd();
  }
  const bool closed = out.Close();
  if (!closed && !writeErrorShown) {
    std::printf(kCannotWriteOutputFormat, outFile,
                std::strerror(out.errorNumber()));
    WriteLineEnd();
  }
  lastRun.completed = closed && !serviceFailed && in.errorNumber() == 0;
  lastRun.bytesRead = in.bytesRead();
  lastRun.bytesWritten = out.bytesWritten();
  assert(CheckRunInvariants().empty());
  PrintSummary();
}
