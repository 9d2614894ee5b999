#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

std::vector<int> SupportedCodePages() {
  static std::vector<int> pages;
  pages.clear();
  EnumSystemCodePagesA(
      [](char *text) -> BOOL {
        pages.push_back(std::atoi(text));
        return TRUE;
      },
      CP_INSTALLED);
  return pages;
}

std::string Bytes(const char *text, int length) {
  return std::string(text, length);
}

// Sets the locale variables for one test and restores them afterwards.
class LocaleEnvironment {
public:
  LocaleEnvironment() {
    for (const char *name : kNames) {
      const char *value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value)
                             : std::nullopt);
    }
  }
  ~LocaleEnvironment() {
    for (std::size_t i = 0; i < saved_.size(); ++i)
      Set(kNames[i], saved_[i] ? saved_[i]->c_str() : nullptr);
  }
  void Use(const char *lcAll, const char *lcCtype, const char *lang) {
    Set("LC_ALL", lcAll);
    Set("LC_CTYPE", lcCtype);
    Set("LANG", lang);
  }

private:
  static void Set(const char *name, const char *value) {
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  static constexpr const char *kNames[] = {"LC_ALL", "LC_CTYPE", "LANG"};
  std::vector<std::optional<std::string>> saved_;
};

} // namespace

TEST(CodePageServices, EveryListedCodePageOpensInAscendingOrder) {
  std::vector<int> pages = SupportedCodePages();
  for (int required :
       {37,    437,   500,   720,   737,   775,   850,   852,   855,
        857,   858,   860,   861,   862,   863,   865,   866,   869,
        874,   875,   932,   936,   949,   950,   1026,  1140,  1250,
        1251,  1252,  1253,  1254,  1255,  1256,  1257,  1258,  10000,
        10006, 10007, 10029, 10081, 20127, 20866, 21866, 28591, 28592,
        28593, 28594, 28595, 28596, 28597, 28598, 28599, 28603, 28605})
    EXPECT_NE(std::find(pages.begin(), pages.end(), required), pages.end())
        << required;
  EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()));
  EXPECT_EQ(std::find(pages.begin(), pages.end(), 1200), pages.end());
  for (int page : pages) {
    CPINFO info{};
    EXPECT_TRUE(GetCPInfo(page, &info)) << page;
    EXPECT_GE(info.MaxCharSize, 1u) << page;
    // The default character is the code page's own question mark.
    char16_t back = 0;
    EXPECT_EQ(MultiByteToWideChar(page, MB_ERR_INVALID_CHARS,
                                  reinterpret_cast<char *>(info.DefaultChar), 1,
                                  &back, 1),
              1)
        << page;
    EXPECT_EQ(static_cast<int>(back), '?') << page;
  }
}

TEST(CodePageServices, CodePageInfo) {
  const struct {
    int codePage;
    UINT maxCharSize;
    BYTE defaultChar;
    std::vector<BYTE> leadBytes;
  } cases[] = {
      {1252, 1, 0x3F, {}},
      {437, 1, 0x3F, {}},
      {37, 1, 0x6F, {}},
      {20127, 1, 0x3F, {}},
      {28591, 1, 0x3F, {}},
      {932, 2, 0x3F, {0x81, 0x9F, 0xE0, 0xFC}},
      {936, 2, 0x3F, {0x81, 0xFE}},
      {949, 2, 0x3F, {0x81, 0xFE}},
      {950, 2, 0x3F, {0x81, 0xFE}},
      {54936, 4, 0x3F, {0x81, 0xFE}},
      {65001, 4, 0x3F, {}},
  };
  for (const auto &c : cases) {
    CPINFO info;
    std::memset(&info, 0xEE, sizeof info);
    ASSERT_TRUE(GetCPInfo(c.codePage, &info)) << c.codePage;
    EXPECT_EQ(info.MaxCharSize, c.maxCharSize) << c.codePage;
    EXPECT_EQ(info.DefaultChar[0], c.defaultChar) << c.codePage;
    EXPECT_EQ(info.DefaultChar[1], 0) << c.codePage;
    std::vector<BYTE> lead(c.leadBytes);
    lead.resize(MAX_LEADBYTES, 0);
    EXPECT_EQ(std::vector<BYTE>(info.LeadByte, info.LeadByte + MAX_LEADBYTES),
              lead)
        << c.codePage;
  }
}

// Expected values computed with uconv from the same ICU tables.
TEST(CodePageServices, DecodesOneCharacter) {
  const struct {
    int codePage;
    std::string bytes;
    char16_t unit; // 0: no Unicode value (1113)
  } cases[] = {
      {936, "\xB0\xA1", 0x554A},
      {936, "\xCE\xAA", 0x4E3A},
      {936, "\x80", 0x20AC},
      {936, "\xFF", 0xF8F5},
      {936, Bytes("\x81\x20", 2), 0},
      {936, Bytes("\x81\x00", 2), 0},
      {950, "\xA4\x40", 0x4E00},
      {950, "\xF9\xF9", 0x2550},
      {950, "\xAC\xB0", 0x70BA},
      {932, "\x82\xA0", 0x3042},
      {932, "\x80", 0},
      {932, "\xA0", 0},
      {949, "\xB0\xA1", 0xAC00},
      {1252, "\x80", 0x20AC},
      {1252, "\x81", 0x0081},
      {437, "\xB0", 0x2591},
      {37, "\xC1", 0x0041},
      {1252, Bytes("\0", 1), 0x0000},
  };
  for (const auto &c : cases) {
    char16_t unit = 0xFFFF;
    SetLastError(0);
    int result =
        MultiByteToWideChar(c.codePage, MB_ERR_INVALID_CHARS, c.bytes.data(),
                            static_cast<int>(c.bytes.size()), &unit, 1);
    if (c.unit == 0 && c.bytes != std::string(1, '\0')) {
      EXPECT_EQ(result, 0) << c.codePage;
      EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION) << c.codePage;
    } else {
      EXPECT_EQ(result, 1) << c.codePage;
      EXPECT_EQ(static_cast<int>(unit), static_cast<int>(c.unit)) << c.codePage;
    }
  }
}

TEST(CodePageServices, EncodesOneCharacterWithRoundTripMappingsOnly) {
  const struct {
    int codePage;
    char16_t unit;
    std::string bytes; // the code page's default character when substituted
    bool usedDefault;
  } cases[] = {
      {1252, 0x20AC, "\x80", false},
      {950, 0x4E00, "\xA4\x40", false},
      {950, 0x70BA, "\xAC\xB0", false},
      {950, 0x7232, "?", true}, // 爲 is not in 950
      {932, 0x3042, "\x82\xA0", false},
      {936, 0x56FD, "\xB9\xFA", false},
      {1252, 0x56FD, "?", true},
      {1252, 0xFEFF, "?", true}, // default-ignorable, not silently dropped
      {437, 0x00AD, "?", true},
      {1252, 0x200B, "?", true},
      {1252, 0xD800, "?", true}, // lone surrogates
      {1252, 0xDC00, "?", true},
      {936, 0xF900, "?", true}, // compatibility ideograph: no best fit
      {37, 0x0041, "\xC1", false},
      {37, 0x4E00, "\x6F", true},
      {1252, 0x0000, Bytes("\0", 1), false},
  };
  for (const auto &c : cases) {
    char bytes[4] = {};
    BOOL usedDefault = -1;
    int result = WideCharToMultiByte(c.codePage, 0, &c.unit, 1, bytes, 4,
                                     nullptr, &usedDefault);
    SCOPED_TRACE(testing::Message() << c.codePage << " U+" << std::hex
                                    << static_cast<int>(c.unit));
    EXPECT_EQ(std::string(bytes, result), c.bytes);
    EXPECT_EQ(usedDefault != FALSE, c.usedDefault);
  }
}

TEST(CodePageServices, Failures) {
  CPINFO info;
  for (int bad : {-1, 3, 1200, 99999, 65000}) {
    SetLastError(0);
    EXPECT_FALSE(GetCPInfo(bad, &info)) << bad;
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << bad;
  }
  char16_t unit;
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(12345, MB_ERR_INVALID_CHARS, "A", 1, &unit, 1),
            0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  char bytes[1];
  const char16_t wide = 0x4E00;
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(950, 0, &wide, 1, bytes, 1, nullptr, nullptr),
            0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(WideCharToMultiByte(950, 0, &wide, 1, nullptr, 0, nullptr, nullptr),
            2);
}

TEST(CodePageServices, FormatMessageTexts) {
  for (DWORD code : {ERROR_INVALID_PARAMETER, ERROR_INSUFFICIENT_BUFFER,
                     ERROR_NO_UNICODE_TRANSLATION}) {
    char *text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
        code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char *>(&text), 0, nullptr);
    ASSERT_NE(text, nullptr) << code;
    EXPECT_EQ(length, std::strlen(text));
    EXPECT_EQ(text[length - 1], '\n') << code;
    EXPECT_EQ(LocalFree(text), nullptr);
  }
  char *text = nullptr;
  EXPECT_EQ(FormatMessageA(
                FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                nullptr, 4242, 0, reinterpret_cast<char *>(&text), 0, nullptr),
            0u);
  EXPECT_EQ(text, nullptr);
}

TEST(CodePageServices, LocaleCodePages) {
  const struct {
    const char *lcAll, *lcCtype, *lang;
    UINT ansi, oem, mac;
  } cases[] = {
      {nullptr, nullptr, nullptr, 1252, 437, 10000},
      {"C", nullptr, nullptr, 1252, 437, 10000},
      {"POSIX", nullptr, nullptr, 1252, 437, 10000},
      {nullptr, nullptr, "en_US.UTF-8", 1252, 437, 10000},
      {nullptr, nullptr, "de_DE.UTF-8", 1252, 850, 10000},
      {nullptr, nullptr, "fr_CA", 1252, 850, 10000},
      {nullptr, nullptr, "pl_PL.ISO-8859-2", 1250, 852, 10029},
      {nullptr, nullptr, "ru_RU.KOI8-R", 1251, 866, 10007},
      {nullptr, nullptr, "el_GR", 1253, 737, 10006},
      {nullptr, nullptr, "tr_TR", 1254, 857, 10081},
      {nullptr, nullptr, "he_IL", 1255, 862, 10000},
      {nullptr, nullptr, "ar_EG", 1256, 720, 10000},
      {nullptr, nullptr, "lt_LT", 1257, 775, 10000},
      {nullptr, nullptr, "vi_VN", 1258, 1258, 10000},
      {nullptr, nullptr, "th_TH", 874, 874, 10000},
      {nullptr, nullptr, "ja_JP.eucJP", 932, 932, 10001},
      {nullptr, nullptr, "ko_KR", 949, 949, 10003},
      {nullptr, nullptr, "zh_CN.GB18030", 936, 936, 10008},
      {nullptr, nullptr, "zh_SG", 936, 936, 10008},
      {nullptr, nullptr, "zh_TW.Big5", 950, 950, 10002},
      {nullptr, nullptr, "zh_HK.UTF-8@stroke", 950, 950, 10002},
      {nullptr, "zh_TW", "en_US", 950, 950, 10002}, // LC_CTYPE first
      {"ja_JP", "zh_TW", "en_US", 932, 932, 10001}, // LC_ALL first
      {"", "", "ko_KR", 949, 949, 10003},           // empty is unset
      {nullptr, nullptr, "xx_YY", 1252, 437, 10000},
  };
  LocaleEnvironment environment;
  for (const auto &c : cases) {
    environment.Use(c.lcAll, c.lcCtype, c.lang);
    SCOPED_TRACE(testing::Message() << (c.lcAll ? c.lcAll : "-") << " "
                                    << (c.lcCtype ? c.lcCtype : "-") << " "
                                    << (c.lang ? c.lang : "-"));
    EXPECT_EQ(GetACP(), c.ansi);
    EXPECT_EQ(GetOEMCP(), c.oem);
    EXPECT_EQ(GetMacCP(), c.mac);
  }
  // Numbers 0, 1 and 2 follow the locale; a Macintosh code page without a
  // table is refused.
  environment.Use(nullptr, nullptr, "zh_TW");
  CPINFO info;
  EXPECT_TRUE(GetCPInfo(CP_ACP, &info));
  EXPECT_EQ(info.LeadByte[0], 0x81);
  EXPECT_FALSE(GetCPInfo(CP_MACCP, &info));
  environment.Use(nullptr, nullptr, "C");
  EXPECT_TRUE(GetCPInfo(CP_OEMCP, &info));
  EXPECT_EQ(info.LeadByte[0], 0);
  EXPECT_TRUE(GetCPInfo(CP_MACCP, &info));
}
