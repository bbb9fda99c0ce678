#!/usr/bin/env python3
"""Tests of tools/gen/committed_data.py on small hand-made excerpts: the
normalisation worked out from the excerpt's rows, lookups, case, the
codec and transliteration rows, and that a question the excerpts do not
answer stops the run rather than getting a guess. Where the machine has
unicodedata the normalisations are also held to it."""
import pathlib
import sys
import tempfile
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "gen"))
import committed_data as cd  # noqa: E402

UNICODE = """\
# test rows
0041;LATIN CAPITAL LETTER A;Lu;0;;0061;;
0061;LATIN SMALL LETTER A;Ll;0;;;0041;
0300;COMBINING GRAVE ACCENT;Mn;230;;;;
0302;COMBINING CIRCUMFLEX ACCENT;Mn;230;;;;
0323;COMBINING DOT BELOW;Mn;220;;;;
0316;COMBINING GRAVE ACCENT BELOW;Mn;220;;;;
0346;COMBINING BRIDGE ABOVE;Mn;230;;;;
00C0;LATIN CAPITAL LETTER A WITH GRAVE;Lu;0;0041 0300;00E0;;
00C2;LATIN CAPITAL LETTER A WITH CIRCUMFLEX;Lu;0;0041 0302;00E2;;
1EA0;LATIN CAPITAL LETTER A WITH DOT BELOW;Lu;0;0041 0323;1EA1;;
1EAC;LATIN CAPITAL LETTER A WITH CIRCUMFLEX AND DOT BELOW;Lu;0;1EA0 0302;1EAD;;
0915;DEVANAGARI LETTER KA;Lo;0;;;;
093C;DEVANAGARI SIGN NUKTA;Mn;7;;;;
0958;DEVANAGARI LETTER QA;Lo;0;0915 093C;;;x
FF21;FULLWIDTH LATIN CAPITAL LETTER A;Lu;0;<wide> 0041;FF41;;
1100;HANGUL CHOSEONG KIYEOK;Lo;0;;;;
1161;HANGUL JUNGSEONG A;Lo;0;;;;
11A8;HANGUL JONGSEONG KIYEOK;Lo;0;;;;
AC00;HANGUL SYLLABLE GA;Lo;0;;;;
AC01;HANGUL SYLLABLE GAG;Lo;0;;;;
0130;LATIN CAPITAL LETTER I WITH DOT ABOVE;Lu;0;0049 0307;0069 0307;;
03A9;GREEK CAPITAL LETTER OMEGA;Lu;0;;03C9;;
2126;OHM SIGN;Lu;0;03A9;03C9;;x
0378;;Cn;0;;;;
lookup;no such piece;
lookup;BEL;0007
singletons;2100;21FF
"""
CHARMAPS = "CP9 0080: " + " ".join(["20AC"] + ["-"] * 15) + "\n"
CODECS = ("cp9 A1A0: - 3000 3001 3000 - - - - - - - - - - - -\n"
          "encode cp9 3001 A1A3\n"
          "encode cp9 00AF -\n")
TRANSLITERATIONS = "T-S 8AA0: - = 8BF4 4E00+4E01 - - - - - - - - - - - -\n"

# (form, text, expected)
NORMALIZATIONS = [
    ("NFD", "\u00C0", "A\u0300"),
    ("NFD", "A\u0300\u0323", "A\u0323\u0300"),         # dot below (220) goes before grave (230)
    ("NFD", "\u1EAC", "A\u0323\u0302"),                # decomposes in two steps
    ("NFC", "A\u0323\u0302", "\u1EAC"),                # composes in two steps
    ("NFC", "A\u0302\u0323", "\u1EAC"),                # after reordering
    ("NFC", "A\u0300\u0300", "\u00C0\u0300"),          # no A-grave-grave
    ("NFC", "A\u0316\u0300", "\u00C0\u0316"),          # a lower class between lets the grave reach A
    ("NFC", "A\u0346\u0300", "A\u0346\u0300"),         # a mark of the same class blocks it
    ("NFC", "\u0915\u093C", "\u0915\u093C"),           # QA does not compose back
    ("NFC", "\u0958", "\u0915\u093C"),
    ("NFC", "\u2126", "\u03A9"),                       # singleton
    ("NFD", "\uFF21", "\uFF21"),                       # compatibility mappings only under NFK
    ("NFKD", "\uFF21", "A"),
    ("NFKC", "\uFF21\u0300", "\u00C0"),
    ("NFD", "\uAC01", "\u1100\u1161\u11A8"),           # Hangul by rule
    ("NFC", "\u1100\u1161\u11A8", "\uAC01"),
    ("NFC", "\u0300A", "\u0300A"),                     # a leading mark stays
    ("NFC", "", ""),
]


class ExcerptsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        folder = pathlib.Path(cls.tmp.name)
        for name, text in ((cd.UNICODE_FILE, UNICODE), (cd.CHARMAPS_FILE, CHARMAPS),
                           (cd.CODECS_FILE, CODECS), (cd.TRANSLITERATIONS_FILE, TRANSLITERATIONS)):
            (folder / name).write_text(text, encoding="utf-8")
        cls.data = cd.Excerpts(folder)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def assertMissing(self, call, *args):
        with self.assertRaises(SystemExit) as raised:
            call(*args)
        self.assertEqual(raised.exception.code, 2)

    def test_normalize(self):
        for form, text, expected in NORMALIZATIONS:
            with self.subTest(form=form, text=text):
                self.assertEqual(self.data.normalize(form, text), expected)

    def test_normalize_as_the_machine(self):
        try:
            import unicodedata
        except ImportError:
            self.skipTest("no unicodedata here")
        for form, text, _ in NORMALIZATIONS:
            with self.subTest(form=form, text=text):
                self.assertEqual(self.data.normalize(form, text), unicodedata.normalize(form, text))

    def test_character_data(self):
        d = self.data
        self.assertEqual(d.name("\u00C0"), "LATIN CAPITAL LETTER A WITH GRAVE")
        self.assertEqual(d.name("\u0378", "?"), "?")
        self.assertRaises(ValueError, d.name, "\u0378")
        self.assertEqual(d.category("\u0378"), "Cn")
        self.assertEqual(d.combining("\u0323"), 220)
        self.assertEqual(d.decomposition("\uFF21"), "<wide> 0041")
        self.assertEqual(d.lower("\u0130"), "i\u0307")   # the full mapping, as str.lower gives it
        self.assertEqual(d.lower("a"), "a")
        self.assertEqual(d.upper("a"), "A")

    def test_lookup(self):
        d = self.data
        self.assertEqual(d.lookup("latin capital letter a with grave"), "\u00C0")
        self.assertEqual(d.lookup("BEL"), "\u0007")
        self.assertRaises(KeyError, d.lookup, "no such piece")
        self.assertMissing(d.lookup, "latin small letter b")

    def test_canonical_singletons(self):
        self.assertEqual(self.data.canonical_singletons(0x2100, 0x2200), [(0x2126, 0x03A9)])
        self.assertMissing(self.data.canonical_singletons, 0xA0, 0x10000)

    def test_charts_and_codecs(self):
        d = self.data
        self.assertEqual(d.chart("CP9"), {0x80: 0x20AC})
        self.assertIsNone(d.chart("CP10"))
        self.assertIsNone(d.chart("py:cp9"))          # not all 256 bytes
        self.assertEqual(d.decode(0xA1A1, "cp9"), 0x3000)
        self.assertIsNone(d.decode(0xA1A0, "cp9"))
        self.assertMissing(d.decode, 0xA1B0, "cp9")
        self.assertEqual(d.encode(0x3000, "cp9"), 0xA1A1)   # the lowest of two codes
        self.assertEqual(d.encode(0x3001, "cp9"), 0xA1A3)   # an encode line wins
        self.assertIsNone(d.encode(0x00AF, "cp9"))
        self.assertMissing(d.encode, 0x4E00, "cp9")

    def test_transliterate(self):
        d = self.data
        self.assertEqual(d.transliterate(["\u8AA1", "\u8AA2", "\u8AA3"], "T-S"),
                         ["\u8AA1", "\u8BF4", "\u4E00\u4E01"])
        self.assertMissing(d.transliterate, ["\u8AA0"], "T-S")
        self.assertMissing(d.transliterate, ["\u8AA1"], "S-T")


if __name__ == "__main__":
    unittest.main()
