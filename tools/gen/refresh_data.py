#!/usr/bin/env python3
"""Rebuilds the excerpts of outside data that the table generators read
(tools/gen/data/unicode_data.txt, charmaps.txt, codecs.txt and
transliterations.txt) from this machine: Python's unicodedata and codecs,
the charts of /usr/share/i18n/charmaps (or of $QSTR14_CHARMAPS) and ICU's
uconv tool.

It runs every generator with --check while committed_data.py asks the
machine and notes each question, writes the answers to those questions
(and no more) into the excerpts, then reads the excerpts back and checks
that they give every answer the machine gave. Run it by hand after changing
a generator's inputs so that it asks something new, or to move to newer
data; `make tables` does not run it. Afterwards run `make tables` and look
at what changed.
"""
import json
import os
import pathlib
import platform
import re
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import committed_data as cd  # noqa: E402

ROW = cd.ROW


def run_generators(folder):
    env = dict(os.environ, QSTR14_GEN_RECORD=str(folder), PYTHONDONTWRITEBYTECODE="1")
    for generator in sorted(HERE.glob("gen_*.py")):
        done = subprocess.run([sys.executable, str(generator), "--check"], env=env)
        if done.returncode == 1:
            print(f"refresh_data: {generator.name}: the machine's data changes its tables; run make tables afterwards",
                  file=sys.stderr)
        elif done.returncode:
            raise SystemExit(f"refresh_data: {generator.name} failed ({done.returncode}); nothing written")
    questions = []
    for path in sorted(folder.glob("*.json")):
        questions += json.loads(path.read_text(encoding="utf-8"))
    return questions


def hexes(text):
    return " ".join("%04X" % ord(ch) for ch in text)


def row_lines(name, table):
    """'NAME FIRST: sixteen words' for every row of {code: word} that has a word."""
    lines = []
    for first in sorted({code - code % ROW for code in table}):
        words = [table.get(first + i, cd.NO_VALUE) for i in range(ROW)]
        lines.append(f"{name} {first:04X}: " + " ".join(words))
    return lines


# ---------------------------------------------------------------- Unicode

def unicode_excerpt(questions, unicodedata):
    points, lookups, complete = set(), {}, set()
    for question, args, answer in questions:
        if question in ("name", "category", "combining", "decomposition", "lower", "upper"):
            points.add(ord(args[0]))
        elif question == "normalize":
            points.update(map(ord, args[1] + answer))
        elif question == "lookup":
            lookups[args[0]] = answer
            if answer is not None:
                points.add(ord(answer))
        elif question == "canonical_singletons":
            complete.add(tuple(args))
            points.update(v for v, _ in answer)
    # Normalising needs the data of every character a character decomposes into.
    for v in list(points):
        for form in ("NFD", "NFKD"):
            points.update(map(ord, unicodedata.normalize(form, chr(v))))
    lines = []
    for v in sorted(points):
        ch = chr(v)
        decomposition = unicodedata.decomposition(ch)
        mapping = cd.canonical_mapping(decomposition)
        excluded = "x" if len(mapping) == 2 and unicodedata.normalize("NFC", ch) != ch else ""
        lower = ch.lower()
        upper = ch.upper()
        lines.append(";".join(["%04X" % v, unicodedata.name(ch, ""), unicodedata.category(ch),
                               str(unicodedata.combining(ch)), decomposition,
                               hexes(lower) if lower != ch else "", hexes(upper) if upper != ch else "",
                               excluded]))
    for name in sorted(lookups):
        found = lookups[name]
        if found is None:
            lines.append(f"lookup;{name};")
        elif unicodedata.name(found, "") != name.upper():
            lines.append(f"lookup;{name};%04X" % ord(found))
    for first, last in sorted(complete):
        lines.append(f"singletons;{first:04X};{last - 1:04X}")
    header = [f"# Unicode {unicodedata.unidata_version} via Python {platform.python_version()} unicodedata, "
              "str.lower and str.upper; written by tools/gen/refresh_data.py",
              "# CODE;NAME;CATEGORY;COMBINING;DECOMPOSITION;LOWER;UPPER;EXCLUDED of each code point the",
              "#   generators ask about and of the characters they decompose into. LOWER and UPPER are",
              "#   empty where the character maps to itself; EXCLUDED is x where a two-character",
              "#   canonical decomposition does not compose back.",
              "# lookup;NAME;CODE: a name that lookup takes other than as a listed character's own",
              "#   (no CODE: no character has it).",
              "# singletons;FIRST;LAST: every code point of FIRST-LAST with a one-character canonical",
              "#   decomposition is listed."]
    return header + lines


# ---------------------------------------------------------------- charts and codecs

def glibc_version():
    try:
        return os.confstr("CS_GNU_LIBC_VERSION")
    except (ValueError, OSError):
        return "glibc (version unknown)"


def charmap_excerpt(questions, machine):
    lines = []
    for name in sorted({args[0] for question, args, answer in questions
                        if question == "chart" and answer is not None and not args[0].startswith("py:")}):
        chart = dict(machine.chart(name))
        lines += row_lines(name, {code: "%04X" % chart[code] if code in chart else cd.NO_VALUE
                                  for code in range(256)})
    header = [f"# from {machine.charmaps}/NAME.gz, {glibc_version()}; written by tools/gen/refresh_data.py",
              "# NAME FIRST: the Unicode values of the single bytes FIRST to FIRST+15 (- : none)"]
    return header + lines


def codec_excerpt(questions, machine):
    codes, encoded = {}, {}
    for question, args, answer in questions:
        if question == "decode":
            codes.setdefault(args[1], set()).add(args[0])
        elif question == "encode":
            encoded[(args[1], args[0])] = answer
    # The rows also hold the codes the encoder answers with, which mostly
    # makes them the lowest code of the value.
    for (codec, _), answer in encoded.items():
        if answer is not None:
            codes.setdefault(codec, set()).add(answer)
    tables = {}
    lines = []
    for codec in sorted(codes):
        table = tables[codec] = {}
        for first in sorted({code - code % ROW for code in codes[codec]}):
            for code in range(first, first + ROW):
                value = machine.decode(code, codec, single=code < 0x100)
                table[code] = cd.NO_VALUE if value is None else "%04X" % value
        lines += row_lines(codec, table)
    # Write the encoder's answers that the rows do not give: a value that
    # the codec's rows hold goes to its lowest code there.
    lowest = {}
    for codec, table in tables.items():
        for code in sorted(table, reverse=True):
            lowest[(codec, table[code])] = code
    for codec, value in sorted(encoded):
        answer = encoded[(codec, value)]
        if lowest.get((codec, "%04X" % value), "asked") != answer:
            lines.append(f"encode {codec} {value:04X} " + (cd.NO_VALUE if answer is None else "%04X" % answer))
    header = [f"# Python {platform.python_version()} codecs " + " ".join(sorted(codes))
              + "; written by tools/gen/refresh_data.py",
              "# CODEC FIRST: the one Unicode value each code FIRST to FIRST+15 decodes to (- : none),",
              "#   for the codes the generators read.",
              "# encode CODEC VALUE CODE: the double-byte code the codec writes for a value (- : none)",
              "#   where that is not the lowest code of the rows that gives the value."]
    return header + lines


# ---------------------------------------------------------------- transliterations

def icu_version():
    done = subprocess.run(["uconv", "--version"], capture_output=True, text=True)
    m = re.search(r"ICU [0-9.]+", done.stdout)
    return m[0] if m else "ICU (version unknown)"


def transliteration_excerpt(questions):
    tables = {}
    for question, args, answer in questions:
        if question != "transliterate":
            continue
        text, transliterator = args
        if len(text) != 1 or not answer:
            raise SystemExit(f"refresh_data: {transliterator}: '{text}' -> '{answer}' does not fit a row")
        word = cd.UNCHANGED if answer == text else "+".join("%04X" % ord(ch) for ch in answer)
        table = tables.setdefault(transliterator, {})
        if table.setdefault(ord(text), word) != word:
            raise SystemExit(f"refresh_data: {transliterator} gives two results for '{text}'")
    lines = []
    for transliterator in sorted(tables):
        lines += row_lines(transliterator, tables[transliterator])
    header = [f"# {icu_version()} uconv -f utf-8 -t utf-8 -x TRANSLITERATOR, one character a line;"
              " written by tools/gen/refresh_data.py",
              "# TRANSLITERATOR FIRST: what becomes of each character FIRST to FIRST+15"
              " (= : itself, - : not asked, A+B: several)"]
    return header + lines


# ---------------------------------------------------------------- checking

def replay(excerpts, question, args):
    if question == "lookup":
        try:
            return excerpts.lookup(*args)
        except KeyError:
            return None
    if question == "name":
        return excerpts.name(args[0], "")
    if question == "transliterate":
        return excerpts.transliterate([args[0]], args[1])[0]
    if question == "chart":
        found = excerpts.chart(*args)
        return None if found is None else sorted(found.items())
    return getattr(excerpts, question)(*args)


def check(questions, folder):
    excerpts = cd.Excerpts(folder)
    wrong = 0
    for question, args, answer in questions:
        got = json.loads(json.dumps(replay(excerpts, question, args)))
        if got != answer:
            wrong += 1
            if wrong <= 20:
                print(f"refresh_data: {question}{tuple(args)!r}: the excerpts give {got!r}, the machine {answer!r}",
                      file=sys.stderr)
    return wrong


def main():
    import unicodedata
    with tempfile.TemporaryDirectory() as tmp:
        questions = run_generators(pathlib.Path(tmp))
        machine = cd.Machine()
        files = {
            cd.UNICODE_FILE: unicode_excerpt(questions, unicodedata),
            cd.CHARMAPS_FILE: charmap_excerpt(questions, machine),
            cd.CODECS_FILE: codec_excerpt(questions, machine),
            cd.TRANSLITERATIONS_FILE: transliteration_excerpt(questions),
        }
    for name, lines in files.items():
        (cd.DATA / name).write_text("\n".join(lines) + "\n", encoding="utf-8")
        print(f"refresh_data: wrote tools/gen/data/{name} ({len(lines)} lines)")
    wrong = check(questions, cd.DATA)
    if wrong:
        print(f"refresh_data: {wrong} of {len(questions)} answers differ from the machine's", file=sys.stderr)
        return 1
    print(f"refresh_data: the excerpts give all {len(questions)} answers the machine gave")
    return 0


if __name__ == "__main__":
    sys.exit(main())
