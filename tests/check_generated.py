#!/usr/bin/env python3
"""Regenerates the Han tables into a temporary folder and compares them byte
for byte with the checked-in copies. Exits 77 (skipped) without the data."""
import filecmp
import os
import subprocess
import sys
import tempfile

root = sys.argv[1]
data = "/usr/share/unicode"
if not os.path.exists(os.path.join(data, "Unihan_Variants.txt.bz2")):
    print("Unicode data not installed in %s; skipped" % data)
    sys.exit(77)
with tempfile.TemporaryDirectory() as out:
    subprocess.run([sys.executable, os.path.join(root, "tools", "gen_han_tables.py"),
                    "--data", data, "--output", out], check=True)
    failed = False
    for name in sorted(os.listdir(out)):
        checked_in = os.path.join(root, "src", "han", name)
        if not filecmp.cmp(os.path.join(out, name), checked_in, shallow=False):
            print("%s differs from a fresh run of tools/gen_han_tables.py" % checked_in)
            failed = True
    if failed:
        sys.exit(1)
    print("generated tables match")
