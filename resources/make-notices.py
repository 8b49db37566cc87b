#!/usr/bin/env python3
"""Writes Notices.txt: Tavrel's own licence (the LICENSE file), then the
licence texts of the toolchain's libraries that are linked statically into
the Windows module and programs, taken verbatim from the Debian packages that
provide them (their copyright files), never retyped.

    make-notices.py OUTPUT LICENSE MINGW_COPYRIGHT GCC_COPYRIGHT GPL3_TEXT
    make-notices.py --check-map NOTICES MAP...

The first form writes the file. --check-map reads GNU ld link maps and fails
when a static library went into a shipped binary that no section of the
notices covers (a new dependency must bring its notice along), or when the
built NOTICES lacks the section of a component that went in.
"""
import os
import re
import sys

from toolchain_components import COMPONENTS, classify, linked_toolchain_files

# The heading of each component's section in Notices.txt.
TITLES = {
    "tavrel": "Tavrel",
    "mingw-w64": "1. MinGW-w64 runtime",
    "winpthreads": "2. winpthreads",
    "gcc": "3. GCC runtime libraries (libgcc, libstdc++, libssp)",
}

# The parts of the mingw-w64 sources whose code the runtime archives hold;
# the rest of that source package (tools, headers of other SDK parts, tests)
# is not linked into anything.
MINGW_PARTS = {
    "mingw-w64": lambda path: path == "*" or (path.startswith("mingw-w64-crt/")
                                              and not path.startswith("mingw-w64-crt/profile/")),
    "winpthreads": lambda path: path.startswith("mingw-w64-libraries/winpthreads/")
    and "/tests_pthread/" not in path,
}


def paragraphs(text):
    return [p for p in re.split(r"\n\s*\n", text) if p.strip()]


def field(paragraph, name):
    """The value of a field of a machine-readable copyright paragraph: the
    first line and its continuation lines, unfolded."""
    lines = paragraph.split("\n")
    for i, line in enumerate(lines):
        if line.startswith(name + ":"):
            value = [line[len(name) + 1:].strip()]
            for cont in lines[i + 1:]:
                if not cont[:1].isspace():
                    break
                value.append(cont.strip())
            return value
    return None


def license_body(paragraph):
    """The licence text of a paragraph: the lines after 'License: NAME',
    with the one-space indent removed and ' .' restored to empty lines."""
    lines = paragraph.split("\n")
    start = next(i for i, line in enumerate(lines) if line.startswith("License:"))
    body = []
    for line in lines[start + 1:]:
        if not line[:1].isspace():
            break
        line = line[1:] if line.startswith(" ") else line.lstrip("\t")
        body.append("" if line.strip() == "." else line)
    return "\n".join(body).rstrip()


def mingw_sections(copyright_text):
    paras = paragraphs(copyright_text)
    standalone = {}
    for p in paras:
        if field(p, "Files") is None and field(p, "License"):
            standalone[field(p, "License")[0]] = license_body(p)
    out = {}
    for part, wanted in MINGW_PARTS.items():
        entries, licences = [], []
        for p in paras:
            files = field(p, "Files")
            if not files or not any(wanted(f) for f in files):
                continue
            name = field(p, "License")[0]
            entries.append("Files: " + "\n       ".join(files) + "\n" + "Copyright: "
                           + "\n           ".join(field(p, "Copyright")) + "\nLicense: " + name)
            body = license_body(p)
            # A paragraph carries its own text, or names licences ("A and B")
            # whose texts stand in paragraphs of their own.
            named = [(name, body)] if body else [(n, standalone.get(n)) for n in re.split(r" and | or ", name)]
            for n, text in named:
                if text is None:
                    sys.exit(f"make-notices: no text for licence {n} in the mingw-w64 copyright file")
                if (n, text) not in licences:
                    licences.append((n, text))
        if not entries:
            sys.exit(f"make-notices: the mingw-w64 copyright file has nothing for {part}")
        out[part] = entries, licences
    return out


def between(text, start, end, what):
    i = text.find(start)
    j = text.find(end, i)
    if i < 0 or j < 0:
        sys.exit(f"make-notices: the GCC copyright file lacks {what}")
    return text[i:j + len(end)].rstrip()


def write_notices(output, license_path, mingw_path, gcc_path, gpl3_path):
    with open(license_path, encoding="utf-8") as f:
        own = f.read().rstrip()
    with open(mingw_path, encoding="utf-8") as f:
        mingw = mingw_sections(f.read())
    with open(gcc_path, encoding="utf-8") as f:
        gcc = f.read()
    with open(gpl3_path, encoding="utf-8") as f:
        gpl3 = f.read().rstrip()
    statement = between(gcc, "GCC is Copyright (C)", " - libvtv", "the copyright statement and runtime library list")
    exception = between(gcc, "GCC RUNTIME LIBRARY EXCEPTION",
                        "requirements of the license of GCC.", "the runtime library exception")

    rule = "=" * 75
    parts = [
        "Notices for Tavrel\n\n"
        "Tavrel is free software under the MIT License, which follows first.\n"
        "Tavrel's module (Tavrel.cpg) and xmlprofile.exe contain, linked statically,\n"
        "parts of the following libraries of the compiler they were built with.\n"
        "Their licences follow Tavrel's, as the toolchain's packages state them.\n\n"
        "  1. MinGW-w64 runtime (program start-up and C runtime support)\n"
        "  2. winpthreads (POSIX threads for Windows, part of MinGW-w64)\n"
        "  3. GCC runtime libraries (libgcc, libstdc++, libssp)\n",
    ]
    parts.append(f"{rule}\n{TITLES['tavrel']}\n{rule}\n\n{own}\n")
    for part in ("mingw-w64", "winpthreads"):
        entries, licences = mingw[part]
        text = f"{rule}\n{TITLES[part]}\n{rule}\n\n" + "\n\n".join(entries)
        for name, body in licences:
            text += f"\n\n--- License: {name} ---\n\n{body}"
        parts.append(text + "\n")
    parts.append(f"{rule}\n{TITLES['gcc']}\n{rule}\n\n"
                 f"{statement}\n\n{exception}\n\n"
                 f"--- GNU General Public License, version 3 ---\n\n{gpl3}\n")
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(parts))


def check_maps(notices_path, maps):
    """Every archive or start-up object that a link map shows as loaded must
    belong to a component of the notices or be a system import library, and
    the notices must hold that component's section."""
    with open(notices_path, encoding="utf-8") as f:
        notices = f.read().replace("\r\n", "\n")
    status = 0
    for path in maps:
        seen = set()
        for item in linked_toolchain_files(path):
            component = classify(item)
            if component is None:
                print(f"check-map: {path} links {item}, which Notices.txt does not cover", file=sys.stderr)
                status = 1
            elif component != "system":
                seen.add(COMPONENTS[component]["notice"])
        for part in sorted(seen):
            if f"\n{TITLES[part]}\n" not in notices:
                print(f"check-map: {notices_path} has no section '{TITLES[part]}'", file=sys.stderr)
                status = 1
        print(f"check-map: {os.path.basename(path)}: {', '.join(sorted(seen)) or 'no toolchain library'}")
    return status


if __name__ == "__main__":
    if len(sys.argv) >= 4 and sys.argv[1] == "--check-map":
        sys.exit(check_maps(sys.argv[2], sys.argv[3:]))
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    write_notices(*sys.argv[1:])
