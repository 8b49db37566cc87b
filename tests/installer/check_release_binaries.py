#!/usr/bin/python3
"""Checks the Windows binaries as they ship, with their separate debug files:

- hardened: ASLR (dynamic base, with relocations to move by; on PE32+
  high-entropy and an image base above 4 GiB), DEP (NX compatible), on PE32
  no SEH; no section both writable and executable, none shared and writable;
  the stack protector linked in, as its guard and failure handler in the
  link map (<binary>.map) show;
- stamped with SOURCE_DATE_EPOCH (--epoch), binary and debug file alike,
  and naming no folder of the build machine (--forbid);
- no debug information is left in them, and the module is under 1 MB;
- each names its debug file in a debug link with the file's CRC, and the
  debug file holds DWARF that resolves a function of the binary.

    check_release_binaries.py [--epoch N] [--forbid DIR]... OBJDUMP OBJCOPY FUNCTION:BINARY...
        [--hardened PROGRAM...]

FUNCTION is a function of BINARY that its debug file must name. The
programs after --hardened (the tests that run the plug-in's code) are held to
the PE header and section checks only, so the tests run the code as it ships.
"""
import argparse
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


SCN_SHARED, SCN_EXECUTE, SCN_WRITE = 0x10000000, 0x20000000, 0x80000000
# The stack protector's symbols, as a link map names them (PE32 adds a
# leading underscore to C names).
STACK_PROTECTOR = ["__stack_chk_guard", "__stack_chk_fail"]


def hardening_problems(pe):
    """What the PE headers and section table lack of the hardening."""
    problems = []
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    wanted = {"DYNAMIC_BASE": 0x0040, "NX_COMPAT": 0x0100}
    pe32_plus = pe.OPTIONAL_HEADER.Magic == 0x20B
    if pe32_plus:
        wanted["HIGH_ENTROPY_VA"] = 0x0020
        if pe.OPTIONAL_HEADER.ImageBase < 1 << 32:
            problems.append(f"image base {pe.OPTIONAL_HEADER.ImageBase:#x} is not above 4 GiB")
    else:
        wanted["NO_SEH"] = 0x0400
    for flag, bit in wanted.items():
        if not flags & bit:
            problems.append(f"{flag} is not set")
    reloc = pe.OPTIONAL_HEADER.DATA_DIRECTORY[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_BASERELOC"]]
    if reloc.Size == 0:
        problems.append("no relocations, so ASLR cannot move it")
    for section in pe.sections:
        name = section.Name.rstrip(b"\0").decode(errors="replace")
        c = section.Characteristics
        if c & SCN_WRITE and c & SCN_EXECUTE:
            problems.append(f"section {name} is writable and executable")
        if c & SCN_WRITE and c & SCN_SHARED:
            problems.append(f"section {name} is shared and writable")
    return problems


def stack_protector_problems(map_path):
    try:
        with open(map_path, encoding="utf-8", errors="replace") as f:
            text = f.read()
    except OSError as e:
        return [f"no link map: {e}"]
    return [f"the link map shows no {symbol}: not built with the stack protector"
            for symbol in STACK_PROTECTOR if not re.search(r"\b_?" + symbol + r"\b", text)]


def foreign_paths(path, forbidden):
    with open(path, "rb") as f:
        data = f.read()
    return [folder for folder in forbidden if folder.encode() in data]


def stamp_problems(path, epoch):
    stamp = pefile.PE(path, fast_load=True).FILE_HEADER.TimeDateStamp
    return [] if stamp == epoch else [f"{os.path.basename(path)} is stamped {stamp}, not SOURCE_DATE_EPOCH {epoch}"]


def check_hardened(path):
    problems = hardening_problems(pefile.PE(path, fast_load=True))
    for problem in problems:
        print(f"check-release-binaries: {os.path.basename(path)}: {problem}", file=sys.stderr)
    if not problems:
        print(f"check-release-binaries: {os.path.basename(path)}: hardened as what ships")
    return not problems


def check(objdump, objcopy, symbol, path, epoch=None, forbidden=()):
    name = os.path.basename(path)
    pe = pefile.PE(path, fast_load=True)
    problems = hardening_problems(pe)
    problems += stack_protector_problems(path + ".map")
    for candidate in (path, path + ".debug"):
        if epoch is not None and os.path.isfile(candidate):
            problems += stamp_problems(candidate, epoch)
        if os.path.isfile(candidate):
            problems += [f"{os.path.basename(candidate)} names the build machine's folder {folder}"
                         for folder in foreign_paths(candidate, forbidden)]
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
        print(f"check-release-binaries: {name}: {os.path.getsize(path)} bytes, hardened, stamped "
              f"{pe.FILE_HEADER.TimeDateStamp}, debug information in {name}.debug "
              f"({os.path.getsize(path + '.debug')} bytes)")
    return not problems


def main(argv):
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("--epoch", type=int)
    parser.add_argument("--forbid", action="append", default=[])
    parser.add_argument("objdump")
    parser.add_argument("objcopy")
    parser.add_argument("binaries", nargs="+")
    parser.add_argument("--hardened", nargs="+", default=[])
    args = parser.parse_args(argv[1:])
    if not all(":" in arg for arg in args.binaries):
        sys.exit(__doc__)
    results = [check(args.objdump, args.objcopy, *arg.split(":", 1), epoch=args.epoch, forbidden=args.forbid)
               for arg in args.binaries]
    results += [check_hardened(path) for path in args.hardened]
    sys.exit(0 if all(results) else 1)


if __name__ == "__main__":
    main(sys.argv)
