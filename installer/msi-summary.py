#!/usr/bin/env python3
"""Gives an MSI package a package code and times of our choosing.

wixl stamps the summary information with a random package code (the
revision number) and the clock's time as created and last saved. This
rewrites those three properties in place, so the same input gives the same
package, byte for byte:

    msi-summary.py PACKAGE.msi PACKAGE-CODE EPOCH

PACKAGE-CODE is a GUID without braces, EPOCH the time in seconds since 1970.
"""
import struct
import sys

import olefile

STREAM = "\x05SummaryInformation"
PID_REVNUMBER = 9
PID_CREATE_DTM = 12
PID_LASTSAVE_DTM = 13
VT_LPSTR = 30
VT_FILETIME = 64
FILETIME_1970 = 116444736000000000  # 100 ns intervals from 1601 to 1970


def patch(data: bytearray, package_code: str, epoch: int) -> None:
    """Rewrites the three properties in the first property set of DATA."""
    (section_offset,) = struct.unpack_from("<I", data, 44)
    (count,) = struct.unpack_from("<I", data, section_offset + 4)
    found = set()
    for i in range(count):
        pid, offset = struct.unpack_from("<II", data, section_offset + 8 + 8 * i)
        at = section_offset + offset
        (vt,) = struct.unpack_from("<I", data, at)
        if pid == PID_REVNUMBER and vt == VT_LPSTR:
            (length,) = struct.unpack_from("<I", data, at + 4)
            text = ("{" + package_code.upper() + "}").encode("ascii") + b"\0"
            if len(text) != length:
                raise SystemExit(f"msi-summary: the package code takes {length} bytes, not {len(text)}")
            data[at + 8:at + 8 + length] = text
            found.add(pid)
        elif pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM) and vt == VT_FILETIME:
            struct.pack_into("<Q", data, at + 4, FILETIME_1970 + epoch * 10_000_000)
            found.add(pid)
    missing = {PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM} - found
    if missing:
        raise SystemExit(f"msi-summary: the summary information has no properties {sorted(missing)}")


def main() -> None:
    if len(sys.argv) != 4 or sys.argv[1] in ("-h", "--help"):
        raise SystemExit(__doc__)
    path, package_code, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with olefile.OleFileIO(path, write_mode=True) as ole:
        data = bytearray(ole.openstream(STREAM).read())
        patch(data, package_code, epoch)
        ole.write_stream(STREAM, bytes(data))


if __name__ == "__main__":
    main()
