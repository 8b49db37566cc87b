#!/usr/bin/env python3
"""Writes a text file shipped to Windows users from its source in the repo:
fills the @NAME@ placeholders with the values given as NAME=VALUE and writes
CRLF line endings, which every Notepad shows as lines. A placeholder left
without a value is an error, so nothing ships with an unfilled blank.
NAME<FILE takes the value from FILE, for whole sections made by the build.

    make-text.py SOURCE OUTPUT [NAME=VALUE | NAME<FILE ...]
"""
import re
import sys


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    source, output = argv[1], argv[2]
    values = {}
    for pair in argv[3:]:
        match = re.fullmatch(r"([A-Z_]+)([=<])(.*)", pair, re.S)
        if not match:
            sys.exit(f"make-text: {pair!r} is not NAME=VALUE or NAME<FILE")
        name, kind, value = match.groups()
        if kind == "<":
            with open(value, encoding="utf-8") as f:
                value = f.read().rstrip("\r\n")
        values[name] = value
    with open(source, encoding="utf-8", newline="") as f:
        text = f.read()
    missing = sorted(set(re.findall(r"@([A-Z_]+)@", text)) - values.keys())
    if missing:
        sys.exit(f"make-text: {source} has no value for {', '.join(missing)}")
    text = re.sub(r"@([A-Z_]+)@", lambda m: values[m.group(1)], text)
    lines = text.replace("\r\n", "\n").split("\n")
    with open(output, "w", encoding="utf-8", newline="") as f:
        f.write("\r\n".join(lines))


if __name__ == "__main__":
    main(sys.argv)
