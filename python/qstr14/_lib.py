"""ctypes bindings of libqstr14 and libqstr14-keys.

The libraries are loaded on first use, not at import, so that ``import
qstr14`` works (and says what is missing) on a machine without them.
Where they come from:

* ``QSTR14_LIBRARY``: path of libqstr14 (``libqstr14.so.14``), and
  ``QSTR14_KEYS_LIBRARY``: path of the sort-key library;
* otherwise the names the dynamic loader resolves (``LD_LIBRARY_PATH``, the
  loader cache), then whatever ``ctypes.util.find_library`` finds.

The sort-key library needs libqstr14's exports, so libqstr14 is loaded
first and with RTLD_GLOBAL: the loader then resolves the key library's
dependency on libqstr14.so.14 with the copy already in the process.
"""

import array
import ctypes
import ctypes.util
import os
import sys
import threading

# The value the library returns for "no mapping" in every direction.
NO_MAPPING = 0xFFFF

_U16 = ctypes.c_uint16
_U32 = ctypes.c_uint32
_I32 = ctypes.c_int32
_P16 = ctypes.POINTER(ctypes.c_uint16)


class CODEPAGETBL(ctypes.Structure):
    """A code page record (include/qstr14/codepage.h): two code page numbers
    and three table pointers, with the platform's natural alignment. The
    tables are constant data of the library; the record only points at
    them."""

    _fields_ = [
        ("toQxCodepage", ctypes.c_uint32),
        ("fromQxCodepage", ctypes.c_uint32),
        ("lowTable", ctypes.c_void_p),
        ("highTable", ctypes.c_void_p),
        ("reverseTable", ctypes.c_void_p),
    ]


_PTBL = ctypes.POINTER(CODEPAGETBL)

# name: (restype, argtypes)
_MAIN_FUNCTIONS = {
    "Q6WStrTowz": (_I32, [_P16, _P16]),
    "Q6wzToWStr": (_I32, [_P16, _P16]),
    "QcvtFindCPTable": (ctypes.c_void_p, [_U32, _U32]),
    "QcvtSetCodepage": (None, [_I32, _U32, _PTBL]),
    "QcvtNtvToQx": (_U16, [_PTBL, _U32]),
    "QcvtQxToNtv": (_U16, [_PTBL, _U32]),
    "QtpiGetAnsiCodepageTbl": (_PTBL, []),
    "QtpiGetOemCodepageTbl": (_PTBL, []),
    "QMBStrTrunc": (_I32, [ctypes.c_char_p, _I32]),
    "QxQS6Cmpcoll": (_I32, [_P16, _P16, _U16, _U16, _U16]),
    "QxQS6CmpcollLang": (_I32, [_P16, _P16, ctypes.c_char_p, _U16, _U16]),
    "QxLanguage": (_U16, [ctypes.c_char_p]),
    "QxNum2Lang": (None, [_U16, ctypes.c_char_p]),
}
_KEYS_FUNCTIONS = {
    "QsKeyBuild": (ctypes.c_size_t,
                   [_P16, _U16, _U16, _U16, ctypes.POINTER(ctypes.c_uint8),
                    ctypes.c_size_t, ctypes.POINTER(ctypes.c_int32)]),
}

if sys.platform == "win32":
    _MAIN_NAMES = ["QStr14.dll"]
    _KEYS_NAMES = ["qstr14-keys.dll", "libqstr14-keys.dll"]
    _FIND_NAMES = ("QStr14", "qstr14-keys")
elif sys.platform == "darwin":
    _MAIN_NAMES = ["libqstr14.14.dylib", "libqstr14.dylib"]
    _KEYS_NAMES = ["libqstr14-keys.14.dylib", "libqstr14-keys.dylib"]
    _FIND_NAMES = ("qstr14", "qstr14-keys")
else:
    _MAIN_NAMES = ["libqstr14.so.14"]
    _KEYS_NAMES = ["libqstr14-keys.so.14"]
    _FIND_NAMES = ("qstr14", "qstr14-keys")

# Every export uses the standard calling convention on 32-bit Windows.
if sys.platform == "win32" and ctypes.sizeof(ctypes.c_void_p) == 4:
    _Loader = ctypes.WinDLL  # type: ignore[attr-defined]
else:
    _Loader = ctypes.CDLL

_lock = threading.Lock()
_main = None
_keys = None


def _open(variable, names, find_name, mode):
    path = os.environ.get(variable)
    if path:
        try:
            return _Loader(path, mode=mode)
        except OSError as error:
            raise OSError(f"qstr14: cannot load {path} (from {variable}): {error}") from None
    candidates = list(names)
    found = ctypes.util.find_library(find_name)
    if found:
        candidates.append(found)
    errors = []
    for name in candidates:
        try:
            return _Loader(name, mode=mode)
        except OSError as error:
            errors.append(str(error))
    raise OSError(f"qstr14: cannot find {names[0]}: set {variable} to its path, "
                  f"or add its directory to the loader's search path ({'; '.join(errors)})")


def _declare(library, functions):
    for name, (restype, argtypes) in functions.items():
        function = getattr(library, name)
        function.restype = restype
        function.argtypes = argtypes


def main():
    """libqstr14, loaded on the first call."""
    global _main
    if _main is None:
        with _lock:
            if _main is None:
                library = _open("QSTR14_LIBRARY", _MAIN_NAMES, _FIND_NAMES[0],
                                getattr(ctypes, "RTLD_GLOBAL", 0))
                _declare(library, _MAIN_FUNCTIONS)
                _main = library
    return _main


def keys():
    """libqstr14-keys, loaded on the first call (after libqstr14)."""
    global _keys
    if _keys is None:
        main()
        with _lock:
            if _keys is None:
                library = _open("QSTR14_KEYS_LIBRARY", _KEYS_NAMES, _FIND_NAMES[1],
                                ctypes.DEFAULT_MODE)
                _declare(library, _KEYS_FUNCTIONS)
                _keys = library
    return _keys


# ---- native strings as C arrays ----

def wide(units):
    """A zero-terminated uint16_t array holding `units`: (array, pointer).
    Keep the array alive as long as the pointer is used."""
    buffer = array.array("H", units)
    buffer.append(0)
    return buffer, ctypes.cast((ctypes.c_uint16 * len(buffer)).from_buffer(buffer), _P16)


def _through(function, units):
    """Runs a one-unit-per-character string conversion over `units` and
    returns the converted units (as many as there were)."""
    source, source_pointer = wide(units)
    target, target_pointer = wide([0] * len(units))
    function(source_pointer, target_pointer)
    return target[:len(units)].tolist()


def utf16_to_native(units):
    """Q6WStrTowz: a native character (or NO_MAPPING) for each UTF-16 unit."""
    return _through(main().Q6WStrTowz, units)


def native_to_utf16(units):
    """Q6wzToWStr: a UTF-16 unit (or NO_MAPPING) for each native element."""
    return _through(main().Q6wzToWStr, units)


# ---- code pages ----

_records = {}
_lead_bytes = None


def find_codepage(number):
    """True when the library lists code page `number` (it has a high range
    table for it)."""
    return bool(main().QcvtFindCPTable(number, 1))


def codepage_record(number):
    """A caller-owned record of listed code page `number`, loaded for both
    directions once and kept for the life of the process."""
    record = _records.get(number)
    if record is None:
        library = main()
        with _lock:
            record = _records.get(number)
            if record is None:
                record = CODEPAGETBL()
                library.QcvtSetCodepage(number, 3, ctypes.byref(record))
                _records[number] = record
    return ctypes.pointer(record)


def ansi_record():
    return main().QtpiGetAnsiCodepageTbl()


def oem_record():
    return main().QtpiGetOemCodepageTbl()


def host_to_native(record, code):
    return main().QcvtNtvToQx(record, code)


def native_to_host(record, native):
    return main().QcvtQxToNtv(record, native)


def lead_bytes():
    """The bytes that open a double-byte character of the ANSI code page
    (none on a system without double-byte support). QMBStrTrunc never
    keeps a lead byte without its trail byte, so cutting "<byte>A" to one
    byte keeps nothing exactly for a lead byte."""
    global _lead_bytes
    if _lead_bytes is None:
        library = main()
        found = set()
        for byte in range(0x80, 0x100):
            probe = ctypes.create_string_buffer(bytes((byte, 0x41)))
            if library.QMBStrTrunc(probe, 1) == 0:
                found.add(byte)
        _lead_bytes = frozenset(found)
    return _lead_bytes


# ---- languages and collation ----

LANGUAGE_COUNT = 40


def language_codes():
    """The two-letter codes of the language numbers 0-39, in order."""
    library = main()
    codes = []
    out = ctypes.create_string_buffer(3)
    for number in range(LANGUAGE_COUNT):
        library.QxNum2Lang(number, out)
        codes.append(out.value.decode("ascii"))
    return tuple(codes)


def language_number(code):
    return main().QxLanguage(code.encode("ascii"))


def compare_lang(a, b, code, case, kana):
    """QxQS6CmpcollLang over two pointers from wide()."""
    return main().QxQS6CmpcollLang(a, b, code.encode("ascii"), int(case), int(kana))


def compare_number(a, b, language, case, kana):
    """QxQS6Cmpcoll over two pointers from wide()."""
    return main().QxQS6Cmpcoll(a, b, language, int(case), int(kana))


def sort_key(pointer, length, language, case, kana):
    """QsKeyBuild: (key bytes, exact) of the native string at `pointer`
    with `length` elements."""
    build = keys().QsKeyBuild
    size = 14 * length + 2
    while True:
        key = (ctypes.c_uint8 * size)()
        exact = ctypes.c_int32(0)
        needed = build(pointer, language, int(case), int(kana), key, size, ctypes.byref(exact))
        if needed <= size:
            return bytes(key[:needed]), bool(exact.value)
        size = needed
