#!/usr/bin/env python3
"""Turns the translators' catalogues (po/<ll_CC>.po, listed in po/LINGUAS)
into a resource script (and the list of the languages shipped): per language a LANGUAGE block with the settings
dialog and a string table of every text, in the layout of the English
dialog or of the language's own (po/<ll_CC>.rc, a DIALOGEX with the English
texts, for a language that needs room). Also writes a header with the
longest form of each text over all languages, for the buffers that hold
them.

A catalogue fails the build when msgfmt --check rejects it, when a text is
untranslated or fuzzy, when it has a text the template lacks, when its
Language header names another language, or when a translation's
placeholders differ from the English ones."""
import argparse
import gettext
import re
import subprocess
import sys
import tempfile
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import rctexts  # noqa: E402

PLACEHOLDER = re.compile(r"%(?:\d+\$)?[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|L|z|j|t)?[diouxXeEfgGcsp%]")


def rc_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '""').replace("\n", "\\n") + '"'


def read_catalogue(po, work):
    """msgid-with-context -> translation of a catalogue msgfmt accepted."""
    mo = Path(work) / (Path(po).stem + ".mo")
    run = subprocess.run(["msgfmt", "--check", "-o", str(mo), str(po)], capture_output=True, text=True)
    if run.returncode != 0:
        raise ValueError("msgfmt --check failed:\n" + run.stderr.strip())
    with open(mo, "rb") as f:
        catalogue = gettext.GNUTranslations(f)._catalog  # noqa: SLF001 - the plain table is all we need
    return catalogue


def translations(name, po, entries, work):
    """context -> translation of every English text, or a list of faults."""
    catalogue = read_catalogue(po, work)
    header = catalogue.get("", "")
    language = re.search(r"^Language:\s*(\S*)", header, re.M)
    faults = []
    if not language or language.group(1).replace("-", "_") != name:
        faults.append(f"its Language header must say {name}")
    known = {f"{e['context']}\x04{e['text']}": e for e in entries}
    for key in catalogue:
        if key and key not in known:
            faults.append(f"it translates a text the template lacks: {key.replace(chr(4), ' | ')!r}")
    result = {}
    for key, e in known.items():
        text = catalogue.get(key, "")
        if not text:
            faults.append(f"{e['context']}: not translated (or fuzzy)")
            continue
        if PLACEHOLDER.findall(text) != PLACEHOLDER.findall(e["text"]):
            faults.append(f"{e['context']}: the placeholders {PLACEHOLDER.findall(text)} differ from "
                          f"the English {PLACEHOLDER.findall(e['text'])}")
        result[e["context"]] = text
    if faults:
        raise ValueError("\n".join(faults))
    return result


def dialog_block(script):
    """The DIALOGEX statement of a resource script, without notes."""
    lines = Path(script).read_text(encoding="utf-8").splitlines()
    start = next(i for i, line in enumerate(lines) if re.match(r"\s*\w+\s+DIALOGEX\b", line))
    end = next(i for i in range(start, len(lines)) if lines[i].strip() == "END")
    return [line for line in lines[start:end + 1] if not line.strip().startswith("//")]


def translated_dialog(block, entries, texts):
    """The dialog statement with each English text replaced by its translation."""
    by_english = {e["text"]: texts[e["context"]] for e in entries if e["context"].startswith(("IDD_",))}
    used = set()

    def replace(match):
        english = match.group(1).replace('""', '"')
        if english not in by_english:
            return match.group(0)
        used.add(english)
        return rc_string(by_english[english])

    out = [re.sub(r'"((?:[^"]|"")*)"', replace, line) for line in block]
    missing = set(by_english) - used
    if missing:
        raise ValueError(f"the dialog layout lacks the texts {sorted(missing)}")
    return out


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for name in ("dialog-res", "dialog-rc", "strings-res", "strings-rc", "ids", "po-dir", "output", "limits",
                 "languages"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--dialog", type=int, required=True, help="the dialog's resource number")
    args = parser.parse_args()

    entries = rctexts.entries(args.dialog_res, args.dialog_rc, args.strings_res, args.strings_rc, args.ids,
                              args.dialog)
    ids = rctexts.resource_ids(args.ids)
    po_dir = Path(args.po_dir)
    out = ["// Written by the build from the catalogues in resources/po (resources/make_translations.py).",
           "#pragma code_page(65001)", "#include <windows.h>", '#include "resources/resource.h"', ""]
    longest = {e["context"]: len(e["text"].encode("utf-16-le")) // 2 for e in entries}
    failed = []
    with tempfile.TemporaryDirectory() as work:
        for name in rctexts.linguas(po_dir / "LINGUAS"):
            po = po_dir / f"{name}.po"
            try:
                if not po.exists():
                    raise ValueError("the catalogue is missing")
                texts = translations(name, po, entries, work)
                layout = po_dir / f"{name}.rc"
                dialog = translated_dialog(dialog_block(layout if layout.exists() else args.dialog_rc), entries,
                                           texts)
            except ValueError as fault:
                failed.append(f"{po}:\n  " + str(fault).replace("\n", "\n  "))
                continue
            language = rctexts.LANGUAGES[name]
            out += [f"// {name}", f"LANGUAGE {language & 0x3FF:#04x}, {language >> 10:#04x}", ""] + dialog
            out += ["", "STRINGTABLE", "BEGIN"]
            for e in entries:
                if not e["context"].startswith("IDD_"):
                    out.append(f"    {e['context']} {rc_string(texts[e['context']])}")
            out += ["END", ""]
            for context, text in texts.items():
                longest[context] = max(longest[context], len(text.encode("utf-16-le")) // 2)
    if failed:
        sys.exit("resources: the catalogues cannot be built:\n" + "\n".join(failed))

    def write(path, text):
        if not Path(path).exists() or Path(path).read_text(encoding="utf-8") != text:
            Path(path).write_text(text, encoding="utf-8")

    write(args.output, "\n".join(out))
    # The languages shipped, English first, one a line, for the read-me and the SBOM.
    write(args.languages, "".join("  " + rctexts.display_name(n) + "\n"
                                  for n in ["en_US"] + rctexts.linguas(po_dir / "LINGUAS")))
    by_name = {name: value for value, name in ids.items()}
    cases = "\n".join(f"    case {c}: return {n};" for c, n in longest.items() if c in by_name and not c.startswith("IDD_"))
    write(args.limits, f"""\
// Written by the build from the English resources and the catalogues
// (resources/make_translations.py): the longest form of each text, in
// UTF-16 units, over every language shipped.
#pragma once

#include <cstddef>

#include "resources/resource.h"

namespace tavrel::resources {{

constexpr std::size_t LongestText(int id) {{
  switch (id) {{
{cases}
    default: return 0;
  }}
}}

}}  // namespace tavrel::resources
""")


main()
