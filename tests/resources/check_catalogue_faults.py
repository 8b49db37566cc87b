#!/usr/bin/env python3
"""Each fault a translator's catalogue can have stops the build with a
message naming it: a copy of a shipped catalogue with one fault at a time
goes through resources/make_translations.py alone. The copy without a fault
must pass.
  check_catalogue_faults.py CATALOGUE.po -- MAKE_TRANSLATIONS_ARGS..."""
import re
import subprocess
import sys
import tempfile
from pathlib import Path

FUZZY = ("#. Tooltip of the settings command.\n", "#. Tooltip of the settings command.\n#, fuzzy\n")
# (case, what to change in the catalogue, what the failure must say); None passes.
CASES = [
    ("as shipped", None, None),
    ("untranslated", (r'(msgctxt "IDS_SAVE_FAILED"\nmsgid "[^"]*"\nmsgstr )"[^"]*"', r'\1""'), "IDS_SAVE_FAILED: not translated"),
    ("fuzzy", FUZZY, "IDS_SETTINGS_TOOLTIP: not translated"),
    ("placeholder lost", (r'(msgctxt "IDS_EXPORT_FAILED"\n(?:msgid[^\n]*\n|"[^\n]*\n)*msgstr "[^%"]*)%d', r"\1%s"),
     "msgfmt --check failed"),
    ("placeholder of no flagged text", (r'(msgctxt "IDS_SAVE_FAILED"\nmsgid "[^"]*"\nmsgstr "[^"]*)"', r'\1 %d"'),
     "IDS_SAVE_FAILED: the placeholders"),
    ("text the template lacks", (r"\Z", '\nmsgctxt "IDS_NOTHING"\nmsgid "Nothing"\nmsgstr "Nichts"\n'),
     "a text the template lacks"),
    ("other language", (r'"Language: [^\\]*\\n"', r'"Language: fr_FR\\n"'), "Language header"),
    ("syntax", (r'msgctxt "IDS_SAVE_FAILED"', 'msgctxt IDS_SAVE_FAILED'), "msgfmt --check failed"),
]


def main():
    catalogue = Path(sys.argv[1])
    make_args = sys.argv[sys.argv.index("--") + 1:]
    name = catalogue.stem
    original = catalogue.read_text(encoding="utf-8")
    failures = []
    for case, change, wanted in CASES:
        text = original
        if change:
            pattern, replacement = change
            text, count = (re.subn(pattern, replacement, text, count=1) if pattern != FUZZY[0]
                           else (text.replace(pattern, replacement, 1), int(pattern in text)))
            if count != 1:
                failures.append(f"{case}: the change does not apply to {catalogue.name}")
                continue
        with tempfile.TemporaryDirectory() as work:
            po_dir = Path(work) / "po"
            po_dir.mkdir()
            (po_dir / "LINGUAS").write_text(name + "\n")
            (po_dir / f"{name}.po").write_text(text, encoding="utf-8")
            outputs = [f"--{o}={work}/{o}" for o in ("output", "limits", "languages")]
            run = subprocess.run([sys.executable, *make_args, f"--po-dir={po_dir}", *outputs],
                                 capture_output=True, text=True)
        if wanted is None and run.returncode != 0:
            failures.append(f"{case}: refused: {run.stderr.strip()}")
        elif wanted is not None and (run.returncode == 0 or wanted not in run.stderr):
            failures.append(f"{case}: exit {run.returncode}, wanted a failure saying {wanted!r}: {run.stderr.strip()}")
    for failure in failures:
        print("check_catalogue_faults:", failure)
    print(f"check_catalogue_faults: {len(CASES) - len(failures)} of {len(CASES)} cases as expected")
    return 1 if failures else 0


sys.exit(main())
