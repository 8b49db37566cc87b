#!/usr/bin/env python3
"""Writes the translators' template (po/tavrel.pot) from the English
resources as compiled: the settings dialog's texts and the string table,
each under its resource's name as context, with the notes of the resource
scripts and the room each dialog text has. With --check, compares instead
and fails when the committed template is not what the resources say."""
import argparse
import sys
from pathlib import Path

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import rctexts  # noqa: E402


def po_string(text):
    escaped = text.replace("\\", "\\\\").replace('"', '\\"').replace("\n", "\\n")
    if "\\n" in escaped and not escaped.endswith("\\n"):
        parts = escaped.split("\\n")
        return '""\n' + "\n".join(f'"{p}\\n"' for p in parts[:-1]) + f'\n"{parts[-1]}"'
    return f'"{escaped}"'


def template(entries):
    out = ['# Translations of the Tavrel plug-in.',
           '# Written by resources/make_pot.py from the English resources; edit those instead.',
           '#', 'msgid ""', 'msgstr ""',
           '"Project-Id-Version: Tavrel\\n"',
           '"Report-Msgid-Bugs-To: \\n"',
           '"POT-Creation-Date: \\n"',
           '"PO-Revision-Date: YEAR-MO-DA HO:MI+ZONE\\n"',
           '"Last-Translator: FULL NAME <EMAIL@ADDRESS>\\n"',
           '"Language-Team: LANGUAGE <LL@li.org>\\n"',
           '"Language: \\n"',
           '"MIME-Version: 1.0\\n"',
           '"Content-Type: text/plain; charset=UTF-8\\n"',
           '"Content-Transfer-Encoding: 8bit\\n"', '']
    for e in entries:
        out += [f"#. {c}" for c in e["comments"]]
        if e["c_format"]:
            out.append("#, c-format")
        out += [f'msgctxt "{e["context"]}"', f"msgid {po_string(e['text'])}", 'msgstr ""', ""]
    return "\n".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    for name in ("dialog-res", "dialog-rc", "strings-res", "strings-rc", "ids", "output"):
        parser.add_argument("--" + name, required=True)
    parser.add_argument("--dialog", type=int, required=True, help="the dialog's resource number")
    parser.add_argument("--check", action="store_true")
    args = parser.parse_args()
    text = template(rctexts.entries(args.dialog_res, args.dialog_rc, args.strings_res, args.strings_rc,
                                    args.ids, args.dialog))
    out = Path(args.output)
    if args.check:
        if not out.exists() or out.read_text(encoding="utf-8") != text:
            sys.exit(f"{out} is not what the English resources say: run this command again without --check")
    elif not out.exists() or out.read_text(encoding="utf-8") != text:
        out.write_text(text, encoding="utf-8")


main()
