// The per-character tables of the code page services against ICU called
// directly, over every byte, every byte pair and every UTF-16 code unit.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <memory>

#include "platform/codepage.h"
#include "platform/utf16.h"

namespace {

struct CloseConverter {
  void operator()(UConverter *c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, CloseConverter>;

Converter Open(const char *name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(name, &status));
  EXPECT_TRUE(U_SUCCESS(status)) << name;
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr,
                      nullptr, nullptr, &status);
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr,
                        nullptr, nullptr, &status);
  ucnv_setFallback(converter.get(), false);
  return converter;
}

// ICU's answer: the units, or none for bytes without a mapping.
std::u16string IcuDecode(UConverter *converter, const char *bytes, int count) {
  UChar units[8];
  UErrorCode status = U_ZERO_ERROR;
  int length = ucnv_toUChars(converter, units, 8, bytes, count, &status);
  if (U_FAILURE(status))
    return u"";
  return std::u16string(reinterpret_cast<char16_t *>(units), length);
}

std::string IcuEncode(UConverter *converter, char16_t unit) {
  char bytes[8];
  UErrorCode status = U_ZERO_ERROR;
  const UChar source = unit;
  int length = ucnv_fromUChars(converter, bytes, 8, &source, 1, &status);
  if (U_FAILURE(status))
    return "";
  return std::string(bytes, length);
}

const struct {
  int codePage;
  const char *converter;
} kCodePages[] = {
    {1252, "ibm-5348_P100-1997"}, {437, "ibm-437_P100-1995"},
    {932, "ibm-943_P15A-2003"},   {936, "windows-936-2000"},
    {949, "windows-949-2000"},    {950, "windows-950-2000"},
    {37, "ibm-37_P100-1995"},
};

void ExpectDecodeLikeIcu(int codePage, UConverter *converter, const char *bytes,
                         int count) {
  std::u16string expected = IcuDecode(converter, bytes, count);
  char16_t unit = 0;
  SetLastError(0);
  int result = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, count,
                                   &unit, 1);
  SCOPED_TRACE(testing::Message()
               << codePage << " bytes " << std::hex
               << (static_cast<unsigned>(static_cast<unsigned char>(bytes[0])))
               << " "
               << (count > 1 ? static_cast<unsigned>(
                                   static_cast<unsigned char>(bytes[1]))
                             : 0u));
  if (expected.empty()) {
    ASSERT_EQ(result, 0);
    ASSERT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  } else if (expected.size() == 1) {
    ASSERT_EQ(result, 1);
    ASSERT_EQ(static_cast<int>(unit), static_cast<int>(expected[0]));
  } else {
    ASSERT_EQ(result, 0);
    ASSERT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  }
}

} // namespace

TEST(CodePageTables, DecodingEqualsIcuForEveryByteAndBytePair) {
  for (const auto &page : kCodePages) {
    Converter converter = Open(page.converter);
    for (int first = 0; first < 256; ++first) {
      const char one[1] = {static_cast<char>(first)};
      ExpectDecodeLikeIcu(page.codePage, converter.get(), one, 1);
      for (int second = 0; second < 256; ++second) {
        const char two[2] = {static_cast<char>(first),
                             static_cast<char>(second)};
        ExpectDecodeLikeIcu(page.codePage, converter.get(), two, 2);
      }
    }
  }
}

TEST(CodePageTables, EncodingEqualsIcuForEveryCodeUnit) {
  for (const auto &page : kCodePages) {
    Converter converter = Open(page.converter);
    CPINFO info;
    ASSERT_TRUE(GetCPInfo(page.codePage, &info));
    const std::string substitute(
        reinterpret_cast<const char *>(info.DefaultChar),
        info.DefaultChar[1] != 0 ? 2 : 1);
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
      const char16_t unit = static_cast<char16_t>(u);
      std::string expected = IcuEncode(converter.get(), unit);
      char bytes[4] = {};
      BOOL usedDefault = -1;
      int result = WideCharToMultiByte(page.codePage, 0, &unit, 1, bytes, 4,
                                       nullptr, &usedDefault);
      SCOPED_TRACE(testing::Message()
                   << page.codePage << " U+" << std::hex << u);
      if (expected.empty()) {
        ASSERT_EQ(std::string(bytes, result), substitute);
        ASSERT_EQ(usedDefault, TRUE);
      } else {
        ASSERT_EQ(std::string(bytes, result), expected);
        ASSERT_EQ(usedDefault, FALSE);
      }
    }
  }
}

// UTF-8 and GB18030: every code point encodes as ICU encodes it and decodes
// back from those bytes; every one- and two-byte sequence decodes as in ICU.
TEST(CodePageTables, Utf8AndGb18030EqualIcuForEveryCodePoint) {
  for (const auto &page :
       {std::pair{65001, "UTF-8"}, std::pair{54936, "gb18030"}}) {
    Converter converter = Open(page.second);
    for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
      if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        continue;
      char16_t units[2] = {};
      const int unitCount = SplitCodePoint(codePoint, units);
      char expected[8];
      UErrorCode status = U_ZERO_ERROR;
      int expectedLength =
          ucnv_fromUChars(converter.get(), expected, 8,
                          reinterpret_cast<UChar *>(units), unitCount, &status);
      ASSERT_TRUE(U_SUCCESS(status));
      char bytes[4] = {};
      BOOL usedDefault = -1;
      int length = WideCharToMultiByte(page.first, 0, units, unitCount, bytes,
                                       4, nullptr, &usedDefault);
      SCOPED_TRACE(testing::Message() << page.first << " U+" << std::hex
                                      << static_cast<unsigned>(codePoint));
      ASSERT_EQ(std::string(bytes, length),
                std::string(expected, expectedLength));
      ASSERT_EQ(usedDefault, FALSE);
      char16_t back[2] = {};
      ASSERT_EQ(MultiByteToWideChar(page.first, MB_ERR_INVALID_CHARS, bytes,
                                    length, back, 2),
                unitCount);
      ASSERT_EQ(back[0], units[0]);
      ASSERT_EQ(back[1], units[1]);
    }
    for (int first = 0; first < 256; ++first) {
      const char one[1] = {static_cast<char>(first)};
      ExpectDecodeLikeIcu(page.first, converter.get(), one, 1);
      for (int second = 0; second < 256; ++second) {
        const char two[2] = {static_cast<char>(first),
                             static_cast<char>(second)};
        ExpectDecodeLikeIcu(page.first, converter.get(), two, 2);
      }
    }
    // Lone surrogates have no mapping in either.
    for (char16_t unit : {u'\xD800', u'\xDBFF', u'\xDC00', u'\xDFFF'}) {
      char bytes[4];
      BOOL usedDefault = FALSE;
      EXPECT_EQ(WideCharToMultiByte(page.first, 0, &unit, 1, bytes, 4, nullptr,
                                    &usedDefault),
                1);
      EXPECT_EQ(bytes[0], '?');
      EXPECT_EQ(usedDefault, TRUE);
    }
  }
}

TEST(CodePageTables, MalformedUtf8HasNoMapping) {
  Converter converter = Open("UTF-8");
  for (const std::string bytes :
       {"\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xED\xA0\x80",
        "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\x80", "\xE4\xB8",
        "\xF0\x9F\x98", "\xFF"}) {
    char16_t units[4];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(65001, MB_ERR_INVALID_CHARS, bytes.data(),
                                  static_cast<int>(bytes.size()), units, 4),
              0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
    EXPECT_EQ(IcuDecode(converter.get(), bytes.data(),
                        static_cast<int>(bytes.size())),
              u"");
  }
}
