#!/usr/bin/env python3
"""Converts a 2.2 GB sparse file (code page 1252 to 437) and checks that the
counters, which pass 2^31, are printed in full and that the output has every
byte. Both files are deleted afterwards.

Usage: large_file.py path/to/odrim work-folder
"""
import os
import subprocess
import sys
import tempfile

odrim, folder = sys.argv[1], sys.argv[2]
size = 2_200_000_000
with tempfile.TemporaryDirectory(dir=folder) as work:
    source = os.path.join(work, "in.bin")
    target = os.path.join(work, "out.bin")
    with open(source, "wb") as f:
        f.truncate(size)  # sparse: all zero bytes, each one character
    console = subprocess.run([odrim, source, "1252", target, "437"], capture_output=True,
                             env={"LANG": "C"}, check=True).stdout.decode()
    expected = (
        "\nConversion summary\n\n"
        f"Input bytes: {size}\nInput chars: {size}\n"
        "Input chars w/ no Unicode mapping: 0\n"
        "Input chars w/ variant: 0 (variant only checked if direct mapping failed)\n"
        f"Output bytes: {size}\nOutput chars: {size}\n"
        "Output chars mapped to default: 0 (excludes default=null)\n"
        "Output chars mapped to variant: 0\nInput chars unmapped: 0\n")
    out_size = os.path.getsize(target)
    if console != expected or out_size != size:
        print("console:\n" + console + "\noutput size: %d" % out_size)
        sys.exit(1)
    print("2.2 GB converted; counters and output size agree")
