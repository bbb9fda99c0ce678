#!/usr/bin/env python3
"""Generates src/charset/native_tables_data.cpp, the forward tables of the
native sets 1-11, 13 and 14 and the reverse table, from
tools/gen/data/native_chars.txt and native_extras.txt.

Before writing anything it checks every fact that the rest of the library
relies on: table sizes, telling rows, case pairs, the letter ranges, the
composed letters, the reverse table and how many characters of each public
code page the native sets hold (tools/gen/data/codepage_coverage.txt, checked
against the charts of tools/gen/data/charmaps.txt). Each broken invariant is reported on a
line of its own and the run fails.

  gen_native_tables.py          write the C++ source
  gen_native_tables.py --check  compare with the committed source: exit 0 if
                                equal, 1 if stale, 2 on a broken invariant
"""
import argparse
import pathlib
import re
import sys

import committed_data as ucd  # Unicode data and the code page charts, from tools/gen/data

ROOT = pathlib.Path(__file__).resolve().parents[2]
DATA = ROOT / "tools" / "gen" / "data"
OUTPUT = ROOT / "src" / "charset" / "native_tables_data.cpp"

# Entries of each forward table; sets 0 and 12 have none.
SET_SIZES = {1: 242, 2: 145, 3: 88, 4: 102, 5: 255, 6: 238, 7: 229, 8: 219,
             9: 123, 10: 250, 11: 63, 13: 196, 14: 220}
REVERSE_SIZE = 2245
REVERSE_FIRST, REVERSE_LAST = 0x00A0, 0xFF9F

# Native character -> the value its set's forward table must give.
FORWARD_TELLING = {
    0x0100: 0x0300, 0x0129: 0x00E9, 0x0200: 0x02B9, 0x0300: 0x2591,
    0x0403: 0x2022, 0x0448: 0x20AC, 0x0500: 0x2661, 0x0600: 0x2212,
    0x0700: 0x2320, 0x0800: 0x0391, 0x0801: 0x03B1, 0x0900: 0x05D0,
    0x0A00: 0x0410, 0x0A01: 0x0430, 0x0B00: 0xFF61, 0x0B3E: 0xFF9F,
    # characters that the code page data names directly
    0x0401: 0x25CB,  # glyph of DOS control code 9
    0x0405: 0x00B6,  # pilcrow, DOS control code 20
    0x040C: 0x00A5,  # yen sign: 0x5C of the Japanese page
    0x0456: 0x20A9,  # won sign: 0x5C of the Korean page
    0x0418: 0x00A4,  # currency sign
    0x050C: 0x2302,  # house, DOS code 0x7F
    0x0204: 0x02BD,  # modifier letters of the older Greek ISO page
    0x010B: 0x02BC,
    0x0626: 0x203E,  # overline of the older Hebrew ISO page
    0x0808: 0x0394,  # capital delta
    0x0217: 0x02C6,  # modifier circumflex and small tilde
    0x0219: 0x02DC,
    0x0622: 0x2219,  # bullet operator: the Macintosh page's bullet
    0x061F: 0x22C5,  # dot operator: the half-width middle dot in version-5 numbering
    0x06DC: 0x22EF,  # midline ellipsis: the Macintosh page's ellipsis
}
# Letters that the collation's language tailorings and contractions are
# about (upper-case partners are checked through the case pairs).
LANGUAGE_LETTERS = {
    0x011F: 0x00E4, 0x0123: 0x00E5, 0x0125: 0x00E6, 0x013F: 0x00F6, 0x0147: 0x00FC,
    0x0151: 0x00F8, 0x0155: 0x00FD, 0x011B: 0x00E1, 0x0129: 0x00E9, 0x0131: 0x00ED,
    0x013B: 0x00F3, 0x0143: 0x00FA, 0x014B: 0x00FF,             # Nordic and Hungarian
    0x0163: 0x010D, 0x01AB: 0x0159, 0x01B1: 0x0161, 0x01CF: 0x017E,  # Czech, Croatian
    0x0161: 0x0107, 0x015F: 0x0105, 0x0171: 0x0119, 0x0199: 0x0142, 0x019B: 0x0144,
    0x01AF: 0x015B, 0x01CD: 0x017A, 0x01D1: 0x017C,             # Polish
    0x01EE: 0x0049, 0x01EF: 0x0131, 0x01B3: 0x015F, 0x0175: 0x011F, 0x0127: 0x00E7,  # Turkish
    0x0A3A: 0x042C, 0x0A3B: 0x044C,                             # soft sign
    0x01A7: 0x0153, 0x0117: 0x00DF, 0x018B: 0x0133,             # expand to oe, ss, ij
    0x0197: 0x0140, 0x0101: 0x00B7,                             # Catalan l-middle-dot-l
}
REVERSE_TELLING = {0x00E9: 0x0129, 0x03B1: 0x0801, 0x0410: 0x0A00, 0x05D0: 0x0900,
                   0x2022: 0x0403, 0x20AC: 0x0448, 0x00A0: 0x0CA0, 0x00A6: 0x0C7C,
                   0x00AD: 0x0C2D, 0xFF9F: 0x0B3E}
# The only reverse entries into set 12.
RAW_ENTRIES = {0x00A0: 0x0CA0, 0x00A6: 0x0C7C, 0x00AD: 0x0C2D}
# Sets onto which reverse-only entries may map (besides those of set 12).
EXTRA_TARGET_SETS = {4, 5, 6, 13}

# (set, first code, last code) of the letter range table.
LETTER_RANGES = [(1, 0x17, 0xF1), (8, 0x00, 0x4E), (8, 0x6D, 0xD6), (9, 0x00, 0x1A),
                 (9, 0x54, 0x76), (10, 0x00, 0xC7), (10, 0xD2, 0xF9), (11, 0x05, 0x3E),
                 (13, 0x2F, 0xC1), (14, 0x29, 0xDB)]
# (set, first code, last code): even codes upper case, the next odd code lower.
CASE_RANGES = [(1, 0x1A, 0xF1), (8, 0x00, 0x45), (10, 0x00, 0xC7)]

# Composition records: set -> (first code, count). Set 1 alone has a mask:
# the composed letters whose base is a set 1 letter rather than an ASCII one.
COMPOSITION = {1: (0x1A, 216), 8: (0x34, 163), 10: (0x50, 120)}
SET1_MASK_CODES = {0x31, 0x33, 0x35, 0x37, 0x83, 0x85, 0x89, 0x8D, 0xED}
SET1_DIACRITICS = range(0x00, 0x17)
COMPOSITION_TELLING = {0x011A: (0x0041, 0x0106), 0x011B: (0x0061, 0x0106),
                       0x0124: None, 0x0131: (0x01EF, 0x0106)}

# str.lower() gives full case mappings; these are the simple ones that differ.
SIMPLE_LOWER = {0x0130: 0x0069}
# Soft-dotted letters lose their dot under an accent above: built from these.
DOTLESS = {0x0131: 0x0069, 0x0237: 0x006A}
# Spacing accents whose compatibility decomposition is not space + mark.
SPACING_MARK = {0x0060: 0x0300}

HEADER = ("// Generated by tools/gen/gen_native_tables.py from "
          "tools/gen/data/native_chars.txt; do not edit.\n")


class Failures:
    def __init__(self):
        self.messages = []

    def __call__(self, message):
        self.messages.append(message)


def generator_parser(doc):
    """The command line every generator takes: --check compares instead of writing."""
    parser = argparse.ArgumentParser(description=doc.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare with the committed source instead of writing it")
    return parser


def report_broken(tool, messages):
    """Prints every broken invariant on its own line; returns exit status 2."""
    for message in messages:
        print(f"{tool}: {message}", file=sys.stderr)
    print(f"{tool}: {len(messages)} broken invariant(s); nothing written", file=sys.stderr)
    return 2


def write_or_check(path, text, check):
    """Writes the generated source, or with check only compares it with the
    file in the tree; returns the exit status (1 when that file is stale)."""
    if check:
        current = path.read_text(encoding="utf-8") if path.exists() else ""
        if current != text:
            print("tables are stale: run make tables", file=sys.stderr)
            return 1
        return 0
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text, encoding="utf-8")
    return 0


def native(s, code):
    return (s << 8) | code


def hex4(n):
    return "0x%04X" % n


def uplus(v):
    return "U+%04X" % v


def is_pua(v):
    return 0xE000 <= v <= 0xF8FF


def strip_comment(line):
    body, _, reason = line.partition("#")
    return body.strip(), reason.strip()


# ---------------------------------------------------------------- reading

class Char:
    def __init__(self, s, code, value, rev, name, reason, line):
        self.s, self.code, self.value, self.rev = s, code, value, rev
        self.name, self.reason, self.line = name, reason, line

    @property
    def native(self):
        return native(self.s, self.code)


def read_chars(fail):
    chars = {}
    path = DATA / "native_chars.txt"
    pattern = re.compile(r"(\d+)\s+0x([0-9A-Fa-f]{2})\s+U\+([0-9A-Fa-f]{4})\s+(\+rev\s+)?(\S.*)$")
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        body, reason = strip_comment(raw)
        if not body:
            continue
        m = pattern.fullmatch(body)
        if not m:
            fail(f"native_chars.txt:{number}: cannot read '{body}'")
            continue
        c = Char(int(m[1]), int(m[2], 16), int(m[3], 16), bool(m[4]), m[5].strip(), reason, number)
        if c.s not in SET_SIZES:
            fail(f"native_chars.txt:{number}: set {c.s} has no forward table")
        elif (c.s, c.code) in chars:
            fail(f"native_chars.txt:{number}: {hex4(c.native)} is listed twice")
        else:
            chars[(c.s, c.code)] = c
    return chars


def read_extras(fail):
    reverse, case_pairs, early = {}, {}, {}
    path = DATA / "native_extras.txt"
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        body, reason = strip_comment(raw)
        if not body:
            continue
        words = body.split()
        where = f"native_extras.txt:{number}"
        try:
            if words[0] == "reverse":
                value = int(words[1].removeprefix("U+"), 16)
                if value in reverse:
                    fail(f"{where}: {uplus(value)} is listed twice")
                target = words[2]
                target = ("U", int(target[2:], 16)) if target.startswith("U+") else ("N", int(target, 16))
                reverse[value] = (target, " ".join(words[3:]), number)
            elif words[0] == "case-pair":
                case_pairs[int(words[1], 16)] = (int(words[2], 16), reason)
            elif words[0] == "composed-early":
                early[int(words[1], 16)] = reason
            else:
                fail(f"{where}: unknown entry '{words[0]}'")
        except (IndexError, ValueError):
            fail(f"{where}: cannot read '{body}'")
    return reverse, case_pairs, early


def read_coverage(fail):
    rows, overrides, glyphs = [], {}, []
    path = DATA / "codepage_coverage.txt"
    for number, raw in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        body, _ = strip_comment(raw)
        if not body:
            continue
        words = body.split()
        try:
            if words[0] == "override":
                target = None if words[3] == "raw" else int(words[3], 16)
                overrides.setdefault(words[1], {})[int(words[2], 16)] = target
            elif words[0] == "glyphs":
                glyphs += [int(w.removeprefix("U+"), 16) for w in words[1:]]
            else:
                page, chart, kind, first, last, entries = words
                rows.append((page, chart, kind == "dos", int(first, 16), int(last, 16), int(entries)))
        except (IndexError, ValueError):
            fail(f"codepage_coverage.txt:{number}: cannot read '{body}'")
    if len(glyphs) != 31:
        fail(f"codepage_coverage.txt: {len(glyphs)} control-code glyphs, expected 31")
    return rows, overrides, glyphs


def read_chart(name):
    """Byte -> Unicode value of a single-byte chart, or None without one."""
    return ucd.chart(name)


# ---------------------------------------------------------------- checks

def check_characters(chars, fail):
    for s, size in SET_SIZES.items():
        codes = sorted(code for (cs, code) in chars if cs == s)
        if codes != list(range(size)):
            fail(f"set {s}: {len(codes)} codes listed, expected exactly 0x00-0x{size - 1:02X} ({size})")
    for c in chars.values():
        where = f"native_chars.txt:{c.line} ({hex4(c.native)})"
        if c.value in (0, 0xFFFF):
            fail(f"{where}: maps to {uplus(c.value)}, which is not a mapping")
        elif 0xD800 <= c.value <= 0xDFFF:
            fail(f"{where}: maps to a surrogate")
        elif is_pua(c.value):
            # Private use only for a piece without a standard code point, so
            # its name must not be the name of a standard character.
            try:
                ucd.lookup(c.name)
                fail(f"{where}: private-use value for '{c.name}', which has a standard code point")
            except KeyError:
                pass
        else:
            name = ucd.name(chr(c.value), None)
            if name is None:
                fail(f"{where}: {uplus(c.value)} is not an assigned character")
            elif name.lower() != c.name.lower():
                fail(f"{where}: {uplus(c.value)} is '{name.lower()}', not '{c.name}'")
    for n, value in {**FORWARD_TELLING, **LANGUAGE_LETTERS}.items():
        c = chars.get((n >> 8, n & 0xFF))
        if c is not None and c.value != value:
            fail(f"telling row: {hex4(n)} must map to {uplus(value)}, not {uplus(c.value)}")
    for code in range(SET_SIZES[11]):
        c = chars.get((11, code))
        if c is not None and c.value != 0xFF61 + code:
            fail(f"set 11: {hex4(c.native)} must be {uplus(0xFF61 + code)} (half-width katakana in order)")


def check_letters(chars, fail):
    for s, first, last in LETTER_RANGES:
        for code in range(first, last + 1):
            c = chars.get((s, code))
            if c is not None and not ucd.category(chr(c.value)).startswith("L"):
                fail(f"letter range: {hex4(c.native)} ({c.name}) is not a letter")


def simple_lower(v):
    if v in SIMPLE_LOWER:
        return SIMPLE_LOWER[v]
    low = ucd.lower(chr(v))
    return ord(low) if len(low) == 1 else v


def simple_upper(v):
    up = ucd.upper(chr(v))
    return ord(up) if len(up) == 1 else v


def check_case_pairs(chars, case_pairs, fail):
    checked = set()
    for s, first, last in CASE_RANGES:
        if first % 2 or (last - first) % 2 == 0:
            fail(f"case range of set {s} does not hold whole pairs")
        for even in range(first, last, 2):
            upper, lower = chars.get((s, even)), chars.get((s, even + 1))
            if upper is None or lower is None:
                continue
            pair = (upper.native, lower.native)
            unicode_pair = (simple_lower(upper.value) == lower.value and
                            simple_upper(lower.value) == upper.value)
            listed = case_pairs.get(upper.native, (None,))[0] == lower.native
            checked.add(upper.native)
            if unicode_pair and listed:
                fail(f"case pair {hex4(pair[0])}/{hex4(pair[1])} follows Unicode: drop it from native_extras.txt")
            elif not unicode_pair and not listed:
                fail(f"case pair {hex4(pair[0])}/{hex4(pair[1])} ({upper.name} / {lower.name}) "
                     f"is not an upper/lower pair in Unicode; list it as a case-pair with the reason")
            if ucd.category(chr(upper.value)) not in ("Lu", "Lt") and not listed:
                fail(f"case pair: {hex4(pair[0])} ({upper.name}) is not upper case")
            if ucd.category(chr(lower.value)) != "Ll":
                fail(f"case pair: {hex4(pair[1])} ({lower.name}) is not lower case")
    for even, (odd, _) in case_pairs.items():
        if even not in checked or odd != even + 1:
            fail(f"case-pair {hex4(even)}/{hex4(odd)} is not an even/odd pair of a case range")


def diacritic_marks(v):
    """The combining marks an accent stands for: itself if it combines, the
    marks of its compatibility decomposition if it is a spacing accent."""
    if ucd.category(chr(v)) == "Mn":
        return ucd.normalize("NFD", chr(v))
    if v in SPACING_MARK:
        return chr(SPACING_MARK[v])
    folded = ucd.normalize("NFKD", chr(v)).lstrip(" ")
    folded = "".join(chr(SPACING_MARK.get(ord(ch), ord(ch))) for ch in folded)
    if folded and all(ucd.combining(ch) or ucd.category(ch) == "Mn" for ch in folded):
        return folded
    return ""


def compose(base, marks):
    """The character that base plus marks makes, or None if not one character."""
    if base in DOTLESS:
        if not all(ucd.combining(m) == 230 for m in marks):
            return None
        if marks == "\u0307":
            return DOTLESS[base]
        base = DOTLESS[base]
    text = ucd.normalize("NFC", ucd.normalize("NFD", chr(base)) + marks)
    return ord(text) if len(text) == 1 else None


def composition_pairs(chars, s):
    """Code -> (base native, diacritic native) for the composed letters of set s."""
    diacritics = []
    for c in chars.values():
        if c.s == s and not is_pua(c.value):
            marks = diacritic_marks(c.value)
            if marks:
                diacritics.append((c, marks))
    bases = [c for c in chars.values()
             if c.s == s and not is_pua(c.value) and ucd.category(chr(c.value)).startswith("L")]
    ascii_bases = [(ch, ord(ch)) for ch in "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"]
    made = {}  # value -> list of (rank, base native, diacritic native)
    for d, marks in diacritics:
        candidates = [(b.value, b.native) for b in bases]
        if s == 1:
            candidates += [(v, v) for _, v in ascii_bases]
        for value, base_native in candidates:
            result = compose(value, marks)
            if result is None:
                continue
            dotless = value in DOTLESS
            in_ascii = base_native < 0x100
            # Prefer the dotless base for soft-dotted letters, then an ASCII
            # base, then the base with the fewest marks of its own.
            rank = (not dotless, not in_ascii, -len(marks), d.code, base_native)
            made.setdefault(result, []).append((rank, base_native, d.native))
    pairs = {}
    for c in chars.values():
        if c.s != s or not ucd.category(chr(c.value)).startswith("L"):
            continue
        options = [o for o in made.get(c.value, []) if o[1] != c.native]
        if options:
            _, base, diacritic = min(options)
            pairs[c.code] = (base, diacritic)
    return pairs


def check_composition(chars, early, fail):
    all_pairs = {}
    for s, (first, count) in COMPOSITION.items():
        pairs = composition_pairs(chars, s)
        all_pairs[s] = pairs
        for code in sorted(pairs):
            n = native(s, code)
            if code < first and n not in early:
                fail(f"composition: {hex4(n)} ({chars[(s, code)].name}) is composed but lies before "
                     f"the first composed code {hex4(native(s, first))}")
            if code >= first + count:
                fail(f"composition: {hex4(n)} is composed but lies past the {count} codes from {hex4(native(s, first))}")
        for n in early:
            if n >> 8 == s and (n & 0xFF) not in pairs:
                fail(f"composed-early {hex4(n)} does not decompose: drop it from native_extras.txt")
        if first not in pairs:
            fail(f"composition: the first composed code of set {s} must be {hex4(native(s, first))}")
        # Letters of the composed block that decompose canonically must be
        # describable as a base and a diacritic of the set.
        for code in range(first, first + count):
            c = chars.get((s, code))
            if c is None or code in pairs or not ucd.category(chr(c.value)).startswith("L"):
                continue
            if len(ucd.normalize("NFD", chr(c.value))) > 1:
                fail(f"composition: {hex4(c.native)} ({c.name}) decomposes but no base and diacritic of set {s} make it")
    set1 = all_pairs[1]
    masked = {code for code, (base, _) in set1.items() if base >= 0x100}
    if masked != SET1_MASK_CODES:
        fail("composition: set 1 letters built on a set 1 base are "
             + ", ".join("0x%02X" % c for c in sorted(masked)) + "; expected "
             + ", ".join("0x%02X" % c for c in sorted(SET1_MASK_CODES)))
    for code, (_, diacritic) in set1.items():
        if (diacritic & 0xFF) not in SET1_DIACRITICS:
            fail(f"composition: {hex4(native(1, code))} uses diacritic {hex4(diacritic)} outside 0x0100-0x0116")
    for code in SET1_DIACRITICS:
        c = chars.get((1, code))
        if c is not None and ucd.category(chr(c.value)) not in ("Mn", "Lm", "Sk", "Po"):
            fail(f"set 1: {hex4(c.native)} ({c.name}) is not a stand-alone diacritic")
    for n, expected in COMPOSITION_TELLING.items():
        got = all_pairs[n >> 8].get(n & 0xFF)
        if got != expected:
            want = "not composed" if expected is None else f"{hex4(expected[0])} + {hex4(expected[1])}"
            have = "not composed" if got is None else f"{hex4(got[0])} + {hex4(got[1])}"
            fail(f"composition: {hex4(n)} must be {want}, is {have}")
    return all_pairs


def build_reverse(chars, extras, fail):
    carriers = {}
    for c in chars.values():
        if c.value > 0x9F:
            carriers.setdefault(c.value, []).append(c)
    reverse = {}
    for value, cs in carriers.items():
        marked = [c for c in cs if c.rev]
        if len(cs) == 1:
            if marked:
                fail(f"native_chars.txt:{cs[0].line}: +rev on the only code carrying {uplus(value)}")
            reverse[value] = cs[0].native
        elif len(marked) != 1:
            fail(f"{uplus(value)} is carried by " + ", ".join(hex4(c.native) for c in cs)
                 + f": mark exactly one with +rev ({len(marked)} marked)")
        else:
            reverse[value] = marked[0].native
    for c in chars.values():
        if c.rev and c.value <= 0x9F:
            fail(f"native_chars.txt:{c.line}: +rev on a value below U+00A0, which the reverse table leaves out")
    named = dict(reverse)
    for value, ((kind, target), name, line) in extras.items():
        where = f"native_extras.txt:{line}"
        if kind == "U":
            if target not in named:
                fail(f"{where}: no native character carries {uplus(target)}")
                continue
            target = named[target]
        s, code = target >> 8, target & 0xFF
        if value in reverse:
            fail(f"{where}: {uplus(value)} is already carried by {hex4(reverse[value])}")
            continue
        if (ucd.name(chr(value), "").lower()) != name.lower():
            fail(f"{where}: {uplus(value)} is '{ucd.name(chr(value), '?').lower()}', not '{name}'")
        if s == 12:
            if RAW_ENTRIES.get(value) != target:
                fail(f"{where}: only " + ", ".join(f"{uplus(u)} -> {hex4(n)}" for u, n in RAW_ENTRIES.items())
                     + " go to set 12")
        elif s not in EXTRA_TARGET_SETS or (s, code) not in chars:
            fail(f"{where}: {hex4(target)} is not a character of sets 4, 5, 6 or 13")
        elif s == 13:
            folded = ucd.normalize("NFKC", chr(value))
            if folded != ucd.normalize("NFKC", chr(chars[(s, code)].value)):
                fail(f"{where}: {uplus(value)} is not a form of {chars[(s, code)].name} ({hex4(target)})")
        reverse[value] = target
    for value, target in RAW_ENTRIES.items():
        if reverse.get(value) != target:
            fail(f"reverse table: {uplus(value)} must map to {hex4(target)}")
    table = sorted(reverse.items())
    if len(table) != REVERSE_SIZE:
        fail(f"reverse table: {len(table)} entries, expected {REVERSE_SIZE}")
    if table and (table[0][0] != REVERSE_FIRST or table[-1][0] != REVERSE_LAST):
        fail(f"reverse table: runs from {uplus(table[0][0])} to {uplus(table[-1][0])}, "
             f"expected {uplus(REVERSE_FIRST)} to {uplus(REVERSE_LAST)}")
    for value, target in REVERSE_TELLING.items():
        if reverse.get(value) != target:
            fail(f"telling row: reverse {uplus(value)} must give {hex4(target)}, "
                 f"gives {hex4(reverse[value]) if value in reverse else 'nothing'}")
    return table


HOUSE = 0x050C       # what the DOS pages show for code 0x7F
RAW_BYTE_SET = 12
# Characters that the code pages write as ASCII rather than as the set 12
# entries of the reverse table.
ASCII_WRITTEN = {0x00A6: 0x007C, 0x00AD: 0x002D}


def raw_byte(code):
    return (RAW_BYTE_SET << 8) | code


def glyph_natives(glyphs, lookup, fail):
    """The native characters of the PC control-code glyphs (None where the
    native sets hold no such character), checking the ones the data names."""
    natives = []
    for g in glyphs:
        if g not in lookup:
            fail(f"code pages: the control-code glyph {uplus(g)} is not a native character")
        natives.append(lookup.get(g))
    found = [n for n in natives if n is not None]
    if len(set(found)) != len(found):
        fail("code pages: two control-code glyphs land on one native character")
    for n, code in ((0x0401, 9), (0x0403, 7), (0x0405, 20)):
        if len(natives) > code - 1 and natives[code - 1] != n:
            fail(f"code pages: control code {code} must show {hex4(n)}")
    return natives


def codepage_entry(value, lookup):
    """The native character for a code whose chart value is `value` (None for
    a code the chart leaves undefined), or None for the raw-byte set: ASCII
    stands for itself, U+00A6 and U+00AD are written as ASCII, and a value
    that no native character carries, or that the reverse table sends to
    set 12, becomes a raw byte."""
    if value is None:
        return None
    if value in ASCII_WRITTEN:
        return ASCII_WRITTEN[value]
    if value < 0x80:
        return value if 0x20 <= value <= 0x7E else None
    target = lookup.get(value)
    if target is None or target >> 8 == RAW_BYTE_SET:
        return None
    return target


def codepage_entries(chart, first, last, dos, overrides, lookup):
    """The range table of codes first..last of a code page: the native
    character of every code. A code of `overrides` takes its listed native
    character (None: the raw byte); code 0x7F of a DOS page shows the house;
    every other code follows its chart value by codepage_entry. Codes that
    map to no character become the raw byte 0x0C00 + code."""
    entries = []
    for code in range(first, last + 1):
        if code in overrides:
            target = overrides[code]
        elif dos and code == 0x7F:
            target = HOUSE
        else:
            target = codepage_entry(chart.get(code), lookup)
        entries.append(raw_byte(code) if target is None else target)
    return entries


def counted(natives):
    """The distinct native characters that a code page reverse table holds:
    everything outside ASCII (set 0) and the raw bytes (set 12)."""
    return {n for n in natives if n is not None and n >> 8 not in (0, RAW_BYTE_SET)}


def check_coverage(reverse, rows, overrides, glyphs, fail):
    lookup = dict(reverse)
    natives = glyph_natives(glyphs, lookup, fail)
    for page, chart_name, dos, first, last, expected in rows:
        chart = read_chart(chart_name)
        if chart is None:
            continue
        held = counted(codepage_entries(chart, first, last, dos, overrides.get(page, {}), lookup))
        if dos:
            held |= counted(natives)
        if len(held) != expected:
            fail(f"code page {page}: the native sets hold {len(held)} of its characters "
                 f"(chart {chart_name}), expected {expected}")
    for page in overrides:
        if page not in {row[0] for row in rows}:
            fail(f"codepage_coverage.txt: override for unknown page {page}")


# ---------------------------------------------------------------- output

def render(chars, reverse):
    out = [HEADER, '#include "charset/native_tables.h"\n\n', "namespace qstr::charset {\nnamespace {\n"]
    for s, size in SET_SIZES.items():
        out.append(f"\nconstexpr uint16_t kSet{s}[{size}] = {{\n")
        for row in range(0, size, 8):
            cells = ", ".join("0x%04X" % chars[(s, code)].value for code in range(row, min(row + 8, size)))
            out.append(f"    {cells},  // 0x{row:02X}\n")
        out.append("};\n")
    out.append("\n}  // namespace\n\nconst ForwardTable kForwardTables[kTableSetCount] = {\n")
    for s in range(15):
        if s in SET_SIZES:
            out.append(f"    {{kSet{s}, {SET_SIZES[s]}}},\n")
        else:
            out.append("    {nullptr, 0},\n")
    out.append("};\n\nconst ReverseEntry kReverseTable[kReverseTableSize] = {\n")
    for i in range(0, len(reverse), 4):
        cells = ", ".join("{0x%04X, 0x%04X}" % entry for entry in reverse[i:i + 4])
        out.append(f"    {cells},\n")
    out.append("};\n\n}  // namespace qstr::charset\n")
    return "".join(out)


def main():
    parser = generator_parser(__doc__)
    args = parser.parse_args()

    fail = Failures()
    chars = read_chars(fail)
    extras, case_pairs, early = read_extras(fail)
    rows, overrides, glyphs = read_coverage(fail)
    check_characters(chars, fail)
    if not fail.messages:
        check_letters(chars, fail)
        check_case_pairs(chars, case_pairs, fail)
        check_composition(chars, early, fail)
        reverse = build_reverse(chars, extras, fail)
        check_coverage(reverse, rows, overrides, glyphs, fail)
    if fail.messages:
        return report_broken("gen_native_tables", fail.messages)

    text = render(chars, reverse)
    return write_or_check(OUTPUT, text, args.check)


if __name__ == "__main__":
    sys.exit(main())
