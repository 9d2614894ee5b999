#include "convert/report.h"

#include <cinttypes>
#include <cstdio>

#include "convert/console.h"

void PrintCharBytes(const unsigned char *charBytes) {
  const int length = CharCodeLength(charBytes);
  if (length == 1) {
    std::printf("  0x%02X", charBytes[0]);
    return;
  }
  std::fputs("0x", stdout);
  for (int i = 0; i < length; ++i)
    std::printf("%02X", charBytes[i]);
}

void ReportImperfectMapping(const unsigned char *inputCharBytes,
                            char32_t unicodeValue, std::uint16_t variantValue,
                            const unsigned char *outputCharBytes,
                            MappingKind kind) {
  if (!reportHeaderShown) {
    static const char *const kHeader[] = {
        "\nImperfect mappings",
        "---------------------------------------------------------------------"
        "--------",
        "in byte   in char  in char value           out byte  out char  out "
        "char",
        "offset    offset   codepg unicode variant  offset    offset    chosen",
        "--------  -------  ----------------------  --------  --------  "
        "--------------",
    };
    for (const char *line : kHeader) {
      std::fputs(line, stdout);
      WriteLineEnd();
    }
    reportHeaderShown = true;
  }

  ++lastRun.reportRows;
  std::printf("%8" PRId64 " %8" PRId64 "  ", ConversionCounters.inputBytes,
              ConversionCounters.inputChars);
  PrintCharBytes(inputCharBytes);
  std::printf(" U+%4X ", static_cast<unsigned>(unicodeValue));
  if (variantValue != 0)
    std::printf(" U+%4X  ", static_cast<unsigned>(variantValue));
  else
    std::fputs("         ", stdout);
  std::printf("%9" PRId64 " %9" PRId64 "  ", ConversionCounters.outputBytes,
              ConversionCounters.outputChars);
  if (outputCharBytes == nullptr) {
    std::fputs("null  -default", stdout);
  } else {
    PrintCharBytes(outputCharBytes);
    std::fputs(kind == kMappedToVariant ? "-variant" : "-default", stdout);
  }
  WriteLineEnd();
}
