"""Tests of the qstr14 package against the built libraries (QSTR14_LIBRARY,
QSTR14_KEYS_LIBRARY), with Python's own codecs as the reference for the
single-byte code pages."""

import itertools
import os
import subprocess
import sys
from collections import Counter

import pytest

import qstr14

SCRIPTS = [
    "Café crème brûlée",
    "Grüße aus Köln, Øresund, Ångström",
    "Žluťoučký kůň úpěl",
    "Καλημέρα κόσμε",
    "Съешь же ещё этих булок",
    "שלום עולם",
    "مرحبا",
    "ｶﾀｶﾅ",
    "€ — “quoted” … ‰",
]


@pytest.mark.parametrize("s", SCRIPTS)
def test_native_round_trip(s):
    elements = qstr14.native(s)
    assert len(elements) == len(s)
    assert all(0 < e < 0xF900 for e in elements)
    assert qstr14.text(elements) == s
    assert qstr14.convert(s, "str", "native") == elements
    assert qstr14.convert(elements, "native", "text") == s


@pytest.mark.parametrize("s, position", [
    ("ab😀c", 2),       # nothing beyond U+FFFF has a native character
    ("x\0y", 1),        # U+0000 would end the native string
    ("abc\x7f", 3),
    ("😀\x7f", 0),      # the first one is reported
])
def test_native_without_native_character(s, position):
    with pytest.raises(qstr14.ConversionError) as caught:
        qstr14.native(s)
    assert caught.value.position == position
    assert caught.value.character == s[position]
    assert f"position {position}" in str(caught.value)
    replaced = qstr14.native(s, errors="replace")
    assert replaced[position] == ord("?") and len(replaced) == len(s)
    assert len(qstr14.native(s, errors="ignore")) < len(s)


@pytest.mark.parametrize("page, s", [
    (1252, "Café € naïve — “quotes” ‰ Œ"),
    (1250, "Žluťoučký kůň"),
    (1251, "Съешь же ещё ЁЇ"),
    (1253, "Καλημέρα ΆΐΫ"),
    (1257, "Ąžuolas"),
    (437, "Ç ü é ½ ░ ╬ ß"),
    (850, "Ø å ß Ã ¾"),
    (866, "Привет"),
])
def test_code_page_agrees_with_python_codec(page, s):
    expected = s.encode(f"cp{page}")
    assert qstr14.convert(s, "str", f"cp{page}") == expected
    assert qstr14.convert(expected, f"cp{page}", "str") == s
    assert qstr14.convert(expected, f"cp{page}", "native") == qstr14.native(s)


@pytest.mark.parametrize("s, page, position", [
    ("abΩc", 1252, 2),
    ("Жx", 1252, 0),
    ("naïve Ω", 1252, 6),
    ("Привет ü", 1251, 7),
    ("a😀Ω", 1252, 1),       # no native character comes first
])
def test_unmappable_character_names_its_position(s, page, position):
    with pytest.raises(qstr14.ConversionError) as caught:
        qstr14.convert(s, "str", f"cp{page}")
    assert (caught.value.position, caught.value.character) == (position, s[position])
    assert isinstance(caught.value, ValueError)


@pytest.mark.parametrize("data, source, target, errors, expected", [
    ("abΩc", "str", "cp1252", "replace", b"ab?c"),
    ("abΩc", "str", "cp1252", "ignore", b"abc"),
    ("ab😀c", "str", "cp1252", "replace", b"ab?c"),
    (b"a\x7fb", "cp1252", "str", "replace", "a\ufffdb"),
    (b"a\x7fb", "cp1252", "str", "ignore", "ab"),
    ([0x41, 0x832, 0x42], "native", "cp1252", "replace", b"A?B"),
])
def test_replace_and_ignore(data, source, target, errors, expected):
    assert qstr14.convert(data, source, target, errors=errors) == expected


@pytest.mark.parametrize("data, position, character", [
    (b"ab\x7fc", 2, b"\x7f"),
    (b"\x00", 0, b"\x00"),
])
def test_bytes_without_native_character(data, position, character):
    with pytest.raises(qstr14.ConversionError) as caught:
        qstr14.convert(data, "cp1252", "str")
    assert (caught.value.position, caught.value.character) == (position, character)


def test_native_input_is_checked():
    with pytest.raises(qstr14.ConversionError) as caught:
        qstr14.text([0x41, 0, 0x42])
    assert caught.value.position == 1
    with pytest.raises(ValueError):
        qstr14.text([0x10000])
    with pytest.raises(TypeError):
        qstr14.text("abc")


def test_line_breaks_from_bytes_and_functions_in_native_strings():
    # Byte conversions give line breaks as native control codes.
    assert qstr14.convert(b"a\r\n\tb", "cp1252", "str") == "a\r\n\tb"
    # Other functions and attributes are not text.
    assert qstr14.text([0x41, 0xFE00, 0xF90A, 0x42]) == "A\nB"
    assert qstr14.convert([0x41, 0xFE00, 0x42], "native", "cp1252") == b"AB"


@pytest.mark.parametrize("form", ["cp999", "cp932", "utf8", "cp"])
def test_unknown_forms(form):
    with pytest.raises(ValueError):
        qstr14.convert("a", "str", form)


@pytest.mark.parametrize("a, b, lang, case, expected", [
    ("llama", "luz", "ES", False, 1),     # "ll" is a letter after "l"
    ("llama", "luz", "US", False, -1),
    ("chata", "hrad", "CZ", False, 1),    # "ch" is a letter after "h"
    ("chata", "hrad", "US", False, -1),
    ("Apple", "apple", "US", False, 0),
    ("Apple", "apple", "US", True, 1),    # lower case first
    ("resume", "résumé", "FR", False, -1),
    ("öl", "zebra", "DE", False, -1),
    ("öl", "zebra", "SV", False, 1),      # ö after z
    ("llama", "luz", "es", False, 1),     # codes in either case
])
def test_compare(a, b, lang, case, expected):
    assert qstr14.compare(a, b, lang, case=case) == expected
    assert qstr14.compare(b, a, lang, case=case) == -expected
    assert qstr14.compare(qstr14.native(a), qstr14.native(b), lang, case=case) == expected


WORDS = ["llama", "Llama", "luz", "lana", "calle", "callle", "calll", "cal", "chata", "hrad",
         "cena", "čaj", "resume", "résumé", "Résumé", "öl", "zebra", "Zebra", "ábaco", "abaco"]


def sign(x):
    return (x > 0) - (x < 0)


@pytest.mark.parametrize("lang, case", [("US", False), ("ES", False), ("ES", True),
                                        ("CZ", False), ("SV", True), ("DE", False)])
def test_sort_keys_agree_with_compare(lang, case):
    for a, b in itertools.combinations(WORDS, 2):
        if qstr14.key_exact(a, lang, case) and qstr14.key_exact(b, lang, case):
            ka, kb = qstr14.sort_key(a, lang, case), qstr14.sort_key(b, lang, case)
            assert sign((ka > kb) - (ka < kb)) == qstr14.compare(a, b, lang, case), (a, b)


def test_spanish_keys_are_not_always_exact():
    assert qstr14.key_exact("llama", "ES")
    assert not qstr14.key_exact("calll", "ES")


@pytest.mark.parametrize("lang, case", [("ES", False), ("ES", True), ("CZ", False), ("US", True)])
def test_sorted_orders_as_compare_and_is_stable(lang, case):
    result = qstr14.sorted(WORDS, lang, case=case)
    assert Counter(result) == Counter(WORDS)
    for a, b in zip(result, result[1:]):
        assert qstr14.compare(a, b, lang, case) <= 0, (a, b)
        if qstr14.compare(a, b, lang, case) == 0:
            assert WORDS.index(a) < WORDS.index(b)  # equal words keep their order


@pytest.mark.parametrize("words", [["Llama", "llama", "LLAMA"], ["llama", "LLAMA", "Llama"]])
def test_sorted_keeps_equal_words_in_order(words):
    assert qstr14.sorted(words + ["luz"], "ES") == ["luz"] + words


@pytest.mark.parametrize("words, lang, expected", [
    # "aalll" has no exact key: its key would sort it after "aall·".
    (["aall·", "aalll"], "CA", ["aalll", "aall·"]),
    # Equal words without exact keys keep their order too.
    (["luz", "calll", "CALLL", "lana", "Calll"], "ES", ["calll", "CALLL", "Calll", "lana", "luz"]),
    (["Calll", "luz", "CALLL", "calll"], "ES", ["Calll", "CALLL", "calll", "luz"]),
])
def test_sorted_compares_words_without_exact_keys(words, lang, expected):
    assert not all(qstr14.key_exact(w, lang) for w in words)
    assert qstr14.sorted(words, lang) == expected


def test_sorted_takes_native_strings():
    words = [qstr14.native(w) for w in ["luz", "llama", "lana"]]
    assert [qstr14.text(w) for w in qstr14.sorted(words, "ES")] == ["lana", "luz", "llama"]


@pytest.mark.parametrize("call", [
    lambda: qstr14.compare("a", "b", "XX"),
    lambda: qstr14.sort_key("a", "English"),
    lambda: qstr14.sorted(["a"], ""),
])
def test_bad_language_code_lists_the_codes(call):
    with pytest.raises(ValueError) as caught:
        call()
    assert "ES" in str(caught.value) and "CZ" in str(caught.value)


def test_double_byte_ansi_code_page():
    # The host profile is read once per process: a double-byte system needs
    # a process of its own.
    script = ("import qstr14\n"
              "b = qstr14.convert('日本ｶa', 'str', 'ansi')\n"
              "assert b == '日本ｶa'.encode('cp932'), b\n"
              "assert qstr14.convert(b, 'ansi', 'str') == '日本ｶa'\n"
              "try:\n"
              "    qstr14.convert(b'\\x93\\xfa\\x96', 'ansi', 'str')\n"
              "except qstr14.ConversionError as e:\n"
              "    assert (e.position, e.character) == (2, b'\\x96')\n"
              "else:\n"
              "    raise AssertionError('a lead byte at the end passed')\n")
    env = dict(os.environ, QSTR14_ACP="932", QSTR14_DBCS="1", QSTR14_REGISTRY=":memory:",
               PYTHONPATH=os.pathsep.join(sys.path))
    subprocess.run([sys.executable, "-c", script], env=env, check=True)
