"""What the tests of the command-line programs share: running the built
program as a process (through the emulator under Wine, where a Linux path is
spelt Z:\\...), a table of argument lists with the exit code and the texts
they must give, named checks, and the JUnit report."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET


def options(*extra):
    """The common arguments --tool, --emulator, --junit, plus `extra` names."""
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--emulator", default="")
    parser.add_argument("--junit", required=True)
    for name in extra:
        parser.add_argument(name, required=True)
    return parser.parse_args()


class Runner:
    def __init__(self, opts, display=True):
        """display=False: a console program runs without the X display, so
        Wine starts no desktop process for it (faster, and nothing of the
        desktop's can fail into its standard error)."""
        self.opts = opts
        self.windows = bool(opts.emulator)
        self.env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        if not display:
            self.env.pop("DISPLAY", None)
        self.results = []

    def path(self, p):
        return "Z:" + p.replace("/", "\\") if self.windows else p

    def run(self, *args, cwd=None):
        """Runs the tool; its output goes to files, not pipes: under Wine the
        first program of a session starts Wine's own background processes,
        which inherit the program's standard handles and would keep a pipe
        open (and the caller waiting) long after the program has ended."""
        cmd = ([self.opts.emulator] if self.windows else []) + [self.opts.tool] + list(args)
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            r = subprocess.run(cmd, stdout=out, stderr=err, env=self.env, timeout=120, cwd=cwd)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(cmd, r.returncode, out.read(), own_stderr(err.read(), args))

    def case(self, name):
        """Decorator: runs the function as one named check."""
        def wrap(fn):
            try:
                fn()
                self.results.append((name, None))
            except AssertionError as e:
                self.results.append((name, str(e) or "assertion failed"))
            return fn
        return wrap

    def table(self, name, rows):
        """Runs each row (args, exit code, stdout, stderr) as one check.
        stdout: bytes expected exactly, or a str that must begin it; stderr: a
        str it must contain ("" for none at all)."""
        @self.case(name)
        def _():
            failures = []
            for args, code, out, err in rows:
                r = self.run(*args)
                shown = " ".join(args)
                if r.returncode != code:
                    failures.append(f"{shown}: exit {r.returncode}, expected {code} ({r.stderr[:200]!r})")
                if isinstance(out, bytes) and r.stdout != out:
                    failures.append(f"{shown}: stdout {r.stdout[:200]!r}, expected {out!r}")
                if isinstance(out, str) and not r.stdout.startswith(out.encode()):
                    failures.append(f"{shown}: stdout {r.stdout[:200]!r} does not begin with {out!r}")
                if err == "" and r.stderr != b"":
                    failures.append(f"{shown}: stderr {r.stderr[:200]!r}, expected none")
                if err and err.encode() not in r.stderr:
                    failures.append(f"{shown}: stderr {r.stderr[:300]!r} lacks {err!r}")
            expect(not failures, "\n".join(failures))

    def finish(self, suite_name):
        """Writes the JUnit report, prints the outcome; the exit status."""
        failed = sum(1 for _, e in self.results if e)
        suite = ET.Element("testsuites", tests=str(len(self.results)), failures=str(failed))
        ts = ET.SubElement(suite, "testsuite", name=suite_name, tests=str(len(self.results)))
        for name, error in self.results:
            tc = ET.SubElement(ts, "testcase", name=name, classname=suite_name)
            if error:
                ET.SubElement(tc, "failure", message=error)
                print(f"FAILED {name}: {error}")
            else:
                print(f"ok {name}")
        ET.ElementTree(suite).write(self.opts.junit, encoding="utf-8", xml_declaration=True)
        return 1 if failed else 0


# A line of Wine's own diagnostics ("0024:err:module:...").
WINE_LINE = re.compile(rb"^[0-9a-f]{4,8}:(err|warn|fixme|trace):[^\n]*\n?", re.MULTILINE)


def own_stderr(stderr, args):
    """The program's own standard error: Wine's diagnostic lines are taken
    out (they are no part of what the program wrote) and shown in the test's
    output instead, so they are kept beside the result."""
    wine = b"".join(m.group(0) for m in WINE_LINE.finditer(stderr))
    if wine:
        sys.stdout.write(f"Wine's diagnostics while running {' '.join(args)}:\n")
        sys.stdout.write(wine.decode("utf-8", "replace"))
        sys.stdout.flush()
    return WINE_LINE.sub(b"", stderr)


def expect(cond, message):
    if not cond:
        raise AssertionError(message)
