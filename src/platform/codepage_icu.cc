// The code page services on ICU: one converter per supported code page,
// opened at its first use and kept for the life of the process.
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>

#include "platform/codepage.h"
#include "platform/utf16.h"
#include "platform/utf8.h"

namespace {

struct CodePageRow {
  int number;
  const char *converter; // ICU's name of the table this code page uses
};

// Every supported code page and the ICU converter behind it, in ascending
// order. Windows tables are used where ICU has them; the IBM and Macintosh
// tables listed carry the same mappings for their code pages.
constexpr CodePageRow kCodePages[] = {
    {37, "ibm-37_P100-1995"},
    {437, "ibm-437_P100-1995"},
    {500, "ibm-500_P100-1995"},
    {720, "ibm-720_P100-1997"},
    {737, "ibm-737_P100-1997"},
    {775, "ibm-775_P100-1996"},
    {850, "ibm-850_P100-1995"},
    {852, "ibm-852_P100-1995"},
    {855, "ibm-855_P100-1995"},
    {857, "ibm-857_P100-1995"},
    {858, "ibm-858_P100-1997"},
    {860, "ibm-860_P100-1995"},
    {861, "ibm-861_P100-1995"},
    {862, "ibm-862_P100-1995"},
    {863, "ibm-863_P100-1995"},
    {864, "ibm-864_X110-1999"},
    {865, "ibm-865_P100-1995"},
    {866, "ibm-866_P100-1995"},
    {869, "ibm-869_P100-1995"},
    {874, "windows-874-2000"},
    {875, "ibm-875_P100-1995"},
    {932, "ibm-943_P15A-2003"},
    {936, "windows-936-2000"},
    {949, "windows-949-2000"},
    {950, "windows-950-2000"},
    {1026, "ibm-1026_P100-1995"},
    {1047, "ibm-1047_P100-1995"},
    {1140, "ibm-1140_P100-1997"},
    {1250, "ibm-5346_P100-1998"},
    {1251, "ibm-5347_P100-1998"},
    {1252, "ibm-5348_P100-1997"},
    {1253, "ibm-5349_P100-1998"},
    {1254, "ibm-5350_P100-1998"},
    {1255, "ibm-9447_P100-2002"},
    {1256, "ibm-9448_X100-2005"},
    {1257, "ibm-9449_P100-2002"},
    {1258, "ibm-5354_P100-1998"},
    {10000, "macos-0_2-10.2"},
    {10006, "macos-6_2-10.4"},
    {10007, "macos-7_3-10.2"},
    {10029, "macos-29-10.2"},
    {10081, "macos-35-10.2"},
    {20127, "US-ASCII"},
    {20866, "ibm-878_P100-1996"},
    {21866, "ibm-1168_P100-2002"},
    {28591, "ISO-8859-1"},
    {28592, "ibm-912_P100-1995"},
    {28593, "ibm-913_P100-2000"},
    {28594, "ibm-914_P100-1995"},
    {28595, "ibm-915_P100-1995"},
    {28596, "ibm-1089_P100-1995"},
    {28597, "ibm-9005_X110-2007"},
    {28598, "ibm-5012_P100-1999"},
    {28599, "ibm-920_P100-1995"},
    {28603, "ibm-921_P100-1995"},
    {28605, "ibm-923_P100-1998"},
    {54936, "gb18030"},
    {65001, "UTF-8"},
};
constexpr std::size_t kCodePageCount = std::size(kCodePages);

// Per-character answers, each asked of the converter the first time it is
// needed, so that a one-character call costs a table read instead of a
// converter call, and a small file pays only for the characters it holds.
constexpr std::int32_t kNoMapping = -1;    // the bytes have no Unicode value
constexpr std::int32_t kAskConverter = -2; // not one unit: the converter says
constexpr std::uint64_t kUnmappable = 0;
constexpr std::uint64_t kEncodeAskConverter = ~std::uint64_t{0};
constexpr std::int32_t kDecodeNotYet = -3;                     // not asked yet
constexpr std::uint64_t kEncodeNotYet = ~std::uint64_t{0} - 1; // not asked yet

// The UTF-16 unit of each byte (one-byte input) or of each trail byte after
// one lead byte: 1 KiB.
struct DecodeRow {
  std::int32_t unit[256];
};
// For 256 consecutive UTF-16 units: length << 32 | the (up to 4) bytes, the
// first in the highest byte; or kUnmappable: 2 KiB.
struct EncodeBlock {
  std::uint64_t code[256];
};

// At most 257 decode rows and 256 encode blocks per code page (about
// 769 KiB), fewer in practice: a row or block is allocated when the first
// of its entries is needed.
struct OpenCodePage {
  UConverter *converter = nullptr;
  bool utf8 = false;              // decoded and encoded by arithmetic
  bool stopOnInvalidInput = true; // the to-Unicode callback now set
  CPINFO info{};
  std::unique_ptr<DecodeRow> single;
  std::unique_ptr<DecodeRow> pairs[256];    // by lead byte
  std::unique_ptr<EncodeBlock> blocks[256]; // by high byte of the unit
};

struct OpenCodePages {
  OpenCodePage pages[kCodePageCount];
  ~OpenCodePages() {
    for (OpenCodePage &page : pages)
      if (page.converter != nullptr)
        ucnv_close(page.converter);
  }
};

OpenCodePages openCodePages;
thread_local DWORD lastError = 0;

// Encodes one code point with round-trip mappings only; returns the byte
// count, or 0 when the code page has no such mapping. ICU drops some
// unmappable default-ignorable characters without an error, so an empty
// result counts as unmappable too.
int EncodeCodePoint(UConverter *converter, const UChar *units, int unitCount,
                    char *bytes, int capacity) {
  UErrorCode status = U_ZERO_ERROR;
  int length =
      ucnv_fromUChars(converter, bytes, capacity, units, unitCount, &status);
  if (U_FAILURE(status))
    return 0;
  return length;
}

void FillCodePageInfo(int number, UConverter *converter, CPINFO *info) {
  std::memset(info, 0, sizeof *info);
  info->MaxCharSize = static_cast<UINT>(ucnv_getMaxCharSize(converter));
  // UTF-8 and GB18030 have characters of up to 4 bytes; GB18030 starts each
  // of its two- and four-byte characters with 0x81 to 0xFE, and UTF-8 has no
  // lead bytes in this sense (it is read by its own rules).
  if (number == kUtf8CodePage || number == kGb18030CodePage)
    info->MaxCharSize = 4;
  if (number == kGb18030CodePage) {
    info->LeadByte[0] = 0x81;
    info->LeadByte[1] = 0xFE;
  }

  const UChar questionMark = u'?';
  char bytes[8];
  int length =
      EncodeCodePoint(converter, &questionMark, 1, bytes, sizeof bytes);
  for (int i = 0; i < length && i < MAX_DEFAULTCHAR; ++i)
    info->DefaultChar[i] = static_cast<BYTE>(bytes[i]);

  if (info->MaxCharSize <= 1 || number == kUtf8CodePage ||
      number == kGb18030CodePage)
    return;
  UBool starters[256];
  UErrorCode status = U_ZERO_ERROR;
  ucnv_getStarters(converter, starters, &status);
  if (U_FAILURE(status))
    return; // algorithmic converters have no lead bytes
  int pair = 0;
  for (int byte = 1; byte < 256 && pair < MAX_LEADBYTES / 2;) {
    if (!starters[byte]) {
      ++byte;
      continue;
    }
    int last = byte;
    while (last + 1 < 256 && starters[last + 1])
      ++last;
    info->LeadByte[2 * pair] = static_cast<BYTE>(byte);
    info->LeadByte[2 * pair + 1] = static_cast<BYTE>(last);
    ++pair;
    byte = last + 1;
  }
}

int ResolveCodePageNumber(int codePage) {
  switch (codePage) {
  case CP_ACP:
    return static_cast<int>(GetACP());
  case CP_OEMCP:
    return static_cast<int>(GetOEMCP());
  case CP_MACCP:
    return static_cast<int>(GetMacCP());
  default:
    return codePage;
  }
}

// The opened code page for a number, or null with last error 87.
[[gnu::noinline]] OpenCodePage *FindCodePageSlow(int codePage);

// A conversion asks for the same two code pages for every character: the
// last two found are answered without a search. Numbers 0 to 2 follow the
// locale and are resolved every time.
struct RecentCodePage {
  int number = -1;
  OpenCodePage *page = nullptr;
};
RecentCodePage recent[2];

inline OpenCodePage *FindCodePage(int codePage) {
  if (codePage > CP_MACCP) {
    if (recent[0].number == codePage)
      return recent[0].page;
    if (recent[1].number == codePage)
      return recent[1].page;
  }
  OpenCodePage *page = FindCodePageSlow(codePage);
  if (page != nullptr && codePage > CP_MACCP) {
    recent[1] = recent[0];
    recent[0] = {codePage, page};
  }
  return page;
}

OpenCodePage *FindCodePageSlow(int codePage) {
  int number = ResolveCodePageNumber(codePage);
  const CodePageRow *row = std::lower_bound(
      std::begin(kCodePages), std::end(kCodePages), number,
      [](const CodePageRow &r, int n) { return r.number < n; });
  if (row == std::end(kCodePages) || row->number != number) {
    lastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  OpenCodePage &page = openCodePages.pages[row - kCodePages];
  if (page.converter == nullptr) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *converter = ucnv_open(row->converter, &status);
    if (U_FAILURE(status)) {
      lastError = ERROR_INVALID_PARAMETER;
      return nullptr;
    }
    status = U_ZERO_ERROR;
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_STOP, nullptr,
                          nullptr, nullptr, &status);
    ucnv_setToUCallBack(converter, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr,
                        nullptr, &status);
    ucnv_setFallback(converter, false);
    page.converter = converter;
    page.stopOnInvalidInput = true;
    page.utf8 = row->number == kUtf8CodePage;
    FillCodePageInfo(row->number, converter, &page.info);
  }
  return &page;
}

void SetStopOnInvalidInput(OpenCodePage *page, bool stop) {
  if (stop == page->stopOnInvalidInput)
    return;
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(page->converter,
                      stop ? UCNV_TO_U_CALLBACK_STOP
                           : UCNV_TO_U_CALLBACK_SUBSTITUTE,
                      nullptr, nullptr, nullptr, &status);
  page->stopOnInvalidInput = stop;
}

// Decodes bytes as the converter does with MB_ERR_INVALID_CHARS.
std::int32_t DecodeWithConverter(OpenCodePage *page, const char *bytes,
                                 int count) {
  SetStopOnInvalidInput(page, true);
  UChar units[4];
  UErrorCode status = U_ZERO_ERROR;
  int length = ucnv_toUChars(page->converter, units, 4, bytes, count, &status);
  if (U_FAILURE(status) && status != U_BUFFER_OVERFLOW_ERROR)
    return kNoMapping;
  return length == 1 ? units[0] : kAskConverter;
}

[[gnu::noinline]] std::int32_t *NewDecodeRow(std::unique_ptr<DecodeRow> &row) {
  row = std::make_unique<DecodeRow>();
  std::fill(std::begin(row->unit), std::end(row->unit), kDecodeNotYet);
  return row->unit;
}

// The table's answer for one or two bytes, asking the converter the first
// time each byte sequence is met.
inline std::int32_t DecodeEntry(OpenCodePage *page, const char *bytes,
                                int count) {
  const unsigned char *b = reinterpret_cast<const unsigned char *>(bytes);
  std::unique_ptr<DecodeRow> &row =
      count == 1 ? page->single : page->pairs[b[0]];
  std::int32_t &entry =
      (row ? row->unit : NewDecodeRow(row))[count == 1 ? b[0] : b[1]];
  if (entry == kDecodeNotYet)
    entry = DecodeWithConverter(page, bytes, count);
  return entry;
}

[[gnu::noinline]] std::uint64_t EncodeWithTablesOnce(OpenCodePage *page,
                                                     char16_t unit) {
  const UChar source = unit;
  char bytes[8];
  int length =
      EncodeCodePoint(page->converter, &source, 1, bytes, sizeof bytes);
  if (length == 0)
    return kUnmappable;
  if (length > 4)
    return kEncodeAskConverter;
  std::uint64_t code = static_cast<std::uint64_t>(length) << 32;
  for (int i = 0; i < length; ++i)
    code |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i]))
            << (24 - 8 * i);
  return code;
}

[[gnu::noinline]] std::uint64_t *
NewEncodeBlock(std::unique_ptr<EncodeBlock> &block) {
  block = std::make_unique<EncodeBlock>();
  std::fill(std::begin(block->code), std::end(block->code), kEncodeNotYet);
  return block->code;
}

// The table's answer for one code unit, asking the converter the first time
// each unit is met.
inline std::uint64_t EncodeEntry(OpenCodePage *page, char16_t unit) {
  std::unique_ptr<EncodeBlock> &block = page->blocks[unit >> 8];
  std::uint64_t &entry =
      (block ? block->code : NewEncodeBlock(block))[unit & 0xFF];
  if (entry == kEncodeNotYet)
    entry = EncodeWithTablesOnce(page, unit);
  return entry;
}

// UTF-8 by arithmetic: the units of valid input, or 0 with last error 1113
// (invalid bytes) or 122 (no room).
int DecodeUtf8(const unsigned char *bytes, int count, char16_t *wide,
               int wideCapacity) {
  int units = 0;
  for (int i = 0; i < count;) {
    const int length = Utf8SequenceLength(bytes[i]);
    bool valid = length > 0 && i + length <= count;
    for (int k = 1; valid && k < length; ++k)
      valid = Utf8Continues(bytes[i], k, bytes[i + k]);
    if (!valid) {
      lastError = ERROR_NO_UNICODE_TRANSLATION;
      return 0;
    }
    const char32_t codePoint = Utf8Decode(bytes + i, length);
    const int needed = codePoint > 0xFFFF ? 2 : 1;
    if (wideCapacity > 0) {
      if (units + needed > wideCapacity) {
        lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
      }
      SplitCodePoint(codePoint, wide + units);
    }
    units += needed;
    i += length;
  }
  return units;
}

// UTF-8 by arithmetic; a lone surrogate becomes the default character.
int EncodeUtf8(const char16_t *wide, int wideCount, char *multiByte,
               int multiByteCapacity, const char *substitute,
               BOOL *usedDefault) {
  int total = 0;
  bool substituted = false;
  for (int i = 0; i < wideCount;) {
    unsigned char bytes[4];
    int length;
    const char16_t unit = wide[i];
    if (IsHighSurrogate(unit) && i + 1 < wideCount &&
        IsLowSurrogate(wide[i + 1])) {
      length = Utf8Encode(JoinSurrogates(unit, wide[i + 1]), bytes);
      i += 2;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      substituted = true;
      length = substitute[1] != '\0' ? 2 : 1;
      bytes[0] = static_cast<unsigned char>(substitute[0]);
      bytes[1] = static_cast<unsigned char>(substitute[1]);
      ++i;
    } else {
      length = Utf8Encode(unit, bytes);
      ++i;
    }
    if (multiByteCapacity > 0) {
      if (total + length > multiByteCapacity) {
        lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
      }
      std::memcpy(multiByte + total, bytes, static_cast<std::size_t>(length));
    }
    total += length;
  }
  if (usedDefault != nullptr)
    *usedDefault = substituted ? TRUE : FALSE;
  return total;
}

// The converter's own answers, for what the tables do not hold.
[[gnu::noinline]] int DecodeWithConverterCall(OpenCodePage *page, bool stop,
                                              const char *multiByte,
                                              int multiByteCount,
                                              char16_t *wide, int wideCapacity);
[[gnu::noinline]] int
EncodeWithConverterCall(OpenCodePage *page, const char16_t *wide, int wideCount,
                        char *multiByte, int multiByteCapacity,
                        const char *defaultChar, BOOL *usedDefault);

} // namespace

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

BOOL GetCPInfo(int codePage, CPINFO *info) {
  if (info == nullptr) {
    lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  OpenCodePage *page = FindCodePage(codePage);
  if (page == nullptr)
    return FALSE;
  *info = page->info;
  return TRUE;
}

int MultiByteToWideChar(int codePage, DWORD flags, const char *multiByte,
                        int multiByteCount, char16_t *wide, int wideCapacity) {
  if (multiByte == nullptr || multiByteCount <= 0 || wideCapacity < 0 ||
      (wide == nullptr && wideCapacity > 0)) {
    lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  OpenCodePage *page = FindCodePage(codePage);
  if (page == nullptr)
    return 0;

  bool stop = (flags & MB_ERR_INVALID_CHARS) != 0;
  if (page->utf8 && stop)
    return DecodeUtf8(reinterpret_cast<const unsigned char *>(multiByte),
                      multiByteCount, wide, wideCapacity);
  if (stop && multiByteCount <= 2 && wideCapacity >= 1) {
    std::int32_t unit = DecodeEntry(page, multiByte, multiByteCount);
    if (unit >= 0) {
      wide[0] = static_cast<char16_t>(unit);
      return 1;
    }
    if (unit == kNoMapping) {
      lastError = ERROR_NO_UNICODE_TRANSLATION;
      return 0;
    }
  }
  return DecodeWithConverterCall(page, stop, multiByte, multiByteCount, wide,
                                 wideCapacity);
}

namespace {

int DecodeWithConverterCall(OpenCodePage *page, bool stop,
                            const char *multiByte, int multiByteCount,
                            char16_t *wide, int wideCapacity) {
  SetStopOnInvalidInput(page, stop);
  UErrorCode status = U_ZERO_ERROR;
  int length = ucnv_toUChars(page->converter, reinterpret_cast<UChar *>(wide),
                             wideCapacity, multiByte, multiByteCount, &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    if (wideCapacity == 0)
      return length;
    lastError = ERROR_INSUFFICIENT_BUFFER;
    return 0;
  }
  if (U_FAILURE(status)) {
    lastError = ERROR_NO_UNICODE_TRANSLATION;
    return 0;
  }
  return length;
}

} // namespace

int WideCharToMultiByte(int codePage, DWORD /*flags*/, const char16_t *wide,
                        int wideCount, char *multiByte, int multiByteCapacity,
                        const char *defaultChar, BOOL *usedDefault) {
  if (wide == nullptr || wideCount <= 0 || multiByteCapacity < 0 ||
      (multiByte == nullptr && multiByteCapacity > 0)) {
    lastError = ERROR_INVALID_PARAMETER;
    return 0;
  }
  OpenCodePage *page = FindCodePage(codePage);
  if (page == nullptr)
    return 0;

  if (page->utf8) {
    const char *substitute =
        defaultChar != nullptr && defaultChar[0] != '\0'
            ? defaultChar
            : reinterpret_cast<const char *>(page->info.DefaultChar);
    return EncodeUtf8(wide, wideCount, multiByte, multiByteCapacity, substitute,
                      usedDefault);
  }
  if (wideCount == 1 && defaultChar == nullptr && multiByteCapacity >= 4) {
    std::uint64_t code = EncodeEntry(page, wide[0]);
    if (code != kEncodeAskConverter) {
      int length;
      if (code == kUnmappable) {
        multiByte[0] = static_cast<char>(page->info.DefaultChar[0]);
        multiByte[1] = static_cast<char>(page->info.DefaultChar[1]);
        length = page->info.DefaultChar[1] != 0 ? 2 : 1;
      } else {
        length = static_cast<int>(code >> 32);
        for (int i = 0; i < length; ++i)
          multiByte[i] = static_cast<char>(code >> (24 - 8 * i) & 0xFF);
      }
      if (usedDefault != nullptr)
        *usedDefault = code == kUnmappable ? TRUE : FALSE;
      return length;
    }
  }

  return EncodeWithConverterCall(page, wide, wideCount, multiByte,
                                 multiByteCapacity, defaultChar, usedDefault);
}

namespace {

int EncodeWithConverterCall(OpenCodePage *page, const char16_t *wide,
                            int wideCount, char *multiByte,
                            int multiByteCapacity, const char *defaultChar,
                            BOOL *usedDefault) {
  char substitute[MAX_DEFAULTCHAR + 1] = {};
  if (defaultChar != nullptr && defaultChar[0] != '\0') {
    substitute[0] = defaultChar[0];
    substitute[1] = defaultChar[1];
  } else {
    substitute[0] = static_cast<char>(page->info.DefaultChar[0]);
    substitute[1] = static_cast<char>(page->info.DefaultChar[1]);
  }
  int substituteLength = substitute[1] != '\0' ? 2 : 1;

  const UChar *units = reinterpret_cast<const UChar *>(wide);
  bool substituted = false;
  int total = 0;
  for (int i = 0; i < wideCount;) {
    int unitCount = 1;
    if (U16_IS_LEAD(units[i]) && i + 1 < wideCount &&
        U16_IS_TRAIL(units[i + 1]))
      unitCount = 2;
    char bytes[UCNV_GET_MAX_BYTES_FOR_STRING(2, 4)];
    int length = EncodeCodePoint(page->converter, units + i, unitCount, bytes,
                                 sizeof bytes);
    const char *source = bytes;
    if (length == 0) {
      substituted = true;
      source = substitute;
      length = substituteLength;
    }
    if (multiByteCapacity > 0) {
      if (total + length > multiByteCapacity) {
        lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
      }
      std::memcpy(multiByte + total, source, static_cast<std::size_t>(length));
    }
    total += length;
    i += unitCount;
  }
  if (usedDefault != nullptr)
    *usedDefault = substituted ? TRUE : FALSE;
  return total;
}

} // namespace

BOOL EnumSystemCodePagesA(CODEPAGE_ENUMPROCA proc, DWORD flags) {
  if (proc == nullptr || (flags != CP_INSTALLED && flags != CP_SUPPORTED)) {
    lastError = ERROR_INVALID_PARAMETER;
    return FALSE;
  }
  for (const CodePageRow &row : kCodePages) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", row.number);
    if (proc(text) == FALSE)
      break;
  }
  return TRUE;
}
