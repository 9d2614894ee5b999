#!/usr/bin/env python3
"""End-to-end tests: run the odrim binary on small files in a temporary
folder and compare its console text and output file byte for byte.

Usage: end_to_end.py path/to/odrim [unittest arguments]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ODRIM = None

HEADER = (
    "\nImperfect mappings\n"
    + "-" * 77 + "\n"
    "in byte   in char  in char value           out byte  out char  out char\n"
    "offset    offset   codepg unicode variant  offset    offset    chosen\n"
    "--------  -------  ----------------------  --------  --------  --------------\n"
)

SAME_CODE_PAGES = "In and out code pages are the same. Conversion aborted.\n\n"
BAD_CODE_PAGE = (
    "Error #87. The code page or an argument is not valid.\n"
    "(Did you specify an invalid or uninstalled code page?)\n"
)


def summary(in_bytes=0, in_chars=0, no_unicode=0, with_variant=0, out_bytes=0,
            out_chars=0, default=0, variant=0, unmapped=0):
    return (
        "\nConversion summary\n\n"
        f"Input bytes: {in_bytes}\n"
        f"Input chars: {in_chars}\n"
        f"Input chars w/ no Unicode mapping: {no_unicode}\n"
        f"Input chars w/ variant: {with_variant} (variant only checked if direct mapping failed)\n"
        f"Output bytes: {out_bytes}\n"
        f"Output chars: {out_chars}\n"
        f"Output chars mapped to default: {default} (excludes default=null)\n"
        f"Output chars mapped to variant: {variant}\n"
        f"Input chars unmapped: {unmapped}\n"
    )


def utf16(text):
    return text.encode("utf-16-le")


class OdrimCase(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="odrim-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def run_odrim(self, *args, locale="C"):
        env = {k: v for k, v in os.environ.items() if k not in ("LC_ALL", "LC_CTYPE", "LANG")}
        env["LANG"] = locale
        result = subprocess.run([ODRIM, *args], cwd=self.dir, env=env,
                                stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 0)
        self.assertEqual(result.stderr, b"")
        return result.stdout.decode("latin-1")

    def convert(self, data, incp, outcp, *defchar):
        """Converts data; returns (console text, output bytes)."""
        self.write("in.txt", data)
        out = self.path("out.txt")
        if os.path.exists(out):
            os.remove(out)
        console = self.run_odrim("in.txt", str(incp), "out.txt", str(outcp), *defchar)
        with open(out, "rb") as f:
            return console, f.read()


class ConversionRun(OdrimCase):
    def test_ascii_identity_counts_every_byte(self):
        text = b"Hello, world.\r\nSecond line\n"
        console, out = self.convert(text, 1252, 437)
        self.assertEqual(out, text)
        n = len(text)
        self.assertEqual(console, summary(n, n, out_bytes=n, out_chars=n))

    def test_empty_input(self):
        console, out = self.convert(b"", 936, 950)
        self.assertEqual((console, out), (summary(), b""))

    def test_zero_byte_stays_one_zero_byte(self):
        console, out = self.convert(b"a\0b", 1252, 437)
        self.assertEqual(out, b"a\0b")
        self.assertEqual(console, summary(3, 3, out_bytes=3, out_chars=3))

    def test_equal_code_pages_abort_without_touching_the_output(self):
        self.write("in.txt", b"abc")
        self.write("out.txt", b"keep me")
        self.assertEqual(self.run_odrim("in.txt", "936", "out.txt", "936"), SAME_CODE_PAGES)
        self.assertEqual(open(self.path("out.txt"), "rb").read(), b"keep me")
        # Equal as numbers: 0 and the locale's ANSI code page are different.
        self.assertEqual(self.run_odrim("in.txt", " 936", "new.txt", "936abc"), SAME_CODE_PAGES)
        self.assertFalse(os.path.exists(self.path("new.txt")))

    def test_rejected_code_page_creates_no_output(self):
        self.write("in.txt", b"abc")
        for incp, outcp in (("99999", "950"), ("936", "-1"), ("1200", "12345"), ("abc", "3")):
            with self.subTest(incp=incp, outcp=outcp):
                self.assertEqual(self.run_odrim("in.txt", incp, "out.txt", outcp), BAD_CODE_PAGE)
                self.assertFalse(os.path.exists(self.path("out.txt")))

    def test_ansi_to_oem_runs_even_when_numbers_name_the_same_page(self):
        console, out = self.convert(b"caf\xe9", 0, 1)  # C locale: 1252 to 437
        self.assertEqual(out, b"caf\x82")
        self.assertEqual(console, summary(4, 4, out_bytes=4, out_chars=4))
        console, out = self.convert(b"caf\xe9", 0, 1252)
        self.assertEqual(out, b"caf\xe9")

    def test_orphaned_final_lead_byte(self):
        console, out = self.convert(b"ab\x81", 936, 950)
        self.assertEqual(out, b"ab?")
        self.assertEqual(
            console,
            "Last input byte (0x81) is an orphaned lead byte. Treated as unmappable char.\n"
            + HEADER
            + "       2        2    0x81 U+   0                  2         2    0x3F-default\n"
            + summary(3, 3, no_unicode=1, out_bytes=3, out_chars=3, default=1))

    def test_lead_byte_with_invalid_trail_byte_is_one_character(self):
        console, out = self.convert(b"\x81\x20z", 936, 950)
        self.assertEqual(out, b"?z")
        self.assertEqual(
            console,
            HEADER
            + "       0        0  0x8120 U+   0                  0         0    0x3F-default\n"
            + summary(3, 2, no_unicode=1, out_bytes=2, out_chars=2, default=1))

    def test_lead_byte_followed_by_zero_byte_shows_as_one_byte_code(self):
        console, out = self.convert(b"\x81\x00", 936, 950)
        self.assertEqual(out, b"?")
        self.assertIn("       0        0    0x81 U+   0                  0         0    0x3F-default\n", console)
        self.assertTrue(console.endswith(summary(2, 1, no_unicode=1, out_bytes=1, out_chars=1, default=1)))

    def test_double_byte_text_matches_the_code_page_tables(self):
        traditional = "中華民國的文字，這是一個測試。ABC 123\n".encode("cp950")
        source = traditional.decode("cp950").encode("gbk")
        console, out = self.convert(source, 936, 950)
        self.assertEqual(out, traditional)
        self.assertNotIn("Imperfect", console)

    def test_utf16_input_with_byte_order_mark(self):
        console, out = self.convert(utf16("\ufeffA\u56fd"), 1200, 936)
        self.assertEqual(out, b"?A\xb9\xfa")
        self.assertEqual(
            console,
            HEADER
            + "       0        0    0x00 U+FEFF                  0         0    0x3F-default\n"
            + summary(6, 3, out_bytes=4, out_chars=3, default=1))

    def test_utf16_output_has_no_byte_order_mark(self):
        console, out = self.convert("é中".encode("gbk"), 936, 1200)
        self.assertEqual(out, utf16("é中"))
        self.assertEqual(console, summary(4, 2, out_bytes=4, out_chars=2))

    def test_every_1252_byte_to_utf16(self):
        data = bytes(range(256))
        console, out = self.convert(data, 1252, 1200)
        expected = subprocess.run(["uconv", "-f", "ibm-5348_P100-1997", "-t", "UTF-16LE"],
                                  input=data, capture_output=True).stdout \
            if shutil.which("uconv") else None
        self.assertEqual(len(out), 512)
        if expected is not None:
            self.assertEqual(out, expected)
        self.assertEqual(out[0x80 * 2:0x80 * 2 + 2], b"\xac\x20")  # euro sign


class FixedFaults(OdrimCase):
    def test_missing_input_and_directory_input(self):
        os.mkdir(self.path("folder"))
        for name, reason in (("missing.txt", "No such file or directory"), ("folder", "Is a directory")):
            with self.subTest(name=name):
                self.assertEqual(
                    self.run_odrim(name, "1252", "out.txt", "437"),
                    f"Cannot open input file {name}: {reason}. Conversion aborted.\n\n")
                self.assertFalse(os.path.exists(self.path("out.txt")))

    def test_same_file_through_any_spelling_is_left_untouched(self):
        self.write("in.txt", b"data")
        os.symlink("in.txt", self.path("link.txt"))
        os.link(self.path("in.txt"), self.path("hard.txt"))
        for out in ("in.txt", "./in.txt", "link.txt", "hard.txt"):
            with self.subTest(out=out):
                self.assertEqual(
                    self.run_odrim("in.txt", "1252", out, "437"),
                    "Input and output files are the same file. Conversion aborted.\n\n")
                self.assertEqual(open(self.path("in.txt"), "rb").read(), b"data")

    def test_output_that_cannot_be_created(self):
        self.write("in.txt", b"data")
        self.assertEqual(
            self.run_odrim("in.txt", "1252", "no/such/dir/out.txt", "437"),
            "Cannot create output file no/such/dir/out.txt: No such file or directory. "
            "Conversion aborted.\n\n")

    @unittest.skipUnless(os.path.exists("/dev/full"), "needs /dev/full")
    def test_write_failure_is_reported_before_the_summary(self):
        self.write("in.txt", b"data")
        console = self.run_odrim("in.txt", "1252", "/dev/full", "437")
        self.assertEqual(
            console,
            "Cannot write output file /dev/full: No space left on device.\n"
            + summary(4, 4, out_bytes=4, out_chars=4))

    def test_input_without_read_permission(self):
        self.write("in.txt", b"data")
        os.chmod(self.path("in.txt"), 0)
        os.chmod(self.dir, 0o777)
        command = ["in.txt", "1252", "out.txt", "437"]
        if os.geteuid() == 0:
            # Root reads anything: run as an unprivileged user instead.
            if not shutil.which("setpriv"):
                self.skipTest("running as root without setpriv")
            console = self.run_as_nobody(command)
        else:
            console = self.run_odrim(*command)
        self.assertEqual(console, "Cannot open input file in.txt: Permission denied. Conversion aborted.\n\n")
        self.assertFalse(os.path.exists(self.path("out.txt")))

    def run_as_nobody(self, args):
        result = subprocess.run(
            ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", ODRIM, *args],
            cwd=self.dir, env={"LANG": "C", "PATH": "/usr/bin:/bin"}, stdin=subprocess.DEVNULL,
            capture_output=True, timeout=60)
        if result.returncode != 0 or result.stderr:
            self.skipTest("cannot run odrim as an unprivileged user here: %r" % result.stderr[:200])
        return result.stdout.decode("latin-1")

    def test_input_from_a_pipe_is_read_to_the_end(self):
        data = "中華民國".encode("gbk") * 50000 + b"\x81"
        env = dict(os.environ, LANG="C")
        result = subprocess.run([ODRIM, "/dev/stdin", "936", "out.txt", "950"], cwd=self.dir,
                                env=env, input=data, capture_output=True, timeout=60)
        out = open(self.path("out.txt"), "rb").read()
        self.assertEqual(out, "中華民國".encode("cp950") * 50000 + b"?")
        self.assertTrue(result.stdout.decode().endswith(
            summary(len(data), 200001, no_unicode=1, out_bytes=len(out), out_chars=200001, default=1)))

    def test_odd_length_utf16_input(self):
        console, out = self.convert(utf16("AB") + b"\x05", 1200, 1252)
        self.assertEqual(out, b"AB?")
        self.assertEqual(
            console,
            "Last input byte (0x 5) is half a UTF-16 character. Treated as unmappable char.\n"
            + HEADER
            + "       4        2    0x05 U+   0                  2         2    0x3F-default\n"
            + summary(5, 3, no_unicode=1, out_bytes=3, out_chars=3, default=1))


class DefaultCharacter(OdrimCase):
    ROW = "       0        0    0x00 U+ E01                  0         0  {}\n"

    def test_each_form_of_the_default_character(self):
        thai = utf16("\u0e01x")  # no mapping in 1252 or 936, and no Han variant
        cases = [
            # outcp, defchar args, output, row ending, counters
            (1252, (), b"?x", "  0x3F-default", dict(default=1)),
            (1252, ("3F",), b"?x", "  0x3F-default", dict(default=1)),
            (1252, ("2a",), b"*x", "  0x2A-default", dict(default=1)),
            (1252, ("0",), b"x", "null  -default", dict(unmapped=1)),
            (1252, ("",), b"x", "null  -default", dict(unmapped=1)),
            (1252, ("0x3F",), b"x", "null  -default", dict(unmapped=1)),
            (936, ("A1A1",), b"\xa1\xa1x", "0xA1A1-default", dict(default=1)),
            (37, (), b"\x6f\xa7", "  0x6F-default", dict(default=1)),
        ]
        for outcp, defchar, expected, ending, counters in cases:
            with self.subTest(outcp=outcp, defchar=defchar):
                console, out = self.convert(thai, 1200, outcp, *defchar)
                self.assertEqual(out, expected)
                self.assertEqual(
                    console,
                    HEADER + self.ROW.format(ending)
                    + summary(4, 2, out_bytes=len(expected), out_chars=2 - counters.get("unmapped", 0),
                              **counters))

    def test_utf16_output_writes_the_default_as_one_code_unit(self):
        for defchar, expected_unit, shown in (((), b"?\0", "  0x3F"), (("41",), b"A\0", "  0x41"),
                                              (("3042",), b"\x42\x30", "0x3042")):
            with self.subTest(defchar=defchar):
                console, out = self.convert(b"a\x80", 932, 1200, *defchar)
                self.assertEqual(out, b"a\0" + expected_unit)
                self.assertEqual(
                    console,
                    HEADER
                    + f"       1        1    0x80 U+   0                  2         1  {shown}-default\n"
                    + summary(2, 2, no_unicode=1, out_bytes=4, out_chars=2, default=1))


class HanFallback(OdrimCase):
    def test_road_of_one_character(self):
        console, out = self.convert(b"\xce\xaa", 936, 950)
        self.assertEqual(out, b"\xac\xb0")
        self.assertEqual(
            console,
            HEADER
            + "       0        0  0xCEAA U+7232  U+70BA          0         0  0xACB0-variant\n"
            + summary(2, 1, with_variant=1, out_bytes=2, out_chars=1, variant=1))

    def test_preference_step_alone_is_not_reported(self):
        console, out = self.convert(utf16("\u570b"), 1200, 936)
        self.assertEqual(out, b"\xb9\xfa")
        self.assertEqual(console, summary(2, 1, out_bytes=2, out_chars=1))

    def test_variant_that_cannot_be_written_leads_to_the_default(self):
        for defchar, out_expected, ending, counters in (
                ((), b"?", "  0x3F-default", dict(out_bytes=1, out_chars=1, default=1)),
                (("0",), b"", "null  -default", dict(unmapped=1))):
            with self.subTest(defchar=defchar):
                console, out = self.convert(utf16("\u56fd"), 1200, 1252, *defchar)
                self.assertEqual(out, out_expected)
                self.assertEqual(
                    console,
                    HEADER
                    + f"       0        0    0x00 U+56FD  U+570B          0         0  {ending}\n"
                    + summary(2, 1, with_variant=1, **counters))

    def test_changed_character_whose_variant_fails_goes_to_the_default(self):
        # 凫 becomes 鳬 for 950; neither it nor its variant 凫 can be written.
        console, out = self.convert("凫".encode("gbk"), 936, 950)
        self.assertEqual(out, b"?")
        self.assertEqual(
            console,
            HEADER
            + "       0        0  0xD9EC U+9CEC  U+51EB          0         0    0x3F-default\n"
            + summary(2, 1, with_variant=1, out_bytes=1, out_chars=1, default=1))

    def test_character_without_unicode_value_goes_straight_to_the_default(self):
        console, out = self.convert(b"\xff", 932, 950)
        self.assertEqual(out, b"?")
        self.assertEqual(
            console,
            HEADER
            + "       0        0    0xFF U+   0                  0         0    0x3F-default\n"
            + summary(1, 1, no_unicode=1, out_bytes=1, out_chars=1, default=1))

    def test_variant_row_of_the_report_example(self):
        console, out = self.convert(b"\x81\x41", 936, 950)
        self.assertEqual(out, b"\xa4\x57")
        self.assertIn("       0        0  0x8141 U+4E04  U+4E0A          0         0  0xA457-variant\n",
                      console)

    def test_preference_rows_through_conversions(self):
        # (input character, output code page, character written)
        cases = [
            ("国", 950, "國"), ("國", 936, "国"), ("万", 950, "萬"), ("萬", 936, "万"),
            ("龟", 950, "龜"), ("龜", 936, "龟"), ("麽", 950, "么"),
            ("么", 936, "麽"), ("麽", 936, "么"), ("后", 950, "後"), ("後", 950, "后"),
            ("后", 936, "後"), ("後", 936, "后"), ("余", 950, "餘"), ("馀", 950, "余"),
            ("餘", 936, "余"), ("余", 936, "馀"), ("发", 950, "發"), ("髮", 936, "髮"),
            ("干", 950, "幹"), ("乾", 936, "乾"), ("台", 950, "臺"), ("颱", 936, "颱"),
            ("只", 950, "衹"), ("隻", 936, "隻"), ("净", 950, "凈"), ("淨", 936, "淨"),
            ("為", 936, "為"), ("里", 950, "裏"), ("裡", 936, "裡"), ("面", 950, "面"),
            ("麵", 936, "麵"), ("國", 950, "國"), ("国", 932, "国"), ("國", 949, "國"),
        ]
        codecs = {936: "gbk", 950: "cp950", 932: "cp932", 949: "cp949"}
        for char, outcp, written in cases:
            with self.subTest(char=char, outcp=outcp):
                console, out = self.convert(utf16(char), 1200, outcp)
                self.assertEqual(out, written.encode(codecs[outcp]))
                self.assertNotIn("Imperfect", console)
        # Forms that 950 cannot write go on to their Han variant.
        # 么 becomes 麽, which 950 lacks; the variant of 麽 is 么 again.
        for char, variant in (("为", "為"), ("说", "說"), ("么", "么")):
            with self.subTest(char=char):
                console, out = self.convert(utf16(char), 1200, 950)
                self.assertEqual(out, variant.encode("cp950"))
                self.assertIn("-variant\n", console)


class Utf8AndGb18030(OdrimCase):
    def test_text_both_ways(self):
        simplified, traditional = "中华人民共和国，说话。", "中華民國，電話。"
        cases = [
            # input bytes, incp, outcp, expected output
            (simplified.encode("gbk"), 936, 65001, simplified.encode("utf-8")),
            (traditional.encode("gbk"), 936, 65001, traditional.encode("utf-8")),
            (simplified.encode("utf-8"), 65001, 936, simplified.encode("gbk")),
            (traditional.encode("utf-8"), 65001, 936, "中华民国，电话。".encode("gbk")),
            (traditional.encode("cp950"), 950, 65001, traditional.encode("utf-8")),
            (traditional.encode("utf-8"), 65001, 950, traditional.encode("cp950")),
            ("﻿A".encode("utf-8"), 65001, 1200, "﻿A".encode("utf-16-le")),
            ("﻿A".encode("utf-16-le"), 1200, 65001, "﻿A".encode("utf-8")),
            ("a😀𠀀中".encode("gb18030"), 54936, 65001, "a😀𠀀中".encode("utf-8")),
            ("a😀𠀀中€".encode("utf-8"), 65001, 54936, "a😀𠀀中€".encode("gb18030")),
            ("😀".encode("utf-16-le"), 1200, 54936, "😀".encode("gb18030")),
            ("中文".encode("gb18030"), 54936, 950, "中文".encode("cp950")),
        ]
        for data, incp, outcp, expected in cases:
            with self.subTest(incp=incp, outcp=outcp, data=data):
                console, out = self.convert(data, incp, outcp)
                self.assertEqual(out, expected)
                self.assertNotIn("Imperfect", console)

    def test_preference_and_variant_from_utf8(self):
        console, out = self.convert("为".encode("utf-8"), 65001, 950)
        self.assertEqual(out, b"\xac\xb0")
        self.assertEqual(
            console,
            HEADER
            + "       0        0  0xE4B8BA U+7232  U+70BA          0         0  0xACB0-variant\n"
            + summary(3, 1, with_variant=1, out_bytes=2, out_chars=1, variant=1))

    def test_character_beyond_ffff(self):
        # UTF-16 to UTF-8: the pair is one character of 4 bytes.
        console, out = self.convert("😀".encode("utf-16-le"), 1200, 65001)
        self.assertEqual(out, "😀".encode("utf-8"))
        self.assertEqual(console, summary(4, 1, out_bytes=4, out_chars=1))
        # UTF-16 to 936: the units stay separate, two rows.
        console, out = self.convert("😀".encode("utf-16-le"), 1200, 936)
        self.assertEqual(out, b"??")
        self.assertEqual(
            console,
            HEADER
            + "       0        0    0x00 U+D83D                  0         0    0x3F-default\n"
            + "       2        1    0x00 U+DE00                  1         1    0x3F-default\n"
            + summary(4, 2, out_bytes=2, out_chars=2, default=2))
        # UTF-8 to 936: one character, its code point widens the column.
        console, out = self.convert("😀".encode("utf-8"), 65001, 936)
        self.assertEqual(out, b"?")
        self.assertEqual(
            console,
            HEADER
            + "       0        0  0xF09F9880 U+1F600                  0         0    0x3F-default\n"
            + summary(4, 1, out_bytes=1, out_chars=1, default=1))
        # UTF-8 to UTF-16: one character of two units.
        console, out = self.convert("😀".encode("utf-8"), 65001, 1200)
        self.assertEqual(out, "😀".encode("utf-16-le"))
        self.assertEqual(console, summary(4, 1, out_bytes=4, out_chars=1))

    def test_lone_surrogate_to_utf8_goes_to_the_fallback_chain(self):
        console, out = self.convert(b"\x3d\xd8A\x00", 1200, 65001)
        self.assertEqual(out, b"?A")
        self.assertIn("       0        0    0x00 U+D83D                  0         0    0x3F-default\n",
                      console)

    def test_malformed_and_truncated_utf8(self):
        data = b"\xc0\x80|\xed\xa0\x80|\xe4\xb8A|\xe4\xb8"
        console, out = self.convert(data, 65001, 1252)
        self.assertEqual(out, b"??|???|?A|?")
        rows = [(0, 0, "0xC0"), (1, 1, "0x80"), (3, 3, "0xED"), (4, 4, "0xA0"),
                (5, 5, "0x80"), (7, 7, "0xE4B8")]
        expected = HEADER
        out_offset = {0: 0, 1: 1, 3: 3, 4: 4, 5: 5, 7: 7}
        for in_byte, in_char, code in rows:
            expected += (f"{in_byte:8d} {in_char:8d}  {code:>6} U+   0 " + " " * 9
                         + f"{out_offset[in_byte]:9d} {in_char:9d}    0x3F-default\n")
        expected += "Last input bytes (0xE4 0xB8) are an incomplete character. Treated as unmappable char.\n"
        expected += "      11       10  0xE4B8 U+   0                 10        10    0x3F-default\n"
        expected += summary(13, 11, no_unicode=7, out_bytes=11, out_chars=11, default=7)
        self.assertEqual(console, expected)

    def test_malformed_and_truncated_gb18030(self):
        # A lead byte before a byte that cannot follow it is one character;
        # reading goes on with that byte. A four-byte start cut off at the end.
        console, out = self.convert(b"\x81\x20x\x81\x30\x20\x81\x30", 54936, 65001)
        self.assertEqual(out, b"? x? ?")
        self.assertIn("Last input bytes (0x81 0x30) are an incomplete character.", console)
        self.assertIn("       3        3  0x8130 U+   0", console)
        self.assertTrue(console.endswith(summary(8, 6, no_unicode=3, out_bytes=6, out_chars=6, default=3)))
        console, out = self.convert(b"ab\x81", 54936, 65001)
        self.assertIn("Last input byte (0x81) is an orphaned lead byte. Treated as unmappable char.\n", console)

    def test_default_character_in_utf8_output_is_a_unicode_value(self):
        for defchar, written, shown in (((), b"?", "  0x3F"), (("3042",), "あ".encode("utf-8"), "0x3042"),
                                        (("E9",), "é".encode("utf-8"), "  0xE9")):
            with self.subTest(defchar=defchar):
                console, out = self.convert(b"\x80", 932, 65001, *defchar)
                self.assertEqual(out, written)
                self.assertIn(f"{shown}-default\n", console)
                self.assertTrue(console.endswith(summary(1, 1, no_unicode=1, out_bytes=len(written),
                                                         out_chars=1, default=1)))


class UsageScreen(OdrimCase):
    SCREEN_START = (
        "\nODRIM\n\n"
        "Converts a text file from one code page to another. You must have installed the\n"
        "appropriate .NLS file on your system for both the input and output code pages\n"
        "(see the LangPack folder on a WINNT 4 CD ROM).\n\n"
        "Syntax\n\n"
        "ODRIM infile incp outfile outcp [defchar]\n\n"
        "    defchar is the hex value (no preceding '0x') for the char that should be\n"
        "    used whenever char mapping is impossible. If none is specified, the default\n"
        "    defchar for the output code page is used. To skip unmappable chars, use\n"
        "    defchar = 0.\n\n"
        "Example\n\n"
        "ODRIM infile.txt 936 outfile.txt 950 3F\n"
        "    --converts infile.txt in CP936 to outfile.txt in CP950, using 0x3F as the\n"
        "      default char.\n\n"
        "The following values have special meaning with regard to code pages.\n\n"
        "       0  --the current ANSI code page\n"
        "       1  --the current OEM code page\n"
        "       2  --the current MAC code page\n"
        "    1200  --Unicode (always supported on NT)\n\n"
    )

    def test_wrong_argument_counts_show_the_screen(self):
        for args in ((), ("a", "b", "c"), ("a", "b", "c", "d", "e", "f")):
            with self.subTest(count=len(args)):
                screen = self.run_odrim(*args, locale="zh_CN.UTF-8")
                start = self.SCREEN_START + (
                    "The current ANSI code page is 936.\n"
                    "The current OEM code page is 936.\n\n"
                    "The following code pages are installed.\n\n")
                self.assertTrue(screen.startswith(start), screen[:len(start) + 40])
                listing = screen[len(start):]
                self.assertTrue(listing.endswith("\n"))
                lines = listing[:-1].split("\n")
                numbers = " ".join(lines).split()
                self.assertEqual(numbers, sorted(numbers, key=int))
                self.assertIn("936", numbers)
                self.assertIn("   37", lines[0][:5])
                for line in lines[:-1]:
                    self.assertEqual(len(line), 77)
                    self.assertFalse(line.endswith(" "))
                if len(numbers) % 13:
                    self.assertTrue(lines[-1].endswith(" "))
                    self.assertEqual(len(lines[-1]), 6 * (len(numbers) % 13))
                else:
                    self.assertEqual(lines[-1], "")

    def test_c_locale_shows_1252_and_437(self):
        screen = self.run_odrim()
        self.assertIn("The current ANSI code page is 1252.\nThe current OEM code page is 437.\n\n", screen)


if __name__ == "__main__":
    ODRIM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=1)
