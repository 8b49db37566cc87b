#!/usr/bin/env python3
"""The rows and the table of scripts/test's summary.

  test-summary.py ctest PRESET CTEST_JUNIT [GTEST_RESULTS_DIR
                       [RERUN_JUNIT SESSION [EVIDENCE [NOTE]]]]
      One row from CTest's own JUnit report (ctest --output-junit): every CTest
      entry counts once, a script as much as a GoogleTest program. The cases
      inside the programs' own JUnit reports (GoogleTest's and the command-line
      tests') are counted beside it. RERUN_JUNIT, when it exists, is the report
      of the failed entries run once more (ctest --rerun-failed) after the
      window probe found the Wine session SESSION ("healthy" or "broken"):
        - broken: the rerun ran in a new session; an entry that passed there
          counts as passed, listed as "passed after a broken session" with
          the probe's EVIDENCE;
        - healthy: the rerun ran in the same session; an entry that passed
          there is "flaky", one that failed again "failed"; both fail.
      NOTE is added to the row's note.
  test-summary.py step PRESET passed|failed [NOTE]
      One row for a step that is no CTest run (formatting, clang-tidy, fuzzing).
  test-summary.py broken PRESET NOTE
      One row for a preset that did not get as far as its tests.
  test-summary.py table ROWS_FILE
      Prints the table of the rows and exits 1 when a row failed or ran nothing.

A row is one line of tab-separated fields: preset, entries run, entries failed,
cases in the programs' own reports ("-" when none), the failing entries (or a
note).
"""
import glob
import sys
import xml.etree.ElementTree as ET


def passed_entries(junit):
    """The names of the entries that ran and passed in a CTest report."""
    try:
        suite = ET.parse(junit).getroot()
    except (OSError, ET.ParseError):
        return set()
    return {case.get("name") for case in suite.iter("testcase") if case.get("status") == "run"}


def ctest_row(preset, junit, gtest_dir=None, rerun_junit=None, session=None, evidence="", note=""):
    try:
        suite = ET.parse(junit).getroot()
    except (OSError, ET.ParseError) as error:
        return [preset, "0", "1", "-", f"no CTest report ({error})"]
    passed_on_rerun = passed_entries(rerun_junit) if rerun_junit else set()
    run = 0
    failed, flaky, recovered = [], [], []
    for case in suite.iter("testcase"):
        status = case.get("status", "")
        name = case.get("name", "?")
        if status == "disabled":
            continue
        if status == "notrun":
            skipped = case.find("skipped")
            reason = skipped.get("message", "") if skipped is not None else ""
            if reason.startswith("SKIP_"):  # SKIP_RETURN_CODE / SKIP_REGULAR_EXPRESSION
                continue
            run += 1
            failed.append(f"{name} (not run: {reason})" if reason else f"{name} (not run)")
            continue
        run += 1
        if status == "run":
            continue
        if name not in passed_on_rerun or session not in ("broken", "healthy"):
            failed.append(name)
        elif session == "broken":
            recovered.append(name)
        else:
            flaky.append(name)
    parts = []
    if failed:
        parts.append(", ".join(failed))
    if flaky:
        parts.append("flaky (failed, then passed in the same healthy Wine session): " + ", ".join(flaky))
    if recovered:
        parts.append("passed after a broken session: " + ", ".join(recovered)
                     + (f" (probe: {evidence})" if evidence else ""))
    if note:
        parts.append(note)
    note = " ".join("; ".join(parts).split())  # one line, no tabs
    return [preset, str(run), str(len(failed) + len(flaky)), gtest_cases(gtest_dir), note]


def gtest_cases(directory):
    """The test cases of the programs' own JUnit reports, or "-"."""
    if not directory:
        return "-"
    cases = 0
    for path in glob.glob(directory + "/*.xml"):
        try:
            root = ET.parse(path).getroot()
        except ET.ParseError:
            continue
        cases += int(root.get("tests", 0)) - int(root.get("disabled", 0))
    return str(cases) if cases else "-"


def row_failed(row):
    return int(row[2]) > 0 or int(row[1]) == 0


def table(rows_file):
    with open(rows_file, encoding="utf-8") as f:
        rows = [line.rstrip("\n").split("\t") for line in f if line.strip()]
    header = ["preset", "run", "failed", "cases", "failing entries and notes"]
    shown = [header] + [r[:4] + [r[4] if len(r) > 4 and r[4] else ("ran no tests" if int(r[1]) == 0 else "")]
                        for r in rows]
    widths = [max(len(r[i]) for r in shown) for i in range(4)]
    for r in shown:
        cells = [r[0].ljust(widths[0])] + [r[i].rjust(widths[i]) for i in (1, 2, 3)] + [r[4]]
        print("  " + "  ".join(cells).rstrip())
    failed = [r[0] for r in rows if row_failed(r)]
    if not rows:
        print("NOTHING RAN")
        return 1
    if failed:
        print("FAILED: " + ", ".join(failed))
        return 1
    print("ALL PASSED")
    return 0


def main(argv):
    if 3 <= len(argv) <= 8 and argv[0] == "ctest":
        print("\t".join(ctest_row(*[a if a != "" else None for a in argv[1:6]], *argv[6:8])))
        return 0
    if len(argv) >= 3 and argv[0] == "step":
        failed = argv[2] != "passed"
        note = argv[3] if len(argv) > 3 else ""
        print("\t".join([argv[1], "1", "1" if failed else "0", "-", note if failed else ""]))
        return 0
    if len(argv) == 3 and argv[0] == "broken":
        print("\t".join([argv[1], "0", "1", "-", argv[2]]))
        return 0
    if len(argv) == 2 and argv[0] == "table":
        return table(argv[1])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
