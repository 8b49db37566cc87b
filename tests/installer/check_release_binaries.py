#!/usr/bin/python3
"""Checks the Windows binaries as they ship, with their separate debug files:

- ASLR (dynamic base, with relocations to move by; high-entropy on PE32+)
  and DEP (NX compatible) are set in the PE headers;
- no debug information is left in them, and the module is under 1 MB;
- each names its debug file in a debug link with the file's CRC, and the
  debug file holds DWARF that resolves a function of the binary.

    check_release_binaries.py OBJDUMP OBJCOPY FUNCTION:BINARY...

FUNCTION is a function of BINARY that its debug file must name.
"""
import os
import re
import subprocess
import sys
import tempfile
import zlib

import pefile

MODULE_LIMIT = 1024 * 1024


def sections(objdump, path):
    out = subprocess.run([objdump, "-h", path], check=True, capture_output=True, text=True).stdout
    return [line.split()[1] for line in out.splitlines() if line.strip()[:1].isdigit()]


def debug_link(objcopy, path):
    """The file name and CRC that the binary's debug link names."""
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "link")
        subprocess.run([objcopy, "--dump-section", f".gnu_debuglink={out}", path, os.path.join(tmp, "copy")],
                       check=True, capture_output=True)
        with open(out, "rb") as f:
            data = f.read()
    end = data.index(b"\0")
    crc_at = (end + 4) & ~3
    return data[:end].decode(), int.from_bytes(data[crc_at:crc_at + 4], "little")


def check(objdump, objcopy, symbol, path):
    problems = []
    name = os.path.basename(path)
    pe = pefile.PE(path, fast_load=True)
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    wanted = {"DYNAMIC_BASE": 0x0040, "NX_COMPAT": 0x0100}
    if pe.OPTIONAL_HEADER.Magic == 0x20B:
        wanted["HIGH_ENTROPY_VA"] = 0x0020
    for flag, bit in wanted.items():
        if not flags & bit:
            problems.append(f"{flag} is not set")
    reloc = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if reloc.Size == 0:
        problems.append("no relocations, so ASLR cannot move it")
    names = sections(objdump, path)
    debug = [s for s in names if s.startswith(".debug") or s.startswith(".zdebug")]
    if debug:
        problems.append(f"debug sections left: {' '.join(debug)}")
    if pe.FILE_HEADER.NumberOfSymbols:
        problems.append("a symbol table is left")
    if name.endswith(".cpg") and os.path.getsize(path) >= MODULE_LIMIT:
        problems.append(f"{os.path.getsize(path)} bytes, not under 1 MB")

    link = debug_link(objcopy, path) if ".gnu_debuglink" in names else None
    if link is None:
        problems.append("no debug link")
    else:
        target, crc = link
        debug_file = os.path.join(os.path.dirname(path), target)
        if target != name + ".debug" or not os.path.isfile(debug_file):
            problems.append(f"the debug link names '{target}', which is not beside it")
        else:
            with open(debug_file, "rb") as f:
                if zlib.crc32(f.read()) != crc:
                    problems.append("the debug link's CRC does not match the debug file")
            info = subprocess.run([objdump, "--dwarf=info", debug_file], check=True, capture_output=True,
                                  text=True).stdout
            if "DW_TAG_compile_unit" not in info:
                problems.append("the debug file holds no DWARF")
            elif not re.search(r"DW_AT_name\s*:.*\b" + re.escape(symbol) + r"\s*$", info, re.M):
                problems.append(f"the debug file does not resolve {symbol}")
    for problem in problems:
        print(f"check-release-binaries: {name}: {problem}", file=sys.stderr)
    if not problems:
        print(f"check-release-binaries: {name}: {os.path.getsize(path)} bytes, ASLR and DEP set, "
              f"debug information in {name}.debug ({os.path.getsize(path + '.debug')} bytes)")
    return not problems


def main(argv):
    if len(argv) < 4 or not all(":" in arg for arg in argv[3:]):
        sys.exit(__doc__)
    objdump, objcopy = argv[1:3]
    results = [check(objdump, objcopy, *arg.split(":", 1)) for arg in argv[3:]]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main(sys.argv)
