#!/usr/bin/env python3
"""Writes the benchmark corpora, deterministically, into a folder.

  trad.936    traditional Chinese text in code page 936 whose characters all
              exist in 950 and keep their form there (a direct conversion)
  simp.936    simplified Chinese text in 936 (many characters change form for
              950, some go through the fallback chain and the report)
  west.1252   Western European text in 1252
  trad.utf16  the traditional text as UTF-16LE
  trad.utf8   the traditional text as UTF-8

Usage: make_corpus.py FOLDER [SIZE_MB]   (default 100)
"""
import os
import random
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BLOCK = 1 << 22  # a random block of 4 MiB, repeated up to the size


def preference_keys():
    """Code points that the 950 preference step changes."""
    path = os.path.join(HERE, "..", "src", "han", "preference_tables.inc")
    text = open(path, encoding="utf-8").read()
    body = text[text.index("TraditionalPreferenceTable["):]
    body = body[:body.index("};")]
    keys = set()
    for row in re.finditer(r"/\* U\+([0-9A-F]{4}) \*/ ([^\n]*)", body):
        start = int(row.group(1), 16)
        for i, value in enumerate(re.findall(r"0x([0-9A-F]{4})", row.group(2))):
            if int(value, 16):
                keys.add(start + i)
    return keys


def encodes(char, codec):
    try:
        char.encode(codec)
        return True
    except UnicodeEncodeError:
        return False


def text_block(rng, pool, punctuation, encoding, line=40):
    out = []
    size = 0
    while size < BLOCK:
        words = "".join(rng.choice(pool) for _ in range(line))
        piece = words + rng.choice(punctuation) + "\n"
        data = piece.encode(encoding)
        out.append(data)
        size += len(data)
    return b"".join(out)


def write_repeated(path, block, size):
    with open(path, "wb") as f:
        written = 0
        while written + len(block) <= size:
            f.write(block)
            written += len(block)
        # Cut the last copy at a line end so that no character is split.
        rest = block[: size - written]
        f.write(rest[: rest.rfind(b"\n") + 1])


def main():
    folder = sys.argv[1]
    size = int(float(sys.argv[2]) * 1_000_000) if len(sys.argv) > 2 else 100_000_000
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(20261211)
    changed = preference_keys()

    han = [chr(cp) for cp in range(0x4E00, 0x9FA6)]
    traditional = [c for c in han if encodes(c, "cp950") and encodes(c, "gbk") and ord(c) not in changed]
    simplified = [c for c in han if encodes(c, "gb2312")]
    traditional_block = text_block(rng, traditional[:6000], ["，", "。", "、", "ABC 123"], "gbk")
    write_repeated(os.path.join(folder, "trad.936"), traditional_block, size)
    write_repeated(os.path.join(folder, "simp.936"),
                   text_block(rng, simplified, ["，", "。", "；"], "gbk"), size)
    # Every letter here exists in code page 437 too: a direct conversion.
    words = ("café déjà naïve façade élève Zürich Ålesund señor über straße "
             "the quick brown fox jumps over the lazy dog").split()
    west = []
    total = 0
    while total < BLOCK:
        sentence = " ".join(rng.choice(words) for _ in range(12)).capitalize() + ".\r\n"
        west.append(sentence.encode("cp1252"))
        total += len(west[-1])
    write_repeated(os.path.join(folder, "west.1252"), b"".join(west), size)
    for name, encoding in (("trad.utf16", "utf-16-le"), ("trad.utf8", "utf-8")):
        block = traditional_block.decode("gbk").encode(encoding)
        with open(os.path.join(folder, name), "wb") as f:
            written = 0
            while written + len(block) <= size:
                f.write(block)
                written += len(block)


if __name__ == "__main__":
    main()
