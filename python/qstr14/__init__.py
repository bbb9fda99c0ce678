"""The word processor's character model and collation, from Python.

A thin layer over libqstr14 and libqstr14-keys (through ctypes):

* ``native(text)`` / ``text(native)``: Python strings to native strings
  (lists of 16-bit native characters) and back;
* ``convert(data, from_, to)``: between the forms ``"str"`` (or
  ``"text"``), ``"native"``, ``"ansi"``, ``"oem"`` and ``"cpNNN"``;
* ``compare(a, b, lang)``, ``sort_key(s, lang)``, ``sorted(words, lang)``:
  the multi-level, language-tailored comparison.

Strings are passed as Python ``str`` or as native strings (sequences of
ints). A character that has no counterpart in the target form raises
ConversionError, which names its position in the input, unless
``errors="replace"`` (``?`` in native strings and bytes, U+FFFD in Python
strings) or ``errors="ignore"`` (dropped) is given.

The library reads its settings once per process from the ``QSTR14_*``
environment variables (``QSTR14_ACP``, ``QSTR14_OEMCP``, ``QSTR14_DBCS``,
``QSTR14_REGISTRY``, ...): set them before the first call. See
``python/README.md`` for where the libraries are looked for.
"""

import builtins
import functools

from . import _lib

__version__ = "14.0.0"
__all__ = [
    "ConversionError",
    "codepages",
    "compare",
    "convert",
    "key_exact",
    "languages",
    "native",
    "sort_key",
    "sorted",
    "text",
]

NO_MAPPING = _lib.NO_MAPPING
_FIRST_FUNCTION = 0xF900  # native functions and attributes from here up
# The control codes of the native model, as the byte conversions give them.
_NATIVE_CONTROLS = {0xF909: "\t", 0xF90A: "\n", 0xF90C: "\f", 0xF90D: "\r"}
_QUESTION_MARK = 0x3F
_DOUBLE_BYTE_PAGES = (932, 936, 949, 950)
_ERRORS = ("strict", "replace", "ignore")


class ConversionError(ValueError):
    """A character without a counterpart in the target form, or input that
    is not valid in its form.

    ``position`` is the index in the input (characters of a str, elements
    of a native string, bytes of a byte string); ``character`` the input
    item there (a one-character str, an int native element, or the bytes
    of one host character)."""

    def __init__(self, message, position, character):
        super().__init__(message)
        self.position = position
        self.character = character


def _describe(item):
    if isinstance(item, str):
        return f"{item!r} (U+{ord(item):04X})"
    if isinstance(item, bytes):
        return ("byte " if len(item) == 1 else "bytes ") + " ".join(f"0x{b:02X}" for b in item)
    return f"native character 0x{item:04X}"


def _fail(position, item, reason):
    raise ConversionError(f"position {position}: {_describe(item)} {reason}", position, item)


def _check_errors(errors):
    if errors not in _ERRORS:
        raise ValueError(f"errors={errors!r}: one of {', '.join(_ERRORS)}")


# ---- decoding: every form to native elements ----
#
# A decoded element is (native character or None for a replacement,
# position in the input, input item).

def _decode_str(data, errors):
    if not isinstance(data, str):
        raise TypeError(f"expected str, got {type(data).__name__}")
    units = [ord(c) for c in data]
    # U+0000 would end the string, and nothing beyond U+FFFF has a native
    # character: those positions go through as spaces and fail below.
    outside = {i for i, u in enumerate(units) if u == 0 or u > 0xFFFF}
    for i in outside:
        units[i] = 0x20
    natives = _lib.utf16_to_native(units)
    decoded = []
    for i, (character, element) in enumerate(zip(data, natives)):
        if i in outside or element == NO_MAPPING:
            if errors == "strict":
                _fail(i, character, "has no native character")
            if errors == "replace":
                decoded.append((None, i, character))
            continue
        decoded.append((element, i, character))
    return decoded


def _decode_native(data):
    if isinstance(data, (str, bytes, bytearray)):
        raise TypeError(f"expected a native string (a sequence of ints), got {type(data).__name__}")
    decoded = []
    for i, element in enumerate(data):
        if isinstance(element, bool) or not isinstance(element, int):
            raise TypeError(f"position {i}: native elements are ints, got {type(element).__name__}")
        if not 0 <= element <= 0xFFFF:
            raise ConversionError(f"position {i}: {element} is not a 16-bit native element", i, element)
        if element == 0:
            raise ConversionError(f"position {i}: a zero element inside a native string", i, element)
        decoded.append((element, i, element))
    return decoded


def _decode_bytes(data, page, errors):
    if not isinstance(data, (bytes, bytearray, memoryview)):
        raise TypeError(f"expected bytes for {page.name}, got {type(data).__name__}")
    data = bytes(data)
    decoded = []
    i = 0
    while i < len(data):
        start = i
        code = data[i]
        i += 1
        if code in page.lead_bytes:
            if i == len(data):
                item = data[start:i]
                if errors == "strict":
                    _fail(start, item, "is a lead byte at the end of the input")
                if errors == "replace":
                    decoded.append((None, start, item))
                break
            code = code << 8 | data[i]
            i += 1
        item = data[start:i]
        # A zero byte is U+0000, which has no native character.
        element = NO_MAPPING if code == 0 else _lib.host_to_native(page.record, code)
        if element == NO_MAPPING:
            if errors == "strict":
                _fail(start, item, f"has no native character in {page.name}")
            if errors == "replace":
                decoded.append((None, start, item))
            continue
        decoded.append((element, start, item))
    return decoded


# ---- encoding: native elements to every form ----

def _encode_str(decoded, errors):
    # Functions and attributes are not text: only the control codes among
    # them become characters (tab, line feed, form feed, carriage return).
    plain = [e if e is not None and e < _FIRST_FUNCTION else 0x20 for e, _, _ in decoded]
    units = _lib.native_to_utf16(plain)
    out = []
    for (element, position, item), unit in zip(decoded, units):
        if element is None:
            out.append("\ufffd")
        elif element >= _FIRST_FUNCTION:
            out.append(_NATIVE_CONTROLS.get(element, ""))
        elif unit == NO_MAPPING:
            if errors == "strict":
                _fail(position, item, "has no Unicode character")
            if errors == "replace":
                out.append("\ufffd")
        else:
            out.append(chr(unit))
    return "".join(out)


def _encode_native(decoded):
    return [_QUESTION_MARK if element is None else element for element, _, _ in decoded]


def _encode_bytes(decoded, page, errors):
    out = bytearray()
    for element, position, item in decoded:
        if element is None:
            out.append(_QUESTION_MARK)
            continue
        code = _lib.native_to_host(page.record, element)
        if code == NO_MAPPING or (page.single_byte and code > 0xFF):
            if element >= _FIRST_FUNCTION:
                continue  # a function or attribute, not text
            if errors == "strict":
                _fail(position, item, f"has no character in {page.name}")
            if errors == "replace":
                out.append(_QUESTION_MARK)
            continue
        if code > 0xFF:
            out.append(code >> 8)
        out.append(code & 0xFF)
    return bytes(out)


# ---- forms ----

class _BytePage:
    """A byte form: the record that converts it, the bytes that open a
    double-byte character, and its name for messages."""

    def __init__(self, record, lead_bytes, single_byte, name):
        self.record = record
        self.lead_bytes = lead_bytes
        self.single_byte = single_byte
        self.name = name


_codepages = None


def codepages():
    """The single-byte code pages the library lists, usable as "cpNNN".
    The numbers are the word processor's: Windows numbers, except 18851,
    18852, 18856, 18857 and 18858 for ISO 8859-1, -2, -6, -7 and -8."""
    global _codepages
    if _codepages is None:
        _codepages = tuple(n for n in range(1, 0x10000)
                           if n not in _DOUBLE_BYTE_PAGES and _lib.find_codepage(n))
    return _codepages


def _form(name):
    if not isinstance(name, str):
        raise TypeError(f"a form is a str, got {type(name).__name__}")
    key = name.lower()
    if key in ("str", "text", "native"):
        return "native" if key == "native" else "str"
    if key in ("ansi", "oem"):
        # On a double-byte system both library records hold the Windows
        # code page and its lead bytes open two-byte characters.
        record = _lib.ansi_record() if key == "ansi" else _lib.oem_record()
        number = record.contents.fromQxCodepage
        return _BytePage(record, _lib.lead_bytes(), False, f"the {key.upper()} code page ({number})")
    if key.startswith("cp") and key[2:].isdigit():
        number = int(key[2:])
        if number in _DOUBLE_BYTE_PAGES:
            raise ValueError(f"{name}: double-byte code pages convert only as 'ansi', on a "
                             f"double-byte system (QSTR14_ACP={number} QSTR14_DBCS=1)")
        if number > 0xFFFF or not _lib.find_codepage(number):
            listed = " ".join(str(n) for n in codepages())
            raise ValueError(f"{name}: not a code page the library lists ({listed})")
        return _BytePage(_lib.codepage_record(number), frozenset(), True, f"code page {number}")
    raise ValueError(f"unknown form {name!r}: 'str' (or 'text'), 'native', 'ansi', 'oem' or 'cpNNN'")


def convert(data, from_, to, errors="strict"):
    """Converts `data` from form `from_` to form `to`, through native
    characters.

    Forms: "str" or "text" (a Python str), "native" (a list of 16-bit
    native elements), "ansi" and "oem" (bytes in the library's Windows and
    DOS code pages), "cpNNN" (bytes in a single-byte code page of
    codepages()). Native functions and attributes (0xF900 and up) are not
    text: byte and str forms leave them out, except the control codes for
    tab, line feed, form feed and carriage return."""
    _check_errors(errors)
    source, target = _form(from_), _form(to)
    if source == "str":
        decoded = _decode_str(data, errors)
    elif source == "native":
        decoded = _decode_native(data)
    else:
        decoded = _decode_bytes(data, source, errors)
    if target == "str":
        return _encode_str(decoded, errors)
    if target == "native":
        return _encode_native(decoded)
    return _encode_bytes(decoded, target, errors)


def native(text, errors="strict"):
    """The native string of a Python string: one native character per
    character (through the library's UTF-16 conversion). Characters
    without one (U+0000, anything beyond U+FFFF, characters outside the
    native sets) raise ConversionError, become "?" (errors="replace") or
    are dropped (errors="ignore")."""
    _check_errors(errors)
    return _encode_native(_decode_str(text, errors))


def text(native, errors="strict"):
    """The Python string of a native string (a sequence of ints from 1 to
    0xFFFF). Elements without a Unicode character raise ConversionError or
    become U+FFFD (errors="replace"); functions and attributes are left
    out, the native control codes become tab, line feed, form feed and
    carriage return."""
    _check_errors(errors)
    return _encode_str(_decode_native(native), errors)


# ---- collation ----

_languages = None


def languages():
    """The two-letter language codes of the comparison, by number."""
    global _languages
    if _languages is None:
        _languages = _lib.language_codes()
    return _languages


def _language(lang):
    """The code and number of a language code, in either case."""
    if not isinstance(lang, str):
        raise TypeError(f"a language is a two-letter code, got {type(lang).__name__}")
    code = lang.upper()
    if code not in languages():
        raise ValueError(f"unknown language {lang!r}: one of {' '.join(languages())}")
    return code, _lib.language_number(code)


def _as_native(s):
    return native(s) if isinstance(s, str) else [e for e, _, _ in _decode_native(s)]


def compare(a, b, lang="US", case=False, kana=False):
    """Orders two strings (str or native) for a language: -1, 0 or 1.
    Letters with the language's tailoring first, then accents, then, when
    asked, case (lower case first) and hiragana/katakana."""
    code, _ = _language(lang)
    a_buffer, a_pointer = _lib.wide(_as_native(a))
    b_buffer, b_pointer = _lib.wide(_as_native(b))
    result = _lib.compare_lang(a_pointer, b_pointer, code, case, kana)
    return (result > 0) - (result < 0)


def _key(s, number, case, kana):
    elements = _as_native(s)
    buffer, pointer = _lib.wide(elements)
    return _lib.sort_key(pointer, len(elements), number, case, kana)


def sort_key(s, lang="US", case=False, kana=False):
    """The sort key of a string (str or native) for a language and flags:
    bytes that order, compared as bytes, as compare() orders the strings,
    wherever key_exact() holds for both."""
    _, number = _language(lang)
    return _key(s, number, case, kana)[0]


def key_exact(s, lang="US", case=False, kana=False):
    """True when the sort key of `s` orders exactly against every other
    exact key; False when `s` must be ordered with compare() (some
    right-to-left, Catalan and Spanish strings)."""
    _, number = _language(lang)
    return _key(s, number, case, kana)[1]


def sorted(words, lang="US", case=False, kana=False):  # noqa: A001 - the package's sort
    """The words (str or native strings) in the language's order, equal
    words in their original order. Sorts by sort keys, and orders the
    words whose key is not exact with the comparison."""
    words = list(words)
    _, number = _language(lang)
    natives = [_as_native(w) for w in words]
    buffers = [_lib.wide(n) for n in natives]
    keys = [_lib.sort_key(pointer, len(n), number, case, kana)
            for n, (_, pointer) in zip(natives, buffers)]
    if all(exact for _, exact in keys):
        order = builtins.sorted(range(len(words)), key=lambda i: keys[i][0])
        return [words[i] for i in order]

    def order_of(i, j):
        (key_i, exact_i), (key_j, exact_j) = keys[i], keys[j]
        if exact_i and exact_j:
            return (key_i > key_j) - (key_i < key_j)
        result = _lib.compare_number(buffers[i][1], buffers[j][1], number, case, kana)
        return (result > 0) - (result < 0)

    order = builtins.sorted(range(len(words)), key=functools.cmp_to_key(order_of))
    return [words[i] for i in order]
