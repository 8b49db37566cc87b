#!/usr/bin/env python3
"""Runs the built xmlprofile program as a process: UTF-8 arguments and output,
exit codes, the argument handling people expect, and the bytes of the files
it writes. Under Wine the program runs through the emulator and paths are
spelt Z:\\... Writes a JUnit report."""
import json
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli_table import Runner, expect, options  # noqa: E402

opts = options("--golden", "--version")
tool = Runner(opts, display=False)
path_for_tool = tool.path
run = tool.run
case = tool.case

work = tempfile.mkdtemp(prefix="xmlprofile-cli-")
settings = os.path.join(work, "TavrelSettings.xml")


@case("SetWritesTheSettingsFileExactly")
def _():
    for key, value in [("EmbAppType", "1"), ("ExportType", "0"), ("OptimiseCurves", "1")]:
        r = run("set", path_for_tool(settings), "General", key, value)
        expect(r.returncode == 0, f"set {key}: {r.returncode} {r.stderr!r}")
    with open(settings, "rb") as f, open(os.path.join(opts.golden, "settings-auto.xml"), "rb") as g:
        expect(f.read() == g.read(), "file differs from golden settings-auto.xml")


@case("NonAsciiArgumentsAndUtf8Output")
def _():
    r = run("set", path_for_tool(settings), "Grüße", "Ключ", "5 € & <mehr>")
    expect(r.returncode == 0, f"set: {r.returncode} {r.stderr!r}")
    r = run("get", path_for_tool(settings), "grüße", "Ключ")
    expect(r.returncode == 0 and r.stdout == "5 € & <mehr>\n".encode(), f"get: {r.returncode} {r.stdout!r}")
    r = run("dump", path_for_tool(settings))
    doc = json.loads(r.stdout.decode("utf-8"))
    expect(doc["result"] == 1, f"dump result {doc['result']}")
    names = [s["name"] for s in doc["sections"]]
    expect(names == ["General", "Grüße"], f"sections {names}")
    expect(doc["sections"][1]["keys"] == [{"name": "Ключ", "value": "5 € & <mehr>", "readonly": False}],
           f"keys {doc['sections'][1]['keys']}")


@case("ExitCodes")
def _():
    r = run("get", path_for_tool(settings), "General", "Missing")
    expect(r.returncode == 1 and r.stdout == b"", f"absent key: {r.returncode} {r.stdout!r}")
    for args in (["frobnicate"], ["dump", path_for_tool(os.path.join(work, "missing.xml"))],
                 ["dump", path_for_tool(settings), "--mode", "ebcdic"]):
        r = run(*args)
        expect(r.returncode == 2, f"{args}: exit {r.returncode}")
        expect(r.stderr.count(b"\n") == 1 and r.stderr.endswith(b"\n"), f"{args}: stderr {r.stderr!r}")
    ro = os.path.join(work, "ro.xml")
    with open(ro, "w") as f:
        f.write('<profile><section name="s" readonly="1"><key name="k" value="v"/></section></profile>')
    r = run("set", path_for_tool(ro), "s", "k", "w")
    expect(r.returncode == 1, f"read-only set: exit {r.returncode}")


@case("DeepTreeDoesNotCrash")
def _():
    deep = os.path.join(work, "deep.xml")
    with open(deep, "w") as f:
        f.write("<profile>" + "<a>" * 200000)
    r = run("tree", path_for_tool(deep), "--mode", "ansi")
    expect(r.returncode == 0, f"tree: exit {r.returncode} {r.stderr[:200]!r}")
    doc = json.loads(r.stdout)
    expect(doc["result"] == 1 and doc["root"]["name"] == "profile", "tree root")


def write(name, data):
    full = os.path.join(work, name)
    with open(full, "wb") as f:
        f.write(data)
    return path_for_tool(full)


notes = write("notes.txt", b"just some notes\n")
wide = write("wide.xml", "\ufeff<profile><section name=\"s\"><key name=\"k\" value=\"v\"/></section></profile>"
             .encode("utf-16-le"))
dashed = write("dashed.xml", b'<profile><section name="--"><key name="-k" value="-1"/></section></profile>')
plain = write("plain.xml", b'<profile><section name="S"><key name="k" value="v"/></section></profile>')
missing = path_for_tool(os.path.join(work, "missing.xml"))
usage = "Usage: xmlprofile [OPTIONS] COMMAND FILE"
help_rows = [(["--help"], 0, usage, ""), (["-h"], 0, usage, ""), (["help"], 0, usage, "")]
if tool.windows:
    help_rows.append((["/?"], 0, usage, ""))
tool.table("ArgumentsAndExitCodes", help_rows + [
    (["--version"], 0, f"xmlprofile {opts.version}\n".encode(), ""),
    (["get", plain, "S", "k", "--mode=ansi"], 0, b"v\n", ""),
    (["get", plain, "S", "k", "--mode", "ansi"], 0, b"v\n", ""),
    (["--", "get", dashed, "--", "-k"], 0, b"-1\n", ""),
    (["get", dashed, "--", "-k"], 2, b"", "get takes FILE SECTION KEY"),
    (["unset", plain, "General", "Nope"], 1, b"", ""),
    (["unset", plain, "Nope"], 1, b"", ""),
    (["get", plain, "S", "nope"], 1, b"", ""),
    (["dump", notes], 2, b"", "is not a profile file in mode auto"),
    (["set", notes, "S", "k", "v"], 2, b"", "is not a profile file in mode auto; left unchanged"),
    (["tree", wide, "--mode", "ansi"], 2, b"", "is not a profile file in mode ansi"),
    (["tree", wide], 0, "{", ""),
    (["dump", missing], 2, b"", f'cannot read "{missing}": file not found'),
    (["tree", path_for_tool(work)], 2, b"", f'cannot read "{path_for_tool(work)}": is a folder'),
    (["--bogus"], 2, b"", "unknown option --bogus (see xmlprofile --help)"),
    (["--mode=ebcdic", "dump", plain], 2, b"", "--mode must be auto, ansi or utf16"),
    ([], 2, b"", "no command given"),
])


@case("UnsetOfNothingLeavesTheFile")
def _():
    before = open(os.path.join(work, "plain.xml"), "rb").read()
    r = run("unset", plain, "S", "absent")
    expect(r.returncode == 1, f"exit {r.returncode}")
    expect(open(os.path.join(work, "plain.xml"), "rb").read() == before, "the file changed")


shutil.rmtree(work, ignore_errors=True)
sys.exit(tool.finish("XmlProfileCli"))
