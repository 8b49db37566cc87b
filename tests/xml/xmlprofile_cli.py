#!/usr/bin/env python3
"""Runs the built xmlprofile program as a process: UTF-8 arguments and output,
exit codes, and the bytes of the files it writes. Under Wine the program runs
through the emulator and paths are spelt Z:\\... Writes a JUnit report."""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

parser = argparse.ArgumentParser()
parser.add_argument("--tool", required=True)
parser.add_argument("--emulator", default="")
parser.add_argument("--golden", required=True)
parser.add_argument("--junit", required=True)
opts = parser.parse_args()

env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8")
results = []


def path_for_tool(p):
    return "Z:" + p.replace("/", "\\") if opts.emulator else p


def run(*args):
    cmd = ([opts.emulator] if opts.emulator else []) + [opts.tool] + list(args)
    return subprocess.run(cmd, capture_output=True, env=env, timeout=120)


def case(name):
    def wrap(fn):
        try:
            fn()
            results.append((name, None))
        except AssertionError as e:
            results.append((name, str(e) or "assertion failed"))
        return fn
    return wrap


def expect(cond, message):
    if not cond:
        raise AssertionError(message)


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
        f.write("<a>" * 200000)
    r = run("tree", path_for_tool(deep), "--mode", "ansi")
    expect(r.returncode == 0, f"tree: exit {r.returncode} {r.stderr[:200]!r}")
    doc = json.loads(r.stdout)
    expect(doc["result"] == 1 and doc["root"]["name"] == "a", "tree root")


shutil.rmtree(work, ignore_errors=True)
suite = ET.Element("testsuites", tests=str(len(results)), failures=str(sum(1 for _, e in results if e)))
ts = ET.SubElement(suite, "testsuite", name="XmlProfileCli", tests=str(len(results)))
for name, error in results:
    tc = ET.SubElement(ts, "testcase", name=name, classname="XmlProfileCli")
    if error:
        ET.SubElement(tc, "failure", message=error)
        print(f"FAILED {name}: {error}")
    else:
        print(f"ok {name}")
ET.ElementTree(suite).write(opts.junit, encoding="utf-8", xml_declaration=True)
sys.exit(1 if any(e for _, e in results) else 0)
