#!/usr/bin/env python3
"""Reads dialog template 9 out of the built module and checks every field."""
import struct
import sys

import pefile

RT_DIALOG = 5
CLASS_ORDINALS = {0x80: "Button", 0x81: "Edit", 0x82: "Static", 0x83: "ListBox", 0x84: "ScrollBar", 0x85: "ComboBox"}

EXPECTED_DIALOG = {
    "version": 1, "signature": 0xFFFF, "help_id": 0, "ex_style": 0, "style": 0x80C800C8,
    "x": 0, "y": 0, "cx": 233, "cy": 158, "menu": "", "class": "", "title": "Tavrel Settings",
    "point_size": 8, "weight": 400, "italic": 0, "charset": 1, "font": "MS Shell Dlg",
}
EXPECTED_ITEMS = [
    (1, "Button", "Apply", 54, 134, 57, 14, 0x50010000),
    (2, "Button", "Cancel", 121, 134, 57, 14, 0x50010000),
    (1002, "ComboBox", "", 60, 32, 113, 43, 0x50210002),
    (0xFFFFFFFF, "Static", "Select one of the available Embroidery applications as an export target:",
     19, 11, 184, 16, 0x50020000),
    (0xFFFFFFFF, "Button", "Export type", 10, 50, 213, 56, 0x50000007),
    (1004, "Button", "Load vector data only.", 22, 63, 188, 10, 0x50020009),
    (1006, "Button", "Create embroidery objects directly.", 22, 77, 188, 10, 0x50000009),
    (1005, "Button", "Start with Kalder wizard after load.", 22, 91, 188, 10, 0x50000009),
    (1007, "Button", "Optimize curve data", 22, 114, 188, 10, 0x50030003),
]


class Reader:
    def __init__(self, data):
        self.data, self.pos = data, 0

    def unpack(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.pos)
        self.pos += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def string(self):
        end = self.pos
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        text = self.data[self.pos:end].decode("utf-16-le")
        self.pos = end + 2
        return text

    def sz_or_ord(self, ordinals=None):
        first = struct.unpack_from("<H", self.data, self.pos)[0]
        if first == 0xFFFF:
            self.pos += 2
            value = self.unpack("H")
            return ordinals.get(value, value) if ordinals else value
        return self.string()

    def align(self):
        self.pos = (self.pos + 3) & ~3


def dialog_resource(path, ident):
    pe = pefile.PE(path)
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != RT_DIALOG:
            continue
        for entry in kind.directory.entries:
            if entry.id == ident:
                leaf = entry.directory.entries[0].data.struct
                return pe.get_data(leaf.OffsetToData, leaf.Size)
    sys.exit(f"dialog {ident} not found in {path}")


def main():
    r = Reader(dialog_resource(sys.argv[1], 9))
    got = {}
    got["version"], got["signature"], got["help_id"], got["ex_style"], got["style"] = r.unpack("HHIII")
    count = r.unpack("H")
    got["x"], got["y"], got["cx"], got["cy"] = r.unpack("hhhh")
    got["menu"], got["class"], got["title"] = r.sz_or_ord(), r.sz_or_ord(), r.string()
    got["point_size"], got["weight"], got["italic"], got["charset"] = r.unpack("HHBB")
    got["font"] = r.string()
    failures = [f"dialog {k}: {got[k]!r} != {v!r}" for k, v in EXPECTED_DIALOG.items() if got[k] != v]
    if count != len(EXPECTED_ITEMS):
        failures.append(f"{count} controls, expected {len(EXPECTED_ITEMS)}")
    for n, expected in enumerate(EXPECTED_ITEMS[:count]):
        r.align()
        help_id, ex_style, style = r.unpack("III")
        x, y, cx, cy = r.unpack("hhhh")
        ident = r.unpack("I")
        cls = r.sz_or_ord(CLASS_ORDINALS)
        title = r.sz_or_ord()
        extra = r.unpack("H")
        r.pos += extra
        item = (ident, cls, title, x, y, cx, cy, style)
        if item != expected or help_id or ex_style:
            failures.append(f"control {n + 1}: {item} help={help_id} ex={ex_style}, expected {expected}")
    for f in failures:
        print("FAIL", f)
    print(f"dialog template 9: {count} controls checked, {len(failures)} differences")
    sys.exit(1 if failures else 0)


main()
