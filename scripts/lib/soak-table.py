#!/usr/bin/env python3
"""The records and the table of scripts/soak.

  soak-table.py entries PRESET CTEST_JUNIT SESSION [LOG]
      One record per CTest entry of a run's report: "passed", or the SESSION
      the failure happened in ("healthy" or "broken", as the window probe run
      right after it found the session) with LOG, the folder that keeps the
      failed run's whole log. A run without a report records one failure of
      the entry "(no CTest report)".
  soak-table.py table RECORDS
      Prints per preset and entry the runs, the failures in a healthy and
      in a broken session and the logs of the runs it failed in, then per preset the rate of fresh Wine sessions the
      probe refused and of bare first starts that failed silently (exit code
      without output). Exits 1 when an entry failed in a healthy session.

A record is one line of tab-separated fields: kind, preset, name, verdict.
  session PRESET fresh|refused -
  start   PRESET ok|silent|failed -
  entry   PRESET NAME passed|healthy|broken [LOG]
"""
import sys
import xml.etree.ElementTree as ET
from collections import defaultdict


def entries(preset, junit, session, log=None):
    kept = (log,) if log else ()
    try:
        suite = ET.parse(junit).getroot()
    except (OSError, ET.ParseError):
        return [("entry", preset, "(no CTest report)", session if session != "passed" else "healthy") + kept]
    records = []
    for case in suite.iter("testcase"):
        status = case.get("status", "")
        if status == "disabled":
            continue
        skipped = case.find("skipped")
        if status == "notrun" and skipped is not None and skipped.get("message", "").startswith("SKIP_"):
            continue
        verdict = "passed" if status == "run" else ("healthy" if session == "passed" else session)
        records.append(("entry", preset, case.get("name", "?"), verdict) + (kept if verdict != "passed" else ()))
    return records


def read(path):
    with open(path, encoding="utf-8") as f:
        return [tuple(line.rstrip("\n").split("\t")) for line in f if line.strip()]


def rate(part, whole):
    return f"{part} of {whole}" + (f" ({100.0 * part / whole:.1f} %)" if whole else "")


def table(records):
    """The table's lines and whether an entry failed in a healthy session."""
    runs = defaultdict(lambda: [0, 0, 0, []])  # (preset, entry) -> runs, healthy, broken, logs
    sessions = defaultdict(lambda: [0, 0])  # preset -> fresh sessions, refused
    starts = defaultdict(lambda: [0, 0, 0])  # preset -> starts, silent, failed otherwise
    for kind, preset, name, verdict, *log in records:
        if kind == "entry":
            row = runs[(preset, name)]
            row[0] += 1
            row[1] += verdict == "healthy"
            row[2] += verdict == "broken"
            row[3] += log
        elif kind == "session":
            sessions[preset][0] += 1
            sessions[preset][1] += name == "refused"
        elif kind == "start":
            starts[preset][0] += 1
            starts[preset][1] += name == "silent"
            starts[preset][2] += name == "failed"
    shown = [("preset", "entry", "runs", "failed", "healthy", "broken", "logs")]
    shown += [(p, e, str(r[0]), str(r[1] + r[2]), str(r[1]), str(r[2]), " ".join(r[3]))
              for (p, e), r in sorted(runs.items())]
    widths = [max(len(r[i]) for r in shown) for i in range(6)]
    lines = ["  " + "  ".join(r[i].ljust(widths[i]) if i < 2 else r[i].rjust(widths[i]) for i in range(6))
             + (f"  {r[6]}" if r[6] else "") for r in shown]
    lines.append("")
    for preset in sorted(set(sessions) | set(starts)):
        fresh, refused = sessions[preset]
        total, silent, failed = starts[preset]
        lines.append(f"  {preset}: fresh Wine sessions the probe refused: {rate(refused, fresh)}; "
                     f"silent start failures: {rate(silent, total)}"
                     + (f"; other start failures: {failed}" if failed else ""))
    healthy = sorted(f"{p} {e}" for (p, e), r in runs.items() if r[1])
    lines.append("FAILED IN A HEALTHY SESSION: " + ", ".join(healthy) if healthy
                 else "no entry failed in a healthy session")
    return lines, bool(healthy)


def main(argv):
    if len(argv) in (4, 5) and argv[0] == "entries":
        for record in entries(*argv[1:]):
            print("\t".join(record))
        return 0
    if len(argv) == 2 and argv[0] == "table":
        lines, failed = table(read(argv[1]))
        print("\n".join(lines))
        return 1 if failed else 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
