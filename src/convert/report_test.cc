#include "convert/report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Row {
  std::int64_t inBytes, inChars, outBytes, outChars;
  unsigned char input[3];
  std::uint16_t unicodeValue, variantValue;
  const unsigned char *output;
  MappingKind kind;
};

std::string Report(std::initializer_list<Row> rows) {
  reportHeaderShown = false;
  testing::internal::CaptureStdout();
  for (const Row &row : rows) {
    ConversionCounters = {};
    ConversionCounters.inputBytes = row.inBytes;
    ConversionCounters.inputChars = row.inChars;
    ConversionCounters.outputBytes = row.outBytes;
    ConversionCounters.outputChars = row.outChars;
    ReportImperfectMapping(row.input, row.unicodeValue, row.variantValue,
                           row.output, row.kind);
  }
  return testing::internal::GetCapturedStdout();
}

const char kHeader[] =
    "\nImperfect mappings\n"
    "-------------------------------------------------------------------------"
    "----\n"
    "in byte   in char  in char value           out byte  out char  out char\n"
    "offset    offset   codepg unicode variant  offset    offset    chosen\n"
    "--------  -------  ----------------------  --------  --------  "
    "--------------\n";

} // namespace

TEST(ReportImperfectMapping, WritesTheHeaderOnceThenOneRowPerKind) {
  const unsigned char question[3] = {0x3F, 0, 0};
  const unsigned char variant[4] = {0xA4, 0x57, 0, 0};
  std::string text = Report({
      {812,
       406,
       790,
       395,
       {0xB0, 0xA1, 0},
       0x554A,
       0,
       question,
       kMappedToDefault},
      {914,
       457,
       890,
       446,
       {0x81, 0x41, 0},
       0x4E04,
       0x4E0A,
       variant,
       kMappedToVariant},
      {940, 470, 912, 457, {0x81, 0, 0}, 0, 0, nullptr, kDropped},
  });
  EXPECT_EQ(text,
            std::string(kHeader) +
                "     812      406  0xB0A1 U+554A                790       "
                "395    0x3F-default\n"
                "     914      457  0x8141 U+4E04  U+4E0A        890       "
                "446  0xA457-variant\n"
                "     940      470    0x81 U+   0                912       "
                "457  null  -default\n");
}

TEST(ReportImperfectMapping, WideNumbersPushTheRowRightAndAreNeverCut) {
  const unsigned char question[3] = {0x3F, 0, 0};
  std::string text = Report({{123456789012LL,
                              100000000,
                              1000000000,
                              5,
                              {0x41, 0, 0},
                              0x41,
                              0x41,
                              question,
                              kMappedToDefault}});
  EXPECT_EQ(text.substr(sizeof kHeader - 1),
            "123456789012 100000000    0x41 U+  41  U+  41  1000000000         "
            "5    0x3F-default\n");
}

TEST(PrintCharBytes, LengthIsDecidedByByteOneAlone) {
  const struct {
    unsigned char bytes[3];
    const char *expected;
  } cases[] = {
      {{0xB0, 0xA1, 0}, "0xB0A1"},
      {{0x3F, 0, 0}, "  0x3F"},
      {{0x00, 0, 0}, "  0x00"},
      {{0x81, 0x00, 0}, "  0x81"}, // a lead byte followed by a 0 byte
      {{0x00, 0x0A, 0}, "0x000A"},
  };
  for (const auto &c : cases) {
    testing::internal::CaptureStdout();
    PrintCharBytes(c.bytes);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), c.expected);
  }
}
