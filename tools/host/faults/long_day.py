#!/usr/bin/env python3
"""A long day in one host process: CYCLES cycles of activation, the settings
dialog answered with Apply, a send of two shapes and deactivation, with the
process's resources read every 100 cycles (resident memory, open file
descriptors or handles, GDI and USER objects where the system answers).
Prints them as a table and whether each stayed flat after the first 100
cycles: descriptors, handles and objects back at their count of cycle 100,
resident memory within 1 MiB of it.

  long_day.py --host PROGRAM --standin PROGRAM --work DIR [--emulator PROGRAM]
              [--cycles N]
Exit status 0 when everything stayed flat and every line ran, 1 otherwise.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from campaign import Runner  # noqa: E402

EVERY = 100
RSS_SLACK_KB = 1024
COLUMNS = (("rss-kb", "resident KiB"), ("fds", "fds"), ("handles", "handles"), ("gdi", "GDI"), ("user", "USER"),
           ("host-buttons", "host's buttons"))


def scenario(cycles, no_write):
    # The stand-in host's metafile writer natively (libEMF) keeps about 600
    # bytes of every metafile it wrote until the process ends; with
    # no_write the host writes the first export only and answers the later
    # ones without writing (the file stays), so what grows is the plug-in's.
    lines = ["open flower.svg", "attach", "load", "select #leaf #petal-e", "resources"]
    for cycle in range(1, cycles + 1):
        if cycle == 2 and no_write:
            lines.append("export-outcome 0 no-write")
        # Apply alternates between two answers, so every Apply writes.
        export = 1 + cycle % 2
        # The started program has read the drawing before the next cycle
        # writes it again (under Wine it may still hold it open).
        lines += ["activate", f'answer-dialog apply app="Kyro Vesk" export={export} optimise=1',
                  "click TavrelSettings", "click Tavrel", "file-await receipt.json", "deactivate"]
        # Read every cycle (which also lets go of the host's records kept so
        # far, whose growth would blur the plug-in's); shown every 100.
        lines.append("resources")
    return lines + ["unload", "release", "references"]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--host", required=True)
    parser.add_argument("--standin", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("--work", required=True)
    parser.add_argument("--cycles", type=int, default=10000)
    args = parser.parse_args()
    if args.cycles < 2 * EVERY:
        parser.error(f"--cycles needs at least {2 * EVERY}")

    runner = Runner(args)
    runner.install()
    try:
        status, records, stderr, _ = runner.session("long-day", scenario(args.cycles, not runner.windows), timeout=None)
    finally:
        runner.uninstall()
    rows = [r for r in records if r.get("kind") == "resources"][::EVERY]
    errors = [r for r in records if r.get("kind") == "scenario-error"]
    boxes = sum(1 for r in records if r.get("kind") == "message-box")
    sends = sum(1 for r in records if r.get("kind") == "process")
    columns = [(key, title) for key, title in COLUMNS if any(key in r for r in rows)]
    print("| cycle | " + " | ".join(title for _, title in columns) + " |")
    print("|---:|" + "---:|" * len(columns))
    for index, row in enumerate(rows):
        cells = ["n/a (not answered)" if row.get(key) is None else str(row[key]) for key, _ in columns]
        print(f"| {index * EVERY} | " + " | ".join(cells) + " |")

    faults = []
    if status != 0:
        faults.append(f"tavrel-host ended with {status}: {stderr[-500:]}")
    faults += [f"line {e['line']}: {e['message']}" for e in errors[:5]]
    if boxes:
        faults.append(f"{boxes} message boxes")
    if sends != args.cycles:
        faults.append(f"{sends} programs started for {args.cycles} sends")
    if len(rows) < 3:
        faults.append("too few readings")
    else:
        base, later = rows[1], rows[1:]
        for key, title in columns:
            if base.get(key) is None:
                continue
            slack = RSS_SLACK_KB if key == "rss-kb" else 0
            top = max(r[key] for r in later)
            if top > base[key] + slack or rows[-1][key] > base[key] + slack:
                faults.append(f"{title} grew after cycle {EVERY}: {base[key]} -> max {top}, last {rows[-1][key]}")
    for key, title in (("gdi", "GDI"), ("user", "USER")):
        if any(key in r for r in rows) and all(r.get(key) is None for r in rows):
            print(f"{title} objects: not answered here (GetGuiResources gives no count)")
    print(f"long day: {args.cycles} cycles, {sends} sends, "
          + ("flat" if not faults else "NOT flat: " + "; ".join(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
