#!/usr/bin/env python3
"""Runs the built tavrel-host as a process: help and version, usage errors,
an unreadable scenario, and a failing scenario line reported on standard
error while the log keeps its record. Writes a JUnit report."""
import json
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli_table import Runner, expect, options  # noqa: E402

opts = options("--version")
tool = Runner(opts)
work = tempfile.mkdtemp(prefix="host-cli-")
usage = "Usage: tavrel-host [OPTIONS] SCENARIO"
missing = tool.path(os.path.join(work, "missing.scenario"))

help_rows = [(["--help"], 0, usage, ""), (["-h"], 0, usage, ""), (["x.scenario", "--help"], 0, usage, "")]
if tool.windows:
    help_rows.append((["/?"], 0, usage, ""))
tool.table("ArgumentsAndExitCodes", help_rows + [
    (["--version"], 0, f"tavrel-host {opts.version}\n".encode(), ""),
    ([], 2, b"", "tavrel-host: no scenario given (see tavrel-host --help)"),
    (["--bogus", "x.scenario"], 2, b"", "unknown option --bogus"),
    (["-x"], 2, b"", "unknown option -x"),
    (["--log"], 2, b"", "--log needs a value"),
    (["a.scenario", "b.scenario"], 2, b"", "one scenario only"),
    (["--state-dir", tool.path(os.path.join(work, "state0")), missing], 2, b"",
     f"cannot read the scenario {missing}: file not found"),
    (["--state-dir", tool.path(os.path.join(work, "state1")), tool.path(work)], 2, b"",
     f"cannot read the scenario {tool.path(work)}: is a folder"),
])


@tool.case("FailingLineOnStandardErrorAndInTheLog")
def _():
    scenario = os.path.join(work, "broken.scenario")
    with open(scenario, "w") as f:
        f.write("# a line that fails\nfrobnicate now\nattach\nevent\n")
    log = os.path.join(work, "log.jsonl")
    name = tool.path(scenario)
    r = tool.run("--state-dir", tool.path(os.path.join(work, "state")), "--log", tool.path(log), name)
    expect(r.returncode == 1, f"exit {r.returncode}: {r.stderr!r}")
    lines = [line for line in r.stderr.decode("utf-8", "replace").splitlines() if line.startswith(name + ":")]
    expect([line[len(name) + 1:].split(":")[0] for line in lines] == ["2", "4"], f"stderr lines {lines}")
    with open(log, encoding="utf-8") as f:
        errors = [json.loads(line) for line in f if '"scenario-error"' in line]
    expect([e["line"] for e in errors] == [2, 4], f"logged {errors}")
    for record, line in zip(errors, lines):
        expect(line.endswith(": " + record["message"]), f"{line!r} does not end with the logged message")


shutil.rmtree(work, ignore_errors=True)
sys.exit(tool.finish("HostCli"))
