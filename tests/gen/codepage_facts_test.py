"""The code page table's fields: what gen_codepage_list.py reads from them
and which broken ones it refuses."""
import pathlib
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools" / "gen"))
import gen_codepage_list as gen  # noqa: E402


def check(line):
    """The broken invariants of an unnamed line "KIND FIELD ..."."""
    fail = gen.native.Failures()
    words = line.split()
    facts = gen.read_facts(999, words[0], words[1:], "t:1", fail)
    gen.check_facts([facts], [], fail)
    return fail.messages


class Fields(unittest.TestCase):
    def test_reads_every_field(self):
        fail = gen.native.Failures()
        f = gen.read_facts(950, "double-byte", ["iconv=CP950", "lead=81-9F,E0-FC", "c1=80,8A-8B",
                                                "user=FA-FE:40-7E,A1-FE:E000", "user=C6:A1-FE:U+F6B1"],
                           "t:1", fail)
        self.assertEqual(fail.messages, [])
        self.assertEqual(f.iconv, "CP950")
        self.assertEqual(f.leads, [(0x81, 0x9F), (0xE0, 0xFC)])
        self.assertEqual(f.c1, [(0x80, 0x80), (0x8A, 0x8B)])
        self.assertEqual(f.blocks, [(0xFA, 0xFE, [(0x40, 0x7E), (0xA1, 0xFE)], 0xE000),
                                    (0xC6, 0xC6, [(0xA1, 0xFE)], 0xF6B1)])

    def test_accepts_sound_lines(self):
        for line in ["single-byte iconv=CP874 c1=81-84,86-90",
                     "double-byte",  # placed by the library, converted by no host
                     "double-byte iconv=X lead=81-FE user=A0-A1:A1-FE:E000 user=B0:40-7E,80-FE:E0BC"]:
            self.assertEqual(check(line), [], line)

    def test_refuses_broken_lines(self):
        cases = [
            ("double-byte iconv=X lead=80-FE", "not within 81-FE"),
            ("double-byte iconv=X lead=81-FF", "not within 81-FE"),
            ("double-byte iconv=X lead=81-A0,A1-FE", "does not follow"),
            ("double-byte iconv=X lead=81-90,A0-A8,B0-FE", "room for 2"),
            ("double-byte iconv=X lead=81-9F user=A0-A1:A1-FE:E000", "not within the lead bytes"),
            ("double-byte iconv=X lead=81-FE user=A0:30-7E:E000", "trail range 30-7E"),
            ("double-byte iconv=X lead=81-FE user=A0:A1-FE:F8C0", "leave the Private Use Area"),
            ("double-byte iconv=X lead=81-FE user=A0:A1-FE:D000", "leave the Private Use Area"),
            ("double-byte iconv=X lead=81-FE user=A0-A1:A1-FE:E000 user=B0:A1-FE:E0BB", "shares Private Use units"),
            ("double-byte iconv=X lead=81-FE user=A0-A1:A1-FE:E000 user=A1:A1-FE:F000", "share lead byte A1"),
            ("double-byte iconv=X lead=81-FE c1=81", "include a lead byte"),
            ("single-byte iconv=X c1=A0", "not within 80-9F"),
            ("single-byte iconv=X lead=81-FE", "if and only if"),
            ("double-byte iconv=X", "if and only if"),
            ("double-byte lead=81-FE", "a page the host converts"),
            ("single-byte iconv=cp874", "upper-case"),
            ("single-byte iconv=X iconv=Y", "given twice"),
            ("single-byte iconv=X c1=8G", "cannot read"),
            ("double-byte iconv=X lead=81-FE user=A0-A1,B0:A1-FE:E000", "cannot read"),
            ("windows iconv=X", "not one of single-byte, double-byte"),
        ]
        for line, message in cases:
            messages = check(line)
            self.assertTrue(any(message in m for m in messages), f"{line}: {messages}")

    def test_refuses_facts_apart_from_a_named_page(self):
        fail = gen.native.Failures()
        named = [gen.Named(18851, 28591, "iso", [], True, "t:1")]
        facts = [gen.read_facts(28591, "single-byte", ["iconv=ISO-8859-1"], "t:2", fail)]
        gen.check_facts(facts, named, fail)
        self.assertTrue(any("give the fields there" in m for m in fail.messages), fail.messages)


if __name__ == "__main__":
    unittest.main()
