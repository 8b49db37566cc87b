#!/usr/bin/env python3
"""Checks every form of the settings dialog's template against the one table
below: the compiled resource script (a .res file, or the built Windows
module), and the data the native dialog stand-in runs (printed by
dump-dialog-template)."""
import argparse
import json
import shlex
import subprocess
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "resources"))
import dialogres  # noqa: E402

DIALOG_ID = 9
EXPECTED_DIALOG = {
    "style": 0x80C800C8, "x": 0, "y": 0, "cx": 233, "cy": 158, "title": "Tavrel Settings",
    "point_size": 8, "weight": 400, "italic": 0, "charset": 1, "font": "MS Shell Dlg",
}
# Only the compiled resource has these; the stand-in has none of them.
EXPECTED_COMPILED = {"version": 1, "signature": 0xFFFF, "help_id": 0, "ex_style": 0, "menu": "", "class": ""}
EXPECTED_ITEMS = [
    (1, "Button", "Apply", 54, 134, 57, 14, 0x50010000),
    (2, "Button", "Cancel", 121, 134, 57, 14, 0x50010000),
    (1002, "ComboBox", "", 60, 32, 113, 43, 0x50210002),
    (-1, "Static", "Select one of the available Embroidery applications as an export target:",
     19, 11, 184, 16, 0x50020000),
    (-1, "Button", "Export type", 10, 50, 213, 56, 0x50000007),
    (1004, "Button", "Load vector data only.", 22, 63, 188, 10, 0x50020009),
    (1006, "Button", "Create embroidery objects directly.", 22, 77, 188, 10, 0x50000009),
    (1005, "Button", "Start with Kalder wizard after load.", 22, 91, 188, 10, 0x50000009),
    (1007, "Button", "Optimize curve data", 22, 114, 188, 10, 0x50030003),
]
ITEM_FIELDS = ("id", "class", "text", "x", "y", "cx", "cy", "style")


def show(item):
    return f"{item[:-1]} style {item[-1]:#010x}"


def compare(form, got, compiled):
    expected = dict(EXPECTED_DIALOG, **(EXPECTED_COMPILED if compiled else {}))
    failures = [f"{form}: dialog {k} is {got.get(k)!r}, expected {v!r}" for k, v in expected.items()
                if got.get(k) != v]
    items = got["items"]
    if len(items) != len(EXPECTED_ITEMS):
        failures.append(f"{form}: {len(items)} controls, expected {len(EXPECTED_ITEMS)}")
    for n, (item, want) in enumerate(zip(items, EXPECTED_ITEMS), start=1):
        have = tuple(item[f] for f in ITEM_FIELDS)
        if have != want:
            failures.append(f"{form}: control {n} is {show(have)}, expected {show(want)}")
        if compiled and (item["help_id"] or item["ex_style"] or item["extra"]):
            failures.append(f"{form}: control {n} has help {item['help_id']}, extended style "
                            f"{item['ex_style']:#x}, {item['extra']} bytes of creation data")
    return failures


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--compiled", action="append", default=[],
                        help="a .res file or a built module holding the template (repeatable)")
    parser.add_argument("--dump", required=True, help="the dump-dialog-template program")
    parser.add_argument("--emulator", default="", help="runs the program (the Windows builds: Wine)")
    args = parser.parse_args()

    failures = []
    for path in args.compiled:
        failures += compare(path, dialogres.parse_dialogex(dialogres.find_dialog(path, DIALOG_ID)), True)
    command = shlex.split(args.emulator) + [args.dump]
    model = json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)
    for item in model["items"]:
        item["class"] = dialogres.CLASS_ORDINALS.get(item["class"], item["class"])
    failures += compare("native template data", model, False)
    for f in failures:
        print("FAIL", f)
    forms = len(args.compiled) + 1
    print(f"dialog template {DIALOG_ID}: {forms} forms checked, {len(failures)} differences")
    return 1 if failures else 0


sys.exit(main())
