"""The toolchain's libraries that the linker may put into a shipped Windows
binary, as GNU ld link maps name them: the one list that Notices.txt, the
SBOM and their checks all read.

Each component: the static libraries and start-up objects that belong to it,
the section of Notices.txt that carries its licence, and its licence as an
SPDX expression (None: the licences the mingw-w64 copyright file names for
that part, read from it).
"""
import fnmatch
import os
import re

COMPONENTS = {
    "mingw-w64-runtime": {
        "title": "MinGW-w64 runtime",
        "notice": "mingw-w64",
        "license": None,
        "files": ["crt1.o", "crt1u.o", "crt2.o", "crt2u.o", "dllcrt1.o", "dllcrt2.o", "libmingw32.a",
                  "libmingwex.a", "libmsvcrt.a", "libmoldname.a", "libmingwthrd.a", "libuuid.a"],
    },
    "winpthreads": {
        "title": "winpthreads",
        "notice": "winpthreads",
        "license": None,
        "files": ["libwinpthread.a", "libpthread.a"],
    },
    "libgcc": {
        "title": "libgcc",
        "notice": "gcc",
        "license": "GPL-3.0-or-later WITH GCC-exception-3.1",
        "files": ["crtbegin.o", "crtend.o", "libgcc.a", "libgcc_eh.a"],
    },
    "libstdc++": {
        "title": "libstdc++",
        "notice": "gcc",
        "license": "GPL-3.0-or-later WITH GCC-exception-3.1",
        "files": ["libstdc++.a"],
    },
    "libssp": {
        "title": "libssp (stack protector and checked string functions)",
        "notice": "gcc",
        "license": "GPL-3.0-or-later WITH GCC-exception-3.1",
        "files": ["libssp.a", "libssp_nonshared.a"],
    },
}

# Import libraries of Windows system DLLs carry no code of their own.
SYSTEM_IMPORT_LIBRARIES = [
    "libkernel32.a", "libuser32.a", "libgdi32.a", "libadvapi32.a", "libshell32.a", "libole32.a",
    "liboleaut32.a", "libcomctl32.a", "libcomdlg32.a", "libwinspool.a", "libversion.a",
    "libshlwapi.a", "libapi-ms-win-*.a", "libxmllite.a",
]

BY_FILE = {name: component for component, entry in COMPONENTS.items() for name in entry["files"]}


def linked_toolchain_files(map_path):
    """The toolchain's archives and objects (full paths) that a link map shows
    as gone into the binary: objects named on the command line whole, of an
    archive only the members it lists. The project's own are left out."""
    with open(map_path, encoding="utf-8", errors="replace") as f:
        text = f.read()
    used = set(re.findall(r"^LOAD (\S+\.o(?:bj)?)$", text, re.M))
    used |= set(re.findall(r"^(\S+\.a)\(", text, re.M))
    return sorted(item for item in used if item.startswith("/usr/"))


def classify(path):
    """The component a toolchain file belongs to, "system" for an import
    library of Windows, or None for one that no component covers."""
    base = os.path.basename(path)
    if base in BY_FILE:
        return BY_FILE[base]
    if any(fnmatch.fnmatch(base, pattern) for pattern in SYSTEM_IMPORT_LIBRARIES):
        return "system"
    return None
