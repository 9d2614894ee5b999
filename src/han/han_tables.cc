// Lookups into the generated Han tables: two range tests and one read.
#include "han/han_tables.h"

namespace {
#include "han/han_variant_table.inc"
#include "han/preference_tables.inc"

constexpr std::uint16_t kFirstRangeStart = 0x4E00, kFirstRangeEnd = 0x9FA2;
constexpr std::uint16_t kCompatRangeStart = 0xF900, kCompatRangeEnd = 0xFA2D;
constexpr unsigned kCompatRangeIndex = kFirstRangeEnd - kFirstRangeStart + 1;
constexpr std::uint16_t kTraditionalStart = 0x4E07, kTraditionalEnd = 0x9F9F;
constexpr std::uint16_t kSimplifiedStart = 0x4E48, kSimplifiedEnd = 0x9F9C;

static_assert(kCompatRangeIndex + kCompatRangeEnd - kCompatRangeStart + 1 ==
              sizeof HanVariantTable / sizeof HanVariantTable[0]);
static_assert(kTraditionalEnd - kTraditionalStart + 1 ==
              sizeof TraditionalPreferenceTable /
                  sizeof TraditionalPreferenceTable[0]);
static_assert(kSimplifiedEnd - kSimplifiedStart + 1 ==
              sizeof SimplifiedPreferenceTable /
                  sizeof SimplifiedPreferenceTable[0]);
} // namespace

std::uint16_t LookupHanVariant(std::uint16_t codeUnit) {
  if (codeUnit >= kFirstRangeStart && codeUnit <= kFirstRangeEnd)
    return HanVariantTable[codeUnit - kFirstRangeStart];
  if (codeUnit >= kCompatRangeStart && codeUnit <= kCompatRangeEnd)
    return HanVariantTable[kCompatRangeIndex + codeUnit - kCompatRangeStart];
  return 0;
}

void PreferScript(int codePage, std::uint16_t &codeUnit) {
  std::uint16_t entry = 0;
  if (codePage == 936) {
    if (codeUnit >= kSimplifiedStart && codeUnit <= kSimplifiedEnd)
      entry = SimplifiedPreferenceTable[codeUnit - kSimplifiedStart];
  } else if (codePage == 950) {
    if (codeUnit >= kTraditionalStart && codeUnit <= kTraditionalEnd)
      entry = TraditionalPreferenceTable[codeUnit - kTraditionalStart];
  }
  if (entry != 0)
    codeUnit = entry;
}
