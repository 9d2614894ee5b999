#include "convert/run.h"

#include <sys/stat.h>

#include <cassert>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "convert/console.h"
#include "convert/default_char.h"
#include "convert/direct_mappings.h"
#include "convert/fallback.h"
#include "convert/invariants.h"
#include "convert/messages.h"
#include "convert/state.h"
#include "convert/system_error.h"
#include "platform/codepage.h"

bool IsLeadByte(unsigned char byte, const unsigned char *leadBytes) {
  for (int i = 0; i < MAX_LEADBYTES && leadBytes[i] != 0; i += 2)
    if (leadBytes[i] <= byte && byte <= leadBytes[i + 1])
      return true;
  return false;
}

int EncodeOutputChar(int outcp, std::uint16_t unit, int *usedDefault) {
  OutputCharBuffer[0] = 0;
  OutputCharBuffer[1] = 0;
  *usedDefault = 0;
  const char16_t wide = unit;
  return WideCharToMultiByte(outcp, 0, &wide, 1,
                             reinterpret_cast<char *>(OutputCharBuffer),
                             sizeof OutputCharBuffer, nullptr, usedDefault);
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

inline void SetInputChar(unsigned char byte0, unsigned char byte1) {
  InputCharBuffer[0] = byte0;
  InputCharBuffer[1] = byte1;
}

// Takes one character the whole road: decode (code page input), preferred
// form, encode, and write, or the fallback chain. A direct mapping is
// remembered in *slot. False when a code page service failed and the loop
// must end; the character is then not finished.
bool ConvertChar(OutputFile &out, int incp, int outcp, unsigned char first,
                 unsigned char second, int byteCount, std::uint32_t *slot) {
  std::uint16_t current;
  if (incp == kUtf16CodePage) {
    current = static_cast<std::uint16_t>(first | second << 8);
  } else {
    char16_t decodedUnit = 0;
    if (MultiByteToWideChar(incp, MB_ERR_INVALID_CHARS,
                            reinterpret_cast<const char *>(InputCharBuffer),
                            byteCount, &decodedUnit, 1) == 0) {
      DWORD code = GetLastError();
      if (code != ERROR_NO_UNICODE_TRANSLATION) {
        PrintSystemError(code);
        return false;
      }
      ++ConversionCounters.inputNoUnicode;
      RunFallbackChain(out, outcp, 0, 0);
      return true;
    }
    current = decodedUnit;
    if (outcp == kUtf16CodePage) {
      const unsigned char bytes[2] = {
          static_cast<unsigned char>(current & 0xFF),
          static_cast<unsigned char>(current >> 8)};
      *slot = DirectMappings::Pack(bytes, 2);
      WriteUtf16Unit(out, current);
      return true;
    }
  }

  const std::uint16_t decoded = current;
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
    if (length <= 2)
      *slot = DirectMappings::Pack(OutputCharBuffer,
                                   OutputCharBuffer[1] != 0 ? 2 : 1);
    WriteOutputChar(out, OutputCharBuffer, length);
  }
  return true;
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
  if (utf16Output) {
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

  DirectMappings direct(utf16Input || inInfo.MaxCharSize > 1);
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

  const DirectMappings::Input inputKind =
      utf16Input               ? DirectMappings::Input::kUtf16
      : inInfo.MaxCharSize > 1 ? DirectMappings::Input::kDoubleByte
                               : DirectMappings::Input::kSingleByte;

  bool writeErrorShown = false;
  bool serviceFailed = false;
  for (;;) {
    switch (inputKind) {
    case DirectMappings::Input::kUtf16:
      directChars += direct.Stretch<DirectMappings::Input::kUtf16>(
          in, out, leadByte, directInBytes, directOutBytes);
      break;
    case DirectMappings::Input::kDoubleByte:
      directChars += direct.Stretch<DirectMappings::Input::kDoubleByte>(
          in, out, leadByte, directInBytes, directOutBytes);
      break;
    case DirectMappings::Input::kSingleByte:
      directChars += direct.Stretch<DirectMappings::Input::kSingleByte>(
          in, out, leadByte, directInBytes, directOutBytes);
      break;
    }
    if (in.AtEnd())
      break;
    if (out.Failed()) {
      settleDirectCounts();
      std::printf(kCannotWriteOutputFormat, outFile,
                  std::strerror(out.errorNumber()));
      WriteLineEnd();
      writeErrorShown = true;
      break;
    }
    const unsigned char first = in.Next();
    unsigned char second = 0;
    int byteCount = 1;
    std::uint32_t *slot;
    if (utf16Input) {
      if (in.AtEnd()) {
        // An odd final byte: half a code unit, which has no Unicode value.
        settleDirectCounts();
        SetInputChar(first, 0);
        ++ConversionCounters.inputNoUnicode;
        std::printf(kHalfUtf16CharFormat, static_cast<unsigned>(first));
        RunFallbackChain(out, outcp, 0, 0);
        FinishChar(1);
        break;
      }
      second = in.Next();
      byteCount = 2;
      slot = &direct.ForUnit(static_cast<std::uint16_t>(first | second << 8));
    } else if (leadByte[first]) {
      if (in.AtEnd()) {
        settleDirectCounts();
        SetInputChar(first, 0);
        ++ConversionCounters.inputNoUnicode;
        std::printf(kOrphanedLeadByteFormat, static_cast<unsigned>(first));
        RunFallbackChain(out, outcp, 0, 0);
        FinishChar(1);
        continue;
      }
      second = in.Next();
      byteCount = 2;
      slot = &direct.ForPair(first, second);
    } else {
      slot = &direct.ForByte(first);
    }

    if (*slot != 0) {
      directOutBytes += DirectMappings::Write(out, *slot);
      directInBytes += byteCount;
      ++directChars;
      continue;
    }
    settleDirectCounts();
    if (!utf16Input)
      SetInputChar(first, second);
    if (!ConvertChar(out, incp, outcp, first, second, byteCount, slot)) {
      serviceFailed = true;
      break;
    }
    FinishChar(byteCount);
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
