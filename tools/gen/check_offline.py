#!/usr/bin/env python3
"""Runs every table generator with --check where the machine's own data is
out of reach: importing unicodedata fails, the code page codecs are gone,
there is no uconv on PATH and the charmaps folder is empty. Each generator
must still rebuild its committed output byte for byte, from
tools/gen/data alone. Exit status 0 when all do, 1 otherwise.
"""
import os
import pathlib
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent

# Modules that hold the machine's Unicode data and codecs, or that read the
# compressed charts: importing any of them fails in the sandbox (and the
# encodings search then finds none of the codecs).
BLOCKED = ["unicodedata", "gzip", "zlib", "_multibytecodec", "_codecs_cn", "_codecs_hk", "_codecs_jp",
           "_codecs_kr", "_codecs_tw", "_codecs_iso2022"]
BLOCKED_CODECS = ["cp720", "cp932", "cp936", "cp949", "cp950", "gbk", "big5", "big5hkscs",
                  "shift_jis", "euc_kr", "gb2312", "gb18030"]

SITECUSTOMIZE = '''
import sys

BLOCKED = set({blocked!r}) | {{"encodings." + c for c in {codecs!r}}}


class Blocker:
    def find_spec(self, name, path=None, target=None):
        if name in BLOCKED:
            raise ImportError(f"{{name}} is blocked: the generators must not use it")
        return None


sys.meta_path.insert(0, Blocker())
'''

PROBE = '''
import os, shutil, sys
reached = []
try:
    import unicodedata
    reached.append("unicodedata")
except ImportError:
    pass
for codec in {codecs!r}:
    try:
        b"A".decode(codec)
        reached.append("codec " + codec)
    except LookupError:
        pass
if shutil.which("uconv"):
    reached.append("uconv")
if os.listdir(os.environ["QSTR14_CHARMAPS"]):
    reached.append("charmaps")
try:
    import gzip
    reached.append("gzip")
except ImportError:
    pass
print(", ".join(reached))
'''


def main():
    with tempfile.TemporaryDirectory() as tmp:
        tmp = pathlib.Path(tmp)
        (tmp / "site").mkdir()
        (tmp / "bin").mkdir()
        (tmp / "charmaps").mkdir()
        (tmp / "site" / "sitecustomize.py").write_text(
            SITECUSTOMIZE.format(blocked=BLOCKED, codecs=BLOCKED_CODECS), encoding="utf-8")
        env = {k: v for k, v in os.environ.items() if not k.startswith("QSTR14_GEN")}
        env.update(PYTHONPATH=str(tmp / "site"), PATH=str(tmp / "bin"), PYTHONDONTWRITEBYTECODE="1",
                   QSTR14_CHARMAPS=str(tmp / "charmaps"))
        probe = subprocess.run([sys.executable, "-c", PROBE.format(codecs=BLOCKED_CODECS)],
                               env=env, capture_output=True, text=True)
        if probe.returncode or probe.stdout.strip():
            print(f"check_offline: the sandbox still reaches: {probe.stdout.strip()}{probe.stderr}",
                  file=sys.stderr)
            return 1
        failed = []
        for generator in sorted(HERE.glob("gen_*.py")):
            done = subprocess.run([sys.executable, str(generator), "--check"], env=env, cwd=HERE.parents[1])
            print(f"check_offline: {generator.name}: {'same output' if done.returncode == 0 else 'FAILED'}")
            if done.returncode:
                failed.append(generator.name)
    if failed:
        print("check_offline: without the machine's data these differ or fail: " + ", ".join(failed),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
