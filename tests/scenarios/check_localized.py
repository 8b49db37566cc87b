#!/usr/bin/env python3
"""Compares the log of a session in another language with the English one:
every text of the English log that the catalogue translates must appear in
the catalogue's translation, everything else exactly as in English.
  check_localized.py EXPECTED ACTUAL CATALOGUE.po
  check_localized.py --translate CATALOGUE.po TEXT   (prints the translation)"""
import gettext
import json
import subprocess
import sys
import tempfile
from pathlib import Path


def translations(po):
    """English -> translation of every text of the catalogue."""
    with tempfile.TemporaryDirectory() as work:
        mo = Path(work) / "catalogue.mo"
        subprocess.run(["msgfmt", "-o", str(mo), po], check=True)
        with open(mo, "rb") as f:
            catalogue = gettext.GNUTranslations(f)._catalog  # noqa: SLF001
    return {key.split("\x04")[-1]: text for key, text in catalogue.items() if key}


def localize(value, table):
    if isinstance(value, str):
        return table.get(value, value)
    if isinstance(value, list):
        return [localize(v, table) for v in value]
    if isinstance(value, dict):
        return {k: localize(v, table) for k, v in value.items()}
    return value


def main():
    if sys.argv[1] == "--translate":
        print(translations(sys.argv[2]).get(sys.argv[3], sys.argv[3]))
        return
    expected, actual, po = sys.argv[1:4]
    table = translations(po)
    wanted = [localize(json.loads(line), table) for line in open(expected, encoding="utf-8")]
    got = [json.loads(line) for line in open(actual, encoding="utf-8")]
    faults = [f"line {n}: expected {w}\n         got {g}" for n, (w, g) in enumerate(zip(wanted, got), 1) if w != g]
    if len(wanted) != len(got):
        faults.append(f"{len(got)} lines logged, {len(wanted)} expected")
    translated = sum(1 for w, line in zip(wanted, open(expected, encoding="utf-8")) if w != json.loads(line))
    if translated == 0:
        faults.append("the English log has no text the catalogue translates")
    if faults:
        sys.exit(f"check_localized: {actual} in {Path(po).name}:\n" + "\n".join(faults))


main()
