#include "han/han_tables.h"

#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <map>
#include <memory>
#include <set>

namespace {

std::uint16_t Preferred(int codePage, std::uint16_t unit) {
  PreferScript(codePage, unit);
  return unit;
}

bool InRanges(std::uint16_t unit) {
  return (unit >= 0x4E00 && unit <= 0x9FA2) ||
         (unit >= 0xF900 && unit <= 0xFA2D);
}

// Whether ICU's table for the converter maps unit exactly (no fallback).
class IcuEncoder {
public:
  explicit IcuEncoder(const char *name) {
    UErrorCode status = U_ZERO_ERROR;
    converter_.reset(ucnv_open(name, &status));
    EXPECT_TRUE(U_SUCCESS(status)) << name;
    ucnv_setFromUCallBack(converter_.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr,
                          nullptr, nullptr, &status);
  }
  bool Encodes(std::uint16_t unit) {
    UErrorCode status = U_ZERO_ERROR;
    char bytes[8];
    UChar u = unit;
    int n =
        ucnv_fromUChars(converter_.get(), bytes, sizeof bytes, &u, 1, &status);
    return U_SUCCESS(status) && n > 0;
  }

private:
  struct Close {
    void operator()(UConverter *c) const { ucnv_close(c); }
  };
  std::unique_ptr<UConverter, Close> converter_;
};

} // namespace

TEST(LookupHanVariant, TellingRowsAndEdges) {
  const struct {
    std::uint16_t unit, variant;
  } cases[] = {
      {0x4DFF, 0},      {0x4E00, 0},      {0x4E03, 0},      {0x9FA3, 0},
      {0x9FA5, 0},      {0xF8FF, 0},      {0xFA2E, 0},      {0xFA30, 0},
      {0x0041, 0},      {0xD800, 0},      {0xFFFF, 0},      {0x4E04, 0x4E0A},
      {0x4E0A, 0x4E04}, {0x4E07, 0x842C}, {0x842C, 0x4E07}, {0x56FD, 0x570B},
      {0x570B, 0x5700}, {0x5700, 0x570B}, {0x9AEA, 0x9AEE}, {0x9AEE, 0x53D1},
      {0x53D1, 0x767C}, {0x767C, 0x767A}, {0x767A, 0x767C}, {0x51C0, 0x6DE8},
      {0x6DE8, 0x51C8}, {0x51C8, 0x51C0}, {0x6A79, 0x6AD3}, {0x6A02, 0xF914},
      {0xF914, 0x6A02}, {0xF95C, 0x6A02}, {0xF9BF, 0x6A02}, {0x548C, 0x9FA2},
      {0x9FA2, 0x548C}, {0xF900, 0x8C48}, {0x8C48, 0x5C82}, {0xF973, 0x5341},
      {0xF972, 0x700B}, {0xF979, 0x6DBC}, {0xF9E8, 0x88CF}, {0xF9F1, 0x9130},
      {0xF9B5, 0x4F8B}, {0x4F8B, 0},      {0xFA2D, 0x9DB4}, {0xF907, 0x9F9C},
      {0xF908, 0x9F9C}, {0x9F9C, 0x9F9F}, {0x4E3A, 0x70BA}, {0x7232, 0x70BA},
      {0x8AAC, 0x8AAA}, {0x7523, 0x7522}, {0x9CEC, 0x51EB}, {0x8879, 0x53EA},
  };
  for (const auto &c : cases)
    EXPECT_EQ(LookupHanVariant(c.unit), c.variant) << std::hex << c.unit;
  for (std::uint16_t unit : {0xFA0E, 0xFA0F, 0xFA11, 0xFA13, 0xFA14, 0xFA1F,
                             0xFA21, 0xFA23, 0xFA24, 0xFA27, 0xFA28, 0xFA29})
    EXPECT_EQ(LookupHanVariant(unit), 0) << std::hex << unit;
}

TEST(PreferScript, TellingRowsAndEdges) {
  const struct {
    int codePage;
    std::uint16_t unit, expected;
  } cases[] = {
      {936, 0x570B, 0x56FD}, {936, 0x56FD, 0x56FD}, {936, 0x9F9C, 0x9F9F},
      {936, 0x9EBD, 0x4E48}, {936, 0x4E48, 0x9EBD}, {936, 0x5F8C, 0x540E},
      {936, 0x540E, 0x5F8C}, {936, 0x9918, 0x4F59}, {936, 0x4F59, 0x9980},
      {936, 0x70BA, 0x70BA}, {936, 0x6DE8, 0x6DE8}, {936, 0x9AEE, 0x9AEE},
      {936, 0x4E7E, 0x4E7E}, {936, 0x88E1, 0x88E1}, {936, 0x4E47, 0x4E47},
      {936, 0x9F9D, 0x9F9D}, {936, 0xF900, 0xF900}, {936, 0x0041, 0x0041},
      {936, 0x842C, 0x4E07}, {936, 0x767C, 0x53D1}, {936, 0x5E79, 0x5E72},
      {936, 0x81FA, 0x53F0}, {936, 0x8879, 0x53EA}, {936, 0x51C8, 0x51C0},
      {936, 0x7232, 0x4E3A}, {936, 0x8AAC, 0x8BF4}, {936, 0x88CF, 0x91CC},
      {936, 0x9CEC, 0x51EB}, {936, 0x98B1, 0x98B1}, {936, 0x96BB, 0x96BB},
      {936, 0x9EB5, 0x9EB5}, {936, 0x9762, 0x9762}, {950, 0x56FD, 0x570B},
      {950, 0x4E07, 0x842C}, {950, 0x9F9F, 0x9F9C}, {950, 0x4E3A, 0x7232},
      {950, 0x8BF4, 0x8AAC}, {950, 0x9980, 0x4F59}, {950, 0x4F59, 0x9918},
      {950, 0x5F8C, 0x540E}, {950, 0x540E, 0x5F8C}, {950, 0x4E48, 0x9EBD},
      {950, 0x9EBD, 0x4E48}, {950, 0x53D1, 0x767C}, {950, 0x5E72, 0x5E79},
      {950, 0x53F0, 0x81FA}, {950, 0x53EA, 0x8879}, {950, 0x51C0, 0x51C8},
      {950, 0x91CC, 0x88CF}, {950, 0x51EB, 0x9CEC}, {950, 0x4E06, 0x4E06},
      {950, 0x9FA0, 0x9FA0}, {950, 0x9762, 0x9762}, {950, 0x570B, 0x570B},
      {932, 0x570B, 0x570B}, {932, 0x56FD, 0x56FD}, {1252, 0x56FD, 0x56FD},
      {949, 0x56FD, 0x56FD}, {0, 0x56FD, 0x56FD},
  };
  for (const auto &c : cases)
    EXPECT_EQ(Preferred(c.codePage, c.unit), c.expected)
        << c.codePage << " U+" << std::hex << c.unit;
  // Applied twice, the swap forms come back: the step applies it once.
  EXPECT_EQ(Preferred(950, Preferred(950, 0x540E)), 0x540E);
}

TEST(HanTables, WholeTablesKeepTheirInvariants) {
  IcuEncoder gb("windows-936-2000");
  IcuEncoder gb2312("ibm-1383_P110-1999");
  std::map<std::uint16_t, std::uint16_t> traditional, simplified;
  std::uint16_t firstEntry = 0, lastEntry = 0;
  for (unsigned u = 0; u <= 0xFFFF; ++u) {
    const std::uint16_t unit = static_cast<std::uint16_t>(u);
    const std::uint16_t variant = LookupHanVariant(unit);
    if (variant != 0) {
      EXPECT_NE(variant, unit);
      EXPECT_TRUE(InRanges(unit)) << std::hex << u;
      EXPECT_TRUE(InRanges(variant)) << std::hex << u;
      if (unit >= 0xF900) {
        EXPECT_LE(variant, 0x9FA2) << std::hex << u;
      }
      if (firstEntry == 0)
        firstEntry = unit;
      if (unit <= 0x9FA2)
        lastEntry = unit;
    }
    if (std::uint16_t t = Preferred(950, unit); t != unit)
      traditional[unit] = t;
    if (std::uint16_t s = Preferred(936, unit); s != unit)
      simplified[unit] = s;
  }
  EXPECT_EQ(firstEntry, 0x4E04);
  EXPECT_EQ(lastEntry, 0x9FA2);
  EXPECT_EQ(LookupHanVariant(0xFA2D), 0x9DB4);

  ASSERT_FALSE(traditional.empty());
  EXPECT_EQ(traditional.begin()->first, 0x4E07);
  EXPECT_EQ(traditional.rbegin()->first, 0x9F9F);
  EXPECT_EQ(simplified.begin()->first, 0x4E48);
  EXPECT_EQ(simplified.rbegin()->first, 0x9F9C);
  EXPECT_EQ(traditional.size(), simplified.size());
  std::set<std::uint16_t> traditionalForms;
  for (auto [s, t] : traditional) {
    EXPECT_TRUE(traditionalForms.insert(t).second)
        << "one-to-one " << std::hex << t;
    auto back = simplified.find(t);
    ASSERT_NE(back, simplified.end()) << std::hex << s;
    EXPECT_EQ(back->second, s);
    EXPECT_TRUE(gb2312.Encodes(s)) << std::hex << s;
    EXPECT_TRUE(gb.Encodes(t)) << std::hex << t;
    EXPECT_NE(LookupHanVariant(s), 0) << std::hex << s;
    EXPECT_NE(LookupHanVariant(t), 0) << std::hex << t;
  }
}
