#!/usr/bin/env python3
"""scripts/lib/test-summary.py: rows from CTest's JUnit reports, with and
without a rerun of the failed entries, and the table's verdict."""
import contextlib
import importlib.util
import io
import os
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "test_summary", os.path.join(HERE, "..", "..", "scripts", "lib", "test-summary.py"))
summary = importlib.util.module_from_spec(spec)
spec.loader.exec_module(summary)


def junit(cases):
    """A CTest JUnit report of (name, status) pairs; a status of "notrun:R"
    gives a skipped element with the message R."""
    body = []
    for name, status in cases:
        if status.startswith("notrun:"):
            body.append(f'<testcase name="{name}" status="notrun"><skipped message="{status[7:]}"/></testcase>')
        else:
            body.append(f'<testcase name="{name}" status="{status}"/>')
    return f'<testsuite tests="{len(cases)}">{"".join(body)}</testsuite>'


class CtestRowTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, text):
        path = os.path.join(self.dir.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def test_rows(self):
        # (first run, rerun or None, session the probe found, expected [run, failed, note])
        broken = "passed after a broken session: "
        flaky = "flaky (failed, then passed in the same healthy Wine session): "
        table = [
            # passed
            ([("a", "run"), ("b", "run")], None, None, ["2", "0", ""]),
            # failed, no rerun
            ([("a", "run"), ("b", "fail")], None, None, ["2", "1", "b"]),
            # passed after a broken session, with the probe's evidence
            ([("a", "fail")], [("a", "run")], "broken", ["1", "0", broken + "a (probe: nodrv)"]),
            ([("a", "fail"), ("b", "fail")], [("a", "run"), ("b", "fail")], "broken",
             ["2", "1", "b; " + broken + "a (probe: nodrv)"]),
            # flaky: failed, then passed in the same healthy session; fails the row
            ([("a", "fail")], [("a", "run")], "healthy", ["1", "1", flaky + "a"]),
            # failed twice in a healthy session
            ([("a", "fail"), ("b", "fail")], [("a", "run"), ("b", "fail")], "healthy",
             ["2", "2", "b; " + flaky + "a"]),
            # a rerun without a probed session counts nothing as passed
            ([("a", "fail")], [("a", "run")], None, ["1", "1", "a"]),
            # a rerun that never happened (no report) changes nothing
            ([("a", "fail")], "missing", "broken", ["1", "1", "a"]),
            # an entry that passed the first time is not touched by the rerun
            ([("a", "run"), ("b", "fail")], [("b", "fail")], "broken", ["2", "1", "b"]),
            ([("a", "run"), ("s", "notrun:SKIP_RETURN_CODE=77")], None, None, ["1", "0", ""]),
            ([("a", "notrun:Required files missing")], None, None, ["1", "1", "a (not run: Required files missing)"]),
            ([("a", "disabled")], None, None, ["0", "0", ""]),
        ]
        for first, rerun, session, expected in table:
            with self.subTest(first=first, rerun=rerun, session=session):
                path = self.write("first.xml", junit(first))
                rerun_path = None
                if rerun == "missing":
                    rerun_path = os.path.join(self.dir.name, "none.xml")
                elif rerun is not None:
                    rerun_path = self.write("rerun.xml", junit(rerun))
                row = summary.ctest_row("win32", path, None, rerun_path, session, "nodrv")
                self.assertEqual([row[1], row[2], row[4]], expected)

    def test_a_note_joins_the_row_on_one_line(self):
        path = self.write("first.xml", junit([("a", "fail")]))
        row = summary.ctest_row("win64", path, None, None, None, "", "no working Wine\tsession\nfor the rerun")
        self.assertEqual(row[2:], ["1", "-", "a; no working Wine session for the rerun"])

    def test_command_line_rows(self):
        # the script's own call: empty arguments stand for none
        first = self.write("first.xml", junit([("a", "fail"), ("b", "fail")]))
        rerun = self.write("rerun.xml", junit([("a", "run"), ("b", "run")]))
        for args, expected in [
            ([first, "", rerun, "broken", "probe: box"], "2\t0\t-\tpassed after a broken session: a, b (probe: probe: box)"),
            ([first, "", rerun, "healthy", ""], "2\t2\t-\tflaky (failed, then passed in the same healthy Wine session): a, b"),
            ([first], "2\t2\t-\ta, b"),
        ]:
            with self.subTest(args=args):
                out = io.StringIO()
                with contextlib.redirect_stdout(out):
                    self.assertEqual(summary.main(["ctest", "win32"] + args), 0)
                self.assertEqual(out.getvalue(), "win32\t" + expected + "\n")

    def test_unreadable_report_is_a_failed_row(self):
        row = summary.ctest_row("native", self.write("bad.xml", "<testsuite"))
        self.assertEqual(row[:3], ["native", "0", "1"])
        self.assertTrue(row[4].startswith("no CTest report"))

    def test_table_fails_on_a_failed_row_or_an_empty_one_only(self):
        table = [
            (["native\t3\t0\t10\t"], 0),
            (["win32\t3\t0\t10\tpassed after a broken session: a (probe: nodrv)"], 0),
            (["win32\t3\t1\t10\tflaky (failed, then passed in the same healthy Wine session): a"], 1),
            (["native\t3\t0\t10\t", "win32\t3\t1\t10\tb"], 1),
            (["fuzz\t0\t0\t-\t"], 1),
            ([], 1),
        ]
        for rows, status in table:
            with self.subTest(rows=rows):
                path = self.write("rows.tsv", "\n".join(rows) + "\n")
                with open(os.devnull, "w") as quiet:
                    stdout, sys.stdout = sys.stdout, quiet
                    try:
                        self.assertEqual(summary.table(path), status)
                    finally:
                        sys.stdout = stdout


if __name__ == "__main__":
    unittest.main()
