#!/usr/bin/env python3
"""scripts/lib/soak-table.py: the records of a run's CTest report, the table's
counts and rates, and its verdict."""
import importlib.util
import os
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "soak_table", os.path.join(HERE, "..", "..", "scripts", "lib", "soak-table.py"))
soak = importlib.util.module_from_spec(spec)
spec.loader.exec_module(soak)


class EntriesTest(unittest.TestCase):
    def test_records_of_a_report(self):
        report = ('<testsuite><testcase name="a" status="run"/><testcase name="b" status="fail"/>'
                  '<testcase name="c" status="disabled"/>'
                  '<testcase name="s" status="notrun"><skipped message="SKIP_RETURN_CODE=77"/></testcase>'
                  '<testcase name="n" status="notrun"><skipped message="Required files missing"/></testcase>'
                  '</testsuite>')
        with tempfile.NamedTemporaryFile("w", suffix=".xml", delete=False) as f:
            f.write(report)
        try:
            for session, verdict in [("healthy", "healthy"), ("broken", "broken"), ("passed", "healthy")]:
                with self.subTest(session=session):
                    self.assertEqual(soak.entries("win32", f.name, session), [
                        ("entry", "win32", "a", "passed"), ("entry", "win32", "b", verdict),
                        ("entry", "win32", "n", verdict)])
            # The failures name the folder of the run's log; a pass names none.
            self.assertEqual(soak.entries("win32", f.name, "healthy", "failed-3"), [
                ("entry", "win32", "a", "passed"), ("entry", "win32", "b", "healthy", "failed-3"),
                ("entry", "win32", "n", "healthy", "failed-3")])
        finally:
            os.unlink(f.name)

    def test_a_missing_report_is_a_failure(self):
        self.assertEqual(soak.entries("win64", "/nonexistent.xml", "broken", "failed-1"),
                         [("entry", "win64", "(no CTest report)", "broken", "failed-1")])


class TableTest(unittest.TestCase):
    def test_counts_rates_and_verdict(self):
        # (records, expected rows "preset entry runs failed healthy broken", rate lines, failed in a healthy one)
        table = [
            ([("entry", "win32", "a", "passed"), ("entry", "win32", "a", "passed")],
             ["win32 a 2 0 0 0"], [], False),
            ([("entry", "win64", "a", "broken"), ("entry", "win64", "a", "passed"),
              ("session", "win64", "fresh", "-"), ("session", "win64", "refused", "-"),
              ("session", "win64", "fresh", "-"), ("session", "win64", "fresh", "-"),
              ("start", "win64", "ok", "-"), ("start", "win64", "silent", "-"),
              ("start", "win64", "ok", "-"), ("start", "win64", "ok", "-")],
             ["win64 a 2 1 0 1"],
             ["win64: fresh Wine sessions the probe refused: 1 of 4 (25.0 %); "
              "silent start failures: 1 of 4 (25.0 %)"], False),
            ([("entry", "win32", "b", "healthy", "failed-1"), ("entry", "win32", "b", "broken", "failed-4"),
              ("entry", "win32", "c", "passed")],
             ["win32 b 2 2 1 1 failed-1 failed-4", "win32 c 1 0 0 0"], [], True),
        ]
        for records, rows, rates, failed in table:
            with self.subTest(records=records):
                lines, verdict = soak.table(records)
                body = [" ".join(line.split()) for line in lines]
                self.assertEqual(body[1:1 + len(rows)], rows)
                self.assertEqual([line for line in body if "refused" in line], rates)
                self.assertEqual(verdict, failed)
                self.assertEqual(body[-1].startswith("FAILED IN A HEALTHY SESSION"), failed)


if __name__ == "__main__":
    unittest.main()
