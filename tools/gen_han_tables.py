#!/usr/bin/env python3
"""Generates the Han tables of src/han from Unicode's published data.

Writes two files:
  han_variant_table.inc   HanVariantTable, U+4E00..U+9FA2 then U+F900..U+FA2D
  preference_tables.inc   TraditionalPreferenceTable (U+4E07..U+9F9F) and
                          SimplifiedPreferenceTable (U+4E48..U+9F9C)

Sources (Debian package unicode-data, /usr/share/unicode):
  Unihan_Variants.txt.bz2           kTraditionalVariant, kSimplifiedVariant,
                                    kZVariant, kSemanticVariant,
                                    kSpecializedSemanticVariant
  Unihan_OtherMappings.txt.bz2      kGB0 (membership of GB2312)
  Unihan_DictionaryLikeData.txt.bz2 kFrequency (1 = most frequent)
  UnicodeData.txt                   canonical decompositions of the CJK
                                    compatibility ideographs
Representability in code pages 936 and 950 is checked with Python's gbk and
cp950 codecs, which agree with the converter's tables for the ideographs.

Selection policy
  Preference pairs (simplified form S, traditional form T):
    * S is a GB2312 character, T is not (but for the swap forms below), and
      T is representable in code page 936.
    * The candidates for T are S's kTraditionalVariant values other than S,
      ranked: a T that code page 950 can encode while it cannot encode S;
      then kFrequency; then code point.
    * An S that code page 950 already encodes and that Unihan lists as its
      own traditional form is left alone unless its best T is clearly the
      more frequent character (体 to 體 yes, 了 to 瞭 no).
    * Both tables are one-to-one: when several S want the same T, the S that
      T names as its first kSimplifiedVariant wins, else the more frequent,
      else the lower code point; the others try their next candidate.
    * S must lie in U+4E07..U+9F9F and T in U+4E48..U+9F9C; pairs outside
      (丢/丟, 并/並) are left out.
    * FORCED_PAIRS below replace whatever the ranking chose.
  Variants (first range, U+4E00..U+9FA2):
    * Candidates: the values of kTraditionalVariant, kSimplifiedVariant,
      kZVariant, kSemanticVariant and kSpecializedSemanticVariant, plus the
      character's partner in the preference tables; only unified ideographs
      of the first range count (never a compatibility ideograph, so U+4F8B
      does not get U+F9B5).
    * Ranked: a candidate that code page 950 can encode while it cannot
      encode the character; the preference partner; field order as above;
      kFrequency; code point.
    * VARIANT_OVERRIDES below replace whatever the ranking chose.
  Variants (compatibility range, U+F900..U+FA2D): the canonical decomposition
  from UnicodeData, but for the five forms in COMPATIBILITY_OVERRIDES; the
  twelve code points without a decomposition have no entry.

Every invariant the tables promise is checked before anything is written.
Same input, same bytes.
"""

import argparse
import bz2
import os
import re
import sys

FIRST_RANGE = (0x4E00, 0x9FA2)
COMPAT_RANGE = (0xF900, 0xFA2D)
TRADITIONAL_TABLE_RANGE = (0x4E07, 0x9F9F)  # keyed by simplified forms
SIMPLIFIED_TABLE_RANGE = (0x4E48, 0x9F9C)  # keyed by traditional forms

# (simplified, traditional) pairs that the ranking would not choose.
FORCED_PAIRS = [
    (0x4E48, 0x9EBD),  # 么 → 麽, and the swap below
    (0x9EBD, 0x4E48),  # 麽 → 么
    (0x540E, 0x5F8C),  # 后 → 後, and the swap below
    (0x5F8C, 0x540E),  # 後 → 后
    (0x4F59, 0x9918),  # 余 → 餘
    (0x9980, 0x4F59),  # 馀 → 余 (its own traditional form 餘 goes to 余)
    (0x53F0, 0x81FA),  # 台 → 臺, not 颱
    (0x53EA, 0x8879),  # 只 → 衹, not 隻
    (0x4E3A, 0x7232),  # 为 → 爲, which 950 cannot encode (its variant 為 it can)
    (0x8BF4, 0x8AAC),  # 说 → 説, likewise (variant 說)
    (0x91CC, 0x88CF),  # 里 → 裏, not 裡
    (0x51EB, 0x9CEC),  # 凫 → 鳬, neither of which 950 encodes
    (0x51C0, 0x51C8),  # 净 → 凈, not 淨
    (0x53D1, 0x767C),  # 发 → 發, not 髮
    (0x5E72, 0x5E79),  # 干 → 幹, not 乾
    (0x4E07, 0x842C),  # 万 → 萬 (first code point of the 950 table)
    (0x9F9F, 0x9F9C),  # 龟 → 龜 (last code points of both tables)
]
# Simplified forms that get no pair at all.
NO_PAIR = {
    0x9762,  # 面: 麵 is a different word as often as not
}

# Variants that Unihan does not give, or gives otherwise.
VARIANT_OVERRIDES = {
    0x4E00: 0,  # 一: no variant; the first entry is 丄
    0x4E03: 0,  # 七: no variant
    0x4E04: 0x4E0A,  # 丄 → 上, a mutual pair
    0x4E0A: 0x4E04,  # 上 → 丄
    0x570B: 0x5700,  # 國 → 圀, which pairs back
    0x5700: 0x570B,  # 圀 → 國
    0x9AEA: 0x9AEE,  # 髪 → 髮 → 发 → 發 ↔ 発
    0x767C: 0x767A,  # 發 → 発
    0x767A: 0x767C,  # 発 → 發
    0x51C0: 0x6DE8,  # 净 → 淨 → 凈 → 净, a ring of three
    0x6A02: 0xF914,  # 樂 → its compatibility form
    0x9CEC: 0x51EB,  # 鳬 → 凫
    0x8879: 0x53EA,  # 衹 → 只 (Unihan has no data for 衹)
    0x548C: 0x9FA2,  # 和 ↔ 龢, the last code point of the first range
    0x9FA2: 0x548C,
    0x4F8B: 0,  # 例: no variant (not its compatibility form U+F9B5)
    0x7523: 0x7522,  # 産 → 產, which 950 encodes (Unihan has no data for 産)
}
# Compatibility ideographs whose entry is not the canonical decomposition.
COMPATIBILITY_OVERRIDES = {
    0xF972: 0x700B,  # 瀋
    0xF973: 0x5341,  # 十
    0xF979: 0x6DBC,  # 涼
    0xF9E8: 0x88CF,  # 裏
    0xF9F1: 0x9130,  # 鄰
}

VARIANT_FIELDS = [
    "kTraditionalVariant",
    "kSimplifiedVariant",
    "kZVariant",
    "kSemanticVariant",
    "kSpecializedSemanticVariant",
]


def read_unihan(path, fields):
    """{field: {code point: [values as text]}} for the named fields."""
    result = {field: {} for field in fields}
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            cp, field, value = line.rstrip("\n").split("\t", 2)
            if field in result:
                result[field][int(cp[2:], 16)] = value.split()
    return result


def unicode_version(path):
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            m = re.match(r"# Unicode version: (\S+)", line)
            if m:
                return m.group(1)
    raise SystemExit("no Unicode version in " + path)


def code_points(values):
    return [int(v.split("<")[0][2:], 16) for v in values]


def encodable(cp, codec):
    try:
        chr(cp).encode(codec)
        return True
    except UnicodeEncodeError:
        return False


def in_range(cp, bounds):
    return bounds[0] <= cp <= bounds[1]


class Data:
    def __init__(self, data_dir):
        variants_path = os.path.join(data_dir, "Unihan_Variants.txt.bz2")
        self.version = unicode_version(variants_path)
        self.variants = read_unihan(variants_path, VARIANT_FIELDS)
        self.gb2312 = set(
            read_unihan(
                os.path.join(data_dir, "Unihan_OtherMappings.txt.bz2"), ["kGB0"]
            )["kGB0"]
        )
        self.frequency = {
            cp: int(v[0])
            for cp, v in read_unihan(
                os.path.join(data_dir, "Unihan_DictionaryLikeData.txt.bz2"),
                ["kFrequency"],
            )["kFrequency"].items()
        }
        self.decomposition = {}
        with open(os.path.join(data_dir, "UnicodeData.txt"), encoding="utf-8") as f:
            for line in f:
                fields = line.split(";")
                cp = int(fields[0], 16)
                if in_range(cp, COMPAT_RANGE) and fields[5] and "<" not in fields[5]:
                    parts = fields[5].split()
                    if len(parts) == 1:
                        self.decomposition[cp] = int(parts[0], 16)
        self._cache950 = {}
        self._cache936 = {}

    def freq(self, cp):
        return self.frequency.get(cp, 6)

    def in950(self, cp):
        if cp not in self._cache950:
            self._cache950[cp] = encodable(cp, "cp950")
        return self._cache950[cp]

    def in936(self, cp):
        if cp not in self._cache936:
            self._cache936[cp] = encodable(cp, "gbk")
        return self._cache936[cp]

    def field(self, name, cp):
        return code_points(self.variants[name].get(cp, []))


def choose_pairs(data):
    """{simplified: traditional}, one-to-one, per the policy above."""
    forced_s = {s for s, _ in FORCED_PAIRS}
    forced_t = {t for _, t in FORCED_PAIRS}
    ranked = {}
    for s in sorted(data.gb2312):
        if s in forced_s or s in NO_PAIR or not in_range(s, TRADITIONAL_TABLE_RANGE):
            continue
        listed = data.field("kTraditionalVariant", s)
        candidates = [
            t
            for t in listed
            if t != s
            and t not in forced_t
            and t not in data.gb2312
            and data.in936(t)
            and in_range(t, SIMPLIFIED_TABLE_RANGE)
        ]
        if not candidates:
            continue
        candidates.sort(
            key=lambda t: (
                0 if data.in950(t) and not data.in950(s) else 1,
                data.freq(t),
                t,
            )
        )
        if s in listed and data.in950(s) and not data.freq(candidates[0]) < data.freq(s):
            continue  # already a traditional character that 950 encodes
        ranked[s] = candidates

    def claim_rank(s, t):
        first_simplified = data.field("kSimplifiedVariant", t)[:1]
        return (0 if first_simplified == [s] else 1, data.freq(s), s)

    choice = {s: 0 for s in ranked}
    while True:
        owners = {}
        for s, index in choice.items():
            if index < len(ranked[s]):
                owners.setdefault(ranked[s][index], []).append(s)
        moved = False
        for t, contenders in sorted(owners.items()):
            if len(contenders) > 1:
                contenders.sort(key=lambda s: claim_rank(s, t))
                for loser in contenders[1:]:
                    choice[loser] += 1
                    moved = True
        if not moved:
            break
    pairs = {s: ranked[s][i] for s, i in choice.items() if i < len(ranked[s])}
    pairs.update(dict(FORCED_PAIRS))
    return pairs


def choose_variants(data, pairs):
    """{code point: variant} over both ranges (0 for none)."""
    partner = {}
    for s, t in sorted(pairs.items()):
        partner.setdefault(s, t)
    for s, t in sorted(pairs.items()):
        partner.setdefault(t, s)

    table = {}
    for cp in range(FIRST_RANGE[0], FIRST_RANGE[1] + 1):
        candidates = {}
        for order, name in enumerate(VARIANT_FIELDS):
            for v in data.field(name, cp):
                if v != cp and in_range(v, FIRST_RANGE):
                    candidates.setdefault(v, order + 1)
        if cp in partner:
            candidates[partner[cp]] = min(candidates.get(partner[cp], 9), 0)
        best = 0
        if candidates:
            best = min(
                candidates,
                key=lambda v: (
                    0 if data.in950(v) and not data.in950(cp) else 1,
                    0 if partner.get(cp) == v else 1,
                    candidates[v],
                    data.freq(v),
                    v,
                ),
            )
        table[cp] = VARIANT_OVERRIDES.get(cp, best)
    for cp in range(COMPAT_RANGE[0], COMPAT_RANGE[1] + 1):
        table[cp] = COMPATIBILITY_OVERRIDES.get(cp, data.decomposition.get(cp, 0))
    return table


def check(data, variants, pairs):
    problems = []

    def expect(condition, text):
        if not condition:
            problems.append(text)

    def has_range(cp):
        return in_range(cp, FIRST_RANGE) or in_range(cp, COMPAT_RANGE)

    for cp, v in variants.items():
        expect(v != cp, "U+%04X is its own variant" % cp)
        expect(v == 0 or has_range(v), "U+%04X: variant U+%04X out of range" % (cp, v))
        if in_range(cp, COMPAT_RANGE) and v:
            expect(in_range(v, FIRST_RANGE), "U+%04X: compatibility entry U+%04X" % (cp, v))
    first_entry = min(cp for cp, v in variants.items() if v)
    expect(first_entry == 0x4E04, "first variant entry at U+%04X" % first_entry)
    expect(variants[FIRST_RANGE[1]] != 0, "no entry at the end of the first range")
    expect(variants[COMPAT_RANGE[1]] != 0, "no entry at the end of the compatibility range")
    without = [cp for cp in range(COMPAT_RANGE[0], COMPAT_RANGE[1] + 1) if not variants[cp]]
    expect(len(without) == 12, "compatibility code points without entry: %d" % len(without))

    traditional = sorted(pairs.values())
    expect(len(set(traditional)) == len(traditional), "preference pairs not one-to-one")
    expect(min(pairs) == TRADITIONAL_TABLE_RANGE[0] and max(pairs) == TRADITIONAL_TABLE_RANGE[1],
           "traditional table bounds U+%04X..U+%04X" % (min(pairs), max(pairs)))
    expect(min(traditional) == SIMPLIFIED_TABLE_RANGE[0] and max(traditional) == SIMPLIFIED_TABLE_RANGE[1],
           "simplified table bounds U+%04X..U+%04X" % (min(traditional), max(traditional)))
    for s, t in pairs.items():
        expect(s != t, "U+%04X pairs with itself" % s)
        expect(s in data.gb2312, "simplified U+%04X not GB2312" % s)
        expect(data.in936(t), "traditional U+%04X not in 936" % t)
        expect(variants.get(s, 0) != 0, "simplified U+%04X has no variant" % s)
        expect(variants.get(t, 0) != 0, "traditional U+%04X has no variant" % t)
    if problems:
        raise SystemExit("invariants broken:\n  " + "\n  ".join(problems))


def format_table(name, values, first_cp_of_row, comment):
    lines = ["// %s" % comment, "constexpr std::uint16_t %s[%d] = {" % (name, len(values))]
    for i in range(0, len(values), 8):
        row = ", ".join("0x%04X" % v for v in values[i:i + 8])
        lines.append("    /* U+%04X */ %s," % (first_cp_of_row(i), row))
    lines.append("};")
    return "\n".join(lines) + "\n"


def render_variants(version, variants):
    first = [variants[cp] for cp in range(FIRST_RANGE[0], FIRST_RANGE[1] + 1)]
    compat = [variants[cp] for cp in range(COMPAT_RANGE[0], COMPAT_RANGE[1] + 1)]
    values = first + compat

    def row_cp(i):
        return FIRST_RANGE[0] + i if i < len(first) else COMPAT_RANGE[0] + i - len(first)

    # Rows must not straddle the two ranges, so the row comments stay true.
    lines = [
        "// generated by tools/gen_han_tables.py from Unicode %s data; do not edit" % version,
        "// HanVariantTable: U+%04X..U+%04X (%d entries) then U+%04X..U+%04X (%d entries),"
        % (FIRST_RANGE[0], FIRST_RANGE[1], len(first), COMPAT_RANGE[0], COMPAT_RANGE[1], len(compat)),
        "// %d bytes; 0 means no variant." % (2 * len(values)),
        "constexpr std::uint16_t HanVariantTable[%d] = {" % len(values),
    ]
    for part, start in ((first, 0), (compat, len(first))):
        for i in range(0, len(part), 8):
            row = ", ".join("0x%04X" % v for v in part[i:i + 8])
            lines.append("    /* U+%04X */ %s," % (row_cp(start + i), row))
    lines.append("};")
    return "\n".join(lines) + "\n"


def render_preferences(version, pairs):
    inverse = {t: s for s, t in pairs.items()}
    out = ["// generated by tools/gen_han_tables.py from Unicode %s data; do not edit" % version]
    for name, bounds, mapping, what in (
        ("TraditionalPreferenceTable", TRADITIONAL_TABLE_RANGE, pairs, "simplified form to traditional form (code page 950)"),
        ("SimplifiedPreferenceTable", SIMPLIFIED_TABLE_RANGE, inverse, "traditional form to simplified form (code page 936)"),
    ):
        values = [mapping.get(cp, 0) for cp in range(bounds[0], bounds[1] + 1)]
        out.append(format_table(
            name, values, lambda i, b=bounds: b[0] + i,
            "%s: U+%04X..U+%04X, %s; %d bytes, 0 means unchanged."
            % (name, bounds[0], bounds[1], what, 2 * len(values))))
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", default="/usr/share/unicode", help="folder of the Unicode data files")
    parser.add_argument("--output", default=os.path.join(os.path.dirname(__file__), "..", "src", "han"),
                        help="folder to write the .inc files to")
    parser.add_argument("--stats", action="store_true", help="print counts of the tables")
    args = parser.parse_args()

    data = Data(args.data)
    pairs = choose_pairs(data)
    variants = choose_variants(data, pairs)
    check(data, variants, pairs)

    os.makedirs(args.output, exist_ok=True)
    for name, text in (
        ("han_variant_table.inc", render_variants(data.version, variants)),
        ("preference_tables.inc", render_preferences(data.version, pairs)),
    ):
        with open(os.path.join(args.output, name), "w", encoding="utf-8", newline="\n") as f:
            f.write(text)

    if args.stats:
        nonzero = [cp for cp, v in variants.items() if v]
        mutual = [cp for cp in nonzero if variants.get(variants[cp]) == cp]
        print("variant entries: %d non-zero (%d first range, %d compatibility), %d distinct values"
              % (len(nonzero), sum(1 for cp in nonzero if cp <= FIRST_RANGE[1]),
                 sum(1 for cp in nonzero if cp >= COMPAT_RANGE[0]), len({variants[cp] for cp in nonzero})))
        print("entries in mutual pairs: %d" % len(mutual))
        for codec, cp_name in (("cp950", "950"), ("cp932", "932"), ("cp949", "949"), ("gbk", "936")):
            n = sum(1 for cp in nonzero if not encodable(cp, codec) and encodable(variants[cp], codec))
            print("entries whose code point %s cannot encode but whose variant it can: %d" % (cp_name, n))
        traditional = set(pairs.values())
        not950 = [t for t in traditional if not data.in950(t)]
        print("preference pairs: %d; simplified forms also in 950: %d; traditional forms in GB2312: %d"
              % (len(pairs), sum(1 for s in pairs if data.in950(s)), sum(1 for t in traditional if t in data.gb2312)))
        print("traditional forms 950 cannot encode: %d, of which %d have a variant it can"
              % (len(not950), sum(1 for t in not950 if variants.get(t) and data.in950(variants[t]))))
    return 0


if __name__ == "__main__":
    sys.exit(main())
