"""The outside facts the table generators use, read from the excerpts
committed under tools/gen/data, so that every run gives the same tables
whatever the machine has installed:

  unicode_data.txt      character names, categories, combining classes,
                        decompositions and case mappings (normalisation and
                        name lookup are worked out from them)
  charmaps.txt          the single-byte code page charts
  codecs.txt            the code page codecs' answers (decoding, encoding)
  transliterations.txt  what the Chinese script transliterators make of
                        each character

The functions answer as the machine's sources did (unicodedata, the
charmaps folder, the codecs, the uconv tool). A question that the excerpts
cannot answer stops the run and asks for tools/gen/refresh_data.py, which
rebuilds them from the machine: with QSTR14_GEN_RECORD set to a folder the
functions ask the machine instead and note every question and answer there.
"""
import atexit
import json
import os
import pathlib
import sys

DATA = pathlib.Path(__file__).resolve().parent / "data"
UNICODE_FILE = "unicode_data.txt"
CHARMAPS_FILE = "charmaps.txt"
CODECS_FILE = "codecs.txt"
TRANSLITERATIONS_FILE = "transliterations.txt"

NO_VALUE = "-"       # in a row: no character (charts, codecs) or not asked (transliterations)
UNCHANGED = "="      # in a transliteration row: the character comes back as it was
ROW = 16             # codes per row of the charts, codecs and transliterations

HANGUL_FIRST, HANGUL_COUNT = 0xAC00, 11172
JAMO_L, JAMO_V, JAMO_T = 0x1100, 0x1161, 0x11A7
JAMO_V_COUNT, JAMO_T_COUNT = 21, 28


class MissingData(SystemExit):
    """A question the committed excerpts do not answer."""

    def __init__(self, what, file):
        print(f"{pathlib.Path(sys.argv[0]).stem}: {what} is not in tools/gen/data/{file}: "
              "run tools/gen/refresh_data.py", file=sys.stderr)
        super().__init__(2)


def hex_values(field):
    return [int(w, 16) for w in field.split()]


def text_of(field):
    return "".join(chr(v) for v in hex_values(field))


def data_lines(path):
    """The lines of an excerpt without comments and blank lines."""
    for raw in path.read_text(encoding="utf-8").splitlines():
        if raw and not raw.startswith("#"):
            yield raw


def read_rows(path):
    """NAME -> {code: word} of the lines 'NAME FIRST: sixteen words'."""
    tables = {}
    for line in data_lines(path):
        head, _, body = line.partition(": ")
        name, first = head.split()
        words = body.split()
        if len(words) != ROW:
            raise SystemExit(f"{path.name}: a row holds {ROW} words: '{line}'")
        table = tables.setdefault(name, {})
        for i, word in enumerate(words):
            table[int(first, 16) + i] = word
    return tables


# ---------------------------------------------------------------- Unicode

class Char:
    def __init__(self, fields):
        self.name, self.category = fields[1], fields[2]
        self.combining = int(fields[3])
        self.decomposition = fields[4]
        self.lower, self.upper = fields[5], fields[6]
        self.excluded = fields[7] == "x"


def canonical_mapping(decomposition):
    """The code points of a canonical decomposition, [] for none or a compatibility one."""
    if not decomposition or decomposition.startswith("<"):
        return []
    return hex_values(decomposition)


class Excerpts:
    """Answers from the committed excerpts in `folder`."""

    def __init__(self, folder=DATA):
        self.folder = pathlib.Path(folder)
        self._unicode = None
        self._charts = None
        self._codecs = None
        self._transliterations = None

    # ---- reading, on first use

    def _load_unicode(self):
        if self._unicode is not None:
            return
        self._unicode, self._lookups, self._complete = {}, {}, []
        for line in data_lines(self.folder / UNICODE_FILE):
            fields = line.split(";")
            if fields[0] == "lookup":
                self._lookups[fields[1]] = int(fields[2], 16) if fields[2] else None
            elif fields[0] == "singletons":
                self._complete.append((int(fields[1], 16), int(fields[2], 16)))
            else:
                self._unicode[int(fields[0], 16)] = Char(fields)
        self._names = {c.name: v for v, c in self._unicode.items() if c.name}
        self._composites = {}
        for v, c in self._unicode.items():
            mapping = canonical_mapping(c.decomposition)
            if len(mapping) == 2 and not c.excluded:
                self._composites[tuple(mapping)] = v

    def _char(self, ch):
        self._load_unicode()
        c = self._unicode.get(ord(ch))
        if c is None:
            raise MissingData("U+%04X" % ord(ch), UNICODE_FILE)
        return c

    # ---- Unicode character data, as unicodedata gives it

    def name(self, ch, *default):
        name = self._char(ch).name
        if name:
            return name
        if default:
            return default[0]
        raise ValueError("no such name")

    def category(self, ch):
        return self._char(ch).category

    def combining(self, ch):
        return self._char(ch).combining

    def decomposition(self, ch):
        return self._char(ch).decomposition

    def lookup(self, name):
        self._load_unicode()
        if name in self._lookups:
            v = self._lookups[name]
        elif name.upper() in self._names:
            v = self._names[name.upper()]
        else:
            raise MissingData(f"the name '{name}'", UNICODE_FILE)
        if v is None:
            raise KeyError(f"undefined character name '{name}'")
        return chr(v)

    def lower(self, ch):
        """str.lower of one character."""
        return text_of(self._char(ch).lower) or ch

    def upper(self, ch):
        """str.upper of one character."""
        return text_of(self._char(ch).upper) or ch

    def canonical_singletons(self, first, last):
        """(code point, its one-character canonical decomposition) of every
        code point first..last-1, ascending."""
        self._load_unicode()
        if not any(f <= first and last - 1 <= l for f, l in self._complete):
            raise MissingData("the canonical singletons of U+%04X-U+%04X" % (first, last - 1), UNICODE_FILE)
        found = []
        for v in sorted(self._unicode):
            mapping = canonical_mapping(self._unicode[v].decomposition)
            if first <= v < last and len(mapping) == 1:
                found.append((v, mapping[0]))
        return found

    # ---- normalisation, by the Unicode algorithm on the excerpt's data

    def _decompose(self, ch, compatibility, out):
        v = ord(ch)
        if HANGUL_FIRST <= v < HANGUL_FIRST + HANGUL_COUNT:
            s = v - HANGUL_FIRST
            out.append(chr(JAMO_L + s // (JAMO_V_COUNT * JAMO_T_COUNT)))
            out.append(chr(JAMO_V + s % (JAMO_V_COUNT * JAMO_T_COUNT) // JAMO_T_COUNT))
            if s % JAMO_T_COUNT:
                out.append(chr(JAMO_T + s % JAMO_T_COUNT))
            return
        decomposition = self._char(ch).decomposition
        if decomposition.startswith("<"):
            mapping = hex_values(decomposition.split(">", 1)[1]) if compatibility else []
        else:
            mapping = hex_values(decomposition)
        if not mapping:
            out.append(ch)
        for part in mapping:
            self._decompose(chr(part), compatibility, out)

    def _reorder(self, chars):
        """Canonical ordering: each run of non-starters sorted by combining class."""
        out, run = [], []
        for ch in chars:
            ccc = self.combining(ch)
            if ccc:
                run.append((ccc, len(run), ch))
                continue
            out += [c for _, _, c in sorted(run)]
            run = []
            out.append(ch)
        out += [c for _, _, c in sorted(run)]
        return out

    def _composite(self, first, second):
        a, b = ord(first), ord(second)
        if JAMO_L <= a < JAMO_L + 19 and JAMO_V <= b < JAMO_V + JAMO_V_COUNT:
            return chr(HANGUL_FIRST + ((a - JAMO_L) * JAMO_V_COUNT + b - JAMO_V) * JAMO_T_COUNT)
        if (HANGUL_FIRST <= a < HANGUL_FIRST + HANGUL_COUNT and (a - HANGUL_FIRST) % JAMO_T_COUNT == 0
                and JAMO_T < b < JAMO_T + JAMO_T_COUNT):
            return chr(a + b - JAMO_T)
        v = self._composites.get((a, b))
        return None if v is None else chr(v)

    def _compose(self, chars):
        out, starter, last_ccc = [], None, 0
        for ch in chars:
            ccc = self.combining(ch)
            if starter is not None:
                adjacent = starter == len(out) - 1
                if adjacent or (last_ccc != 0 and last_ccc < ccc):
                    composite = self._composite(out[starter], ch)
                    if composite is not None:
                        out[starter] = composite
                        continue
            out.append(ch)
            last_ccc = ccc
            if ccc == 0:
                starter = len(out) - 1
        return out

    def normalize(self, form, text):
        if form not in ("NFC", "NFD", "NFKC", "NFKD"):
            raise ValueError(f"invalid normalization form {form}")
        self._load_unicode()
        chars = []
        for ch in text:
            self._decompose(ch, form.startswith("NFK"), chars)
        chars = self._reorder(chars)
        if form.endswith("C"):
            chars = self._compose(chars)
        return "".join(chars)

    # ---- code page charts and codecs

    def chart(self, name):
        """Byte -> Unicode value of a single-byte chart, or of a Python codec
        named py:CODEC; None for a chart that the excerpts do not hold."""
        if self._charts is None:
            self._charts = read_rows(self.folder / CHARMAPS_FILE)
        if name.startswith("py:"):
            rows = self._codec_rows().get(name[3:], {})
            if not all(code in rows for code in range(256)):
                return None
        else:
            rows = self._charts.get(name)
            if rows is None:
                return None
        return {code: int(word, 16) for code, word in rows.items() if word != NO_VALUE}

    def _codec_rows(self):
        if self._codecs is None:
            self._codecs, self._encodings = {}, {}
            rows = []
            for line in data_lines(self.folder / CODECS_FILE):
                words = line.split()
                if words[0] == "encode":
                    self._encodings[(words[1], int(words[2], 16))] = None if words[3] == NO_VALUE else int(words[3], 16)
                else:
                    rows.append(line)
            for line in rows:
                head, _, body = line.partition(": ")
                name, first = head.split()
                table = self._codecs.setdefault(name, {})
                for i, word in enumerate(body.split()):
                    table[int(first, 16) + i] = word
            # Without an encode line a value that the codec's rows give goes
            # to the lowest code that gives it.
            self._lowest = {}
            for name, table in self._codecs.items():
                for code in sorted(table, reverse=True):
                    if table[code] != NO_VALUE:
                        self._lowest[(name, int(table[code], 16))] = code
        return self._codecs

    def decode(self, code, codec):
        """The one Unicode value that a double-byte code decodes to, or None."""
        word = self._codec_rows().get(codec, {}).get(code)
        if word is None:
            raise MissingData(f"code 0x{code:04X} of {codec}", CODECS_FILE)
        return None if word == NO_VALUE else int(word, 16)

    def encode(self, value, codec):
        """The double-byte code that a codec writes for a Unicode value, or
        None if it writes none."""
        self._codec_rows()
        if (codec, value) in self._encodings:
            return self._encodings[(codec, value)]
        if (codec, value) not in self._lowest:
            raise MissingData("the %s code of U+%04X" % (codec, value), CODECS_FILE)
        return self._lowest[(codec, value)]

    # ---- transliterations

    def _transliteration_rows(self):
        if self._transliterations is None:
            self._transliterations = read_rows(self.folder / TRANSLITERATIONS_FILE)
        return self._transliterations

    def transliterate(self, texts, transliterator):
        """Each one-character text through a transliterator."""
        table = self._transliteration_rows().get(transliterator, {})
        out = []
        for text in texts:
            word = table.get(ord(text)) if len(text) == 1 else None
            if word is None or word == NO_VALUE:
                raise MissingData(f"{transliterator} of '{text}'", TRANSLITERATIONS_FILE)
            out.append(text if word == UNCHANGED else "".join(chr(int(w, 16)) for w in word.split("+")))
        return out


class Machine:
    """Answers from this machine's sources, every question and answer noted
    for tools/gen/refresh_data.py."""

    def __init__(self, folder=None):
        import unicodedata
        self.unicodedata = unicodedata
        self.charmaps = pathlib.Path(os.environ.get("QSTR14_CHARMAPS", "/usr/share/i18n/charmaps"))
        self.questions = []
        if folder is not None:
            self.path = pathlib.Path(folder) / f"{pathlib.Path(sys.argv[0]).stem}-{os.getpid()}.json"
            atexit.register(self.save)

    def save(self):
        self.path.write_text(json.dumps(self.questions), encoding="utf-8")

    def note(self, question, args, answer):
        self.questions.append([question, list(args), answer])
        return answer

    def name(self, ch, *default):
        name = self.note("name", [ch], self.unicodedata.name(ch, ""))
        if name:
            return name
        return self.unicodedata.name(ch, *default)

    def category(self, ch):
        return self.note("category", [ch], self.unicodedata.category(ch))

    def combining(self, ch):
        return self.note("combining", [ch], self.unicodedata.combining(ch))

    def decomposition(self, ch):
        return self.note("decomposition", [ch], self.unicodedata.decomposition(ch))

    def lookup(self, name):
        try:
            found = self.unicodedata.lookup(name)
        except KeyError:
            self.note("lookup", [name], None)
            raise
        return self.note("lookup", [name], found)

    def lower(self, ch):
        return self.note("lower", [ch], ch.lower())

    def upper(self, ch):
        return self.note("upper", [ch], ch.upper())

    def canonical_singletons(self, first, last):
        found = []
        for v in range(first, last):
            if 0xD800 <= v <= 0xDFFF:
                continue
            mapping = canonical_mapping(self.unicodedata.decomposition(chr(v)))
            if len(mapping) == 1:
                found.append((v, mapping[0]))
        self.note("canonical_singletons", [first, last], found)
        return found

    def normalize(self, form, text):
        return self.note("normalize", [form, text], self.unicodedata.normalize(form, text))

    def chart(self, name):
        if name.startswith("py:"):
            import codecs
            try:
                codecs.lookup(name[3:])
            except LookupError:
                return self.note("chart", [name], None)
            chart = {}
            for code in range(256):
                value = self.decode(code, name[3:], single=True)
                if value is not None:
                    chart[code] = value
            self.note("chart", [name], sorted(chart.items()))
            return chart
        import gzip
        import re
        path = self.charmaps / f"{name}.gz"
        if not path.exists():
            return self.note("chart", [name], None)
        chart = {}
        with gzip.open(path, "rt", encoding="latin-1") as f:
            for line in f:
                m = re.match(r"<U([0-9A-Fa-f]{4,})>\s+/x([0-9a-fA-F]{2})(\s|$)", line)
                if m:
                    chart[int(m[2], 16)] = int(m[1], 16)
        self.note("chart", [name], sorted(chart.items()))
        return chart

    def decode(self, code, codec, single=False):
        raw = bytes([code]) if single else bytes([code >> 8, code & 0xFF])
        try:
            text = raw.decode(codec)
        except (UnicodeDecodeError, LookupError):
            text = ""
        return self.note("decode", [code, codec], ord(text) if len(text) == 1 else None)

    def encode(self, value, codec):
        try:
            raw = chr(value).encode(codec)
        except UnicodeEncodeError:
            raw = b""
        return self.note("encode", [value, codec], raw[0] << 8 | raw[1] if len(raw) == 2 else None)

    def transliterate(self, texts, transliterator):
        import shutil
        import subprocess
        if shutil.which("uconv") is None:
            raise SystemExit("the uconv tool of ICU is missing (Debian: icu-devtools)")
        joined = "\n".join(texts) + "\n"
        done = subprocess.run(["uconv", "-f", "utf-8", "-t", "utf-8", "-x", transliterator],
                              input=joined.encode("utf-8"), capture_output=True, check=True)
        out = done.stdout.decode("utf-8").split("\n")[:len(texts)]
        for text, result in zip(texts, out):
            self.note("transliterate", [text, transliterator], result)
        return out


_RECORD = os.environ.get("QSTR14_GEN_RECORD")
_source = Machine(_RECORD) if _RECORD else Excerpts()

name = _source.name
category = _source.category
combining = _source.combining
decomposition = _source.decomposition
lookup = _source.lookup
lower = _source.lower
upper = _source.upper
canonical_singletons = _source.canonical_singletons
normalize = _source.normalize
chart = _source.chart
decode = _source.decode
encode = _source.encode
transliterate = _source.transliterate
