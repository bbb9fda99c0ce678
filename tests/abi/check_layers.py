#!/usr/bin/env python3
"""Holds the library to its layers (src/layers.txt): no file includes a header
of a layer above its own, and no object calls or reads a symbol defined in a
layer above its own. Every folder under src/ must be a listed layer (or a
backend of host). The tool (cli/) sees the library through
tool/tool_support.h and the public headers alone. Each violation is printed on a line of its own, naming the
file and what it reaches up to; the exit status is 1 when there is any.

  check_layers.py SOURCE_DIR [NM OBJECT ...]

Without objects only the includes are checked.
"""
import pathlib
import re
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
HOST_BACKENDS = ("host/posix", "host/win32")


def read_layers(src):
    lines = (src / "layers.txt").read_text().splitlines()
    return [line.strip() for line in lines if line.strip() and not line.startswith("#")]


def layer_of(relative, layers):
    """The rank of the longest listed layer that holds `relative`, or None."""
    best = None
    for rank, layer in enumerate(layers):
        if relative.startswith(layer + "/") and (best is None or len(layer) > len(layers[best])):
            best = rank
    return best


def unlisted_folders(src, layers):
    problems = []
    for path in sorted(src.rglob("*")):
        if path.is_file() and path.suffix in (".h", ".cpp", ".inc"):
            relative = path.relative_to(src).as_posix()
            if layer_of(relative, layers) is None:
                problems.append(f"{relative}: its folder is no layer of layers.txt")
            elif path.parent.relative_to(src).as_posix() not in layers and \
                    not relative.startswith(HOST_BACKENDS):
                problems.append(f"{relative}: its folder {path.parent.relative_to(src)} is not listed "
                                f"in layers.txt, so the build leaves it out")
    return problems


def upward_includes(src, layers):
    problems = []
    for path in sorted(src.rglob("*")):
        if not path.is_file() or path.suffix not in (".h", ".cpp", ".inc"):
            continue
        relative = path.relative_to(src).as_posix()
        own = layer_of(relative, layers)
        for included in INCLUDE.findall(path.read_text(errors="replace")):
            target = layer_of(included, layers)
            if own is not None and target is not None and target > own:
                problems.append(f"{relative} ({layers[own]}) includes {included} ({layers[target]})")
    return problems


def tool_includes(root, layers):
    problems = []
    folders = {layer.split("/")[0] for layer in layers}
    for path in sorted((root / "cli").rglob("*")):
        if not path.is_file() or path.suffix not in (".h", ".cpp"):
            continue
        for included in INCLUDE.findall(path.read_text(errors="replace")):
            if included.split("/")[0] in folders:
                problems.append(f"cli/{path.relative_to(root / 'cli').as_posix()} includes {included}: "
                                f"the tool reaches the library through tool_support.h")
    return problems


def symbols(nm, obj, *options):
    out = subprocess.run([nm, "-C", *options, obj], capture_output=True, text=True, check=True).stdout
    names = []
    for line in out.splitlines():
        fields = line.split(maxsplit=2)
        if options == ("-u",):
            names.append(line.strip().split(maxsplit=1)[-1])
        elif len(fields) == 3 and fields[1] in "TDBRVW":
            names.append(fields[2])
    return names


def source_of(obj):
    """src-relative source path of an object built by CMake
    (.../qstr14_objects.dir/charset/stepping.cpp.o)."""
    match = re.search(r"\.dir/(.+)\.(?:o|obj)$", obj)
    return match.group(1) if match else None


def upward_calls(nm, objects, layers):
    rank_of = {}
    for obj in objects:
        relative = source_of(obj)
        if relative is not None:
            rank_of[obj] = layer_of(relative, layers)
    defined = {}
    for obj, rank in rank_of.items():
        for name in symbols(nm, obj, "--defined-only"):
            defined.setdefault(name, (obj, rank))
    problems = []
    for obj, rank in sorted(rank_of.items()):
        for name in symbols(nm, obj, "-u"):
            owner = defined.get(name)
            if rank is not None and owner is not None and owner[1] is not None and owner[1] > rank:
                problems.append(f"{source_of(obj)} ({layers[rank]}) uses {name}, defined in "
                                f"{source_of(owner[0])} ({layers[owner[1]]})")
    return problems


def main(argv):
    root = pathlib.Path(argv[1])
    src = root / "src"
    layers = read_layers(src)
    problems = unlisted_folders(src, layers) + upward_includes(src, layers) + tool_includes(root, layers)
    if len(argv) > 3:
        problems += upward_calls(argv[2], argv[3:], layers)
    for problem in problems:
        print(problem)
    if not problems:
        print(f"{len(layers)} layers, no file reaches above its own")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
