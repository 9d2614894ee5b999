// Code page services: turning the bytes of one character of a code page into
// UTF-16 and back, code page facts, the locale's code pages and the texts of
// failure codes. The operations keep the names and the calling contract that
// the converter was designed around; the data behind them comes from ICU,
// which never shows through this header.
#pragma once

#include <cstdint>

using BOOL = int;
using BYTE = unsigned char;
using UINT = unsigned int;
using DWORD = std::uint32_t;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

inline constexpr int MAX_LEADBYTES = 12;
inline constexpr int MAX_DEFAULTCHAR = 2;

struct CPINFO {
  UINT MaxCharSize;                  // longest character, in bytes
  BYTE DefaultChar[MAX_DEFAULTCHAR]; // the code page's '?', second byte 0 when
                                     // one byte
  BYTE
      LeadByte[MAX_LEADBYTES]; // up to six first/last ranges, ended by a 0 byte
};

// Code page numbers resolved through the locale.
inline constexpr int CP_ACP = 0;
inline constexpr int CP_OEMCP = 1;
inline constexpr int CP_MACCP = 2;

// Code pages whose characters take up to 4 bytes.
inline constexpr int kUtf8CodePage = 65001;
inline constexpr int kGb18030CodePage = 54936;

// Flags.
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x0001;
inline constexpr DWORD CP_INSTALLED = 0x0001;
inline constexpr DWORD CP_SUPPORTED = 0x0002;
inline constexpr DWORD FORMAT_MESSAGE_ALLOCATE_BUFFER = 0x0100;
inline constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x0200;
inline constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x1000;
inline constexpr DWORD LANG_NEUTRAL = 0x00;
inline constexpr DWORD SUBLANG_DEFAULT = 0x01;
constexpr DWORD MAKELANGID(DWORD primary, DWORD sub) {
  return (sub << 10) | primary;
}

// Failure codes.
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;
inline constexpr DWORD ERROR_MR_MID_NOT_FOUND = 317;

// Fills *info for codePage; FALSE (last error 87) for an unsupported number.
BOOL GetCPInfo(int codePage, CPINFO *info);

// Decodes multiByteCount bytes into at most wideCapacity UTF-16 units and
// returns the number of units. With MB_ERR_INVALID_CHARS, bytes without a
// mapping fail with ERROR_NO_UNICODE_TRANSLATION. A capacity of 0 asks for
// the size only.
int MultiByteToWideChar(int codePage, DWORD flags, const char *multiByte,
                        int multiByteCount, char16_t *wide, int wideCapacity);

// Encodes wideCount UTF-16 units into at most multiByteCapacity bytes and
// returns the number of bytes. Only round-trip mappings are used; every
// other character becomes defaultChar (the code page's own when null) and
// sets *usedDefault. A capacity of 0 asks for the size only.
int WideCharToMultiByte(int codePage, DWORD flags, const char16_t *wide,
                        int wideCount, char *multiByte, int multiByteCapacity,
                        const char *defaultChar, BOOL *usedDefault);

DWORD GetLastError();
void SetLastError(DWORD code);

// The locale's ANSI, OEM and Macintosh code pages, read from LC_ALL,
// LC_CTYPE or LANG (the first that is set and not empty).
UINT GetACP();
UINT GetOEMCP();
UINT GetMacCP();

// Calls proc once per supported code page, in ascending order, with the
// number as decimal text; stops early when proc returns FALSE.
using CODEPAGE_ENUMPROCA = BOOL (*)(char *codePageText);
BOOL EnumSystemCodePagesA(CODEPAGE_ENUMPROCA proc, DWORD flags);

// Looks up the text of a failure code. With FORMAT_MESSAGE_ALLOCATE_BUFFER,
// buffer is the address of a char pointer that receives a text to be
// released with LocalFree. Returns its length, or 0 when there is no text.
DWORD FormatMessageA(DWORD flags, const void *source, DWORD messageId,
                     DWORD languageId, char *buffer, DWORD size,
                     void *arguments);
void *LocalFree(void *memory);
