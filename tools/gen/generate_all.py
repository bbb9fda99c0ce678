#!/usr/bin/env python3
"""Runs every table generator in tools/gen (files named gen_*.py), in name order."""
import pathlib
import subprocess
import sys

here = pathlib.Path(__file__).resolve().parent
generators = sorted(here.glob("gen_*.py"))
for generator in generators:
    print(f"generating with {generator.name}")
    subprocess.run([sys.executable, str(generator)], check=True)
if not generators:
    print("no table generators yet")
