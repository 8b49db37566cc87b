#!/usr/bin/env python3
"""Runs the built embroidery stand-in's --install and --uninstall commands as
the scripts do: usage errors, the layout of each application (its folder
named after it, an Images folder, the stand-in under its file name), the
registry value (natively a .reg file, on Windows the prefix's registry), a
second install of the same application, and the removal. Writes a JUnit
report."""
import json
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli_table import Runner, expect, options  # noqa: E402

tool = Runner(options())
work = tempfile.mkdtemp(prefix="install-cli-")
reg = os.path.join(work, "registry.reg")
registry = [] if tool.windows else ["--registry", reg]
apps = {row["index"]: row for row in json.loads(tool.run("--list-applications").stdout)}
root = os.path.join(work, "Program Files")

tool.table("UsageErrors", [
    (["--install"] + registry, 2, b"", "no installation folder given"),
    (["--install"] + registry + [tool.path(root)], 2, b"", "no application given"),
    (["--install"] + registry + [tool.path(root), "0"], 2, b"", "no embroidery application 0"),
    (["--install"] + registry + [tool.path(root), str(len(apps) + 1)], 2, b"", "no embroidery application"),
    (["--install"] + registry + [tool.path(root), "x"], 2, b"", "no embroidery application x"),
    (["--uninstall"] + registry, 2, b"", "no application given"),
    (["--install", "--registry"], 2, b"", "--registry needs a file"),
    # the Windows build registers in the registry, the native one in a file
    (["--install", tool.path(root), "1"] if not tool.windows else
     ["--install", "--registry", tool.path(reg), tool.path(root), "1"], 2, b"", "this build registers in"),
])


def app_path(index):
    """AppPath of the application's key, or None."""
    key = "HKEY_CURRENT_USER\\" + apps[index]["registryKey"]
    if tool.windows:
        r = subprocess.run([tool.opts.emulator, "reg", "query", key, "/v", "AppPath"], capture_output=True,
                           env=tool.env, timeout=120)
        for line in r.stdout.decode("utf-8", "replace").splitlines():
            if "AppPath" in line and "REG_SZ" in line:
                return line.split("REG_SZ", 1)[1].strip()
        return None
    if not os.path.exists(reg):
        return None
    with open(reg, encoding="utf-8", newline="") as f:
        sections = f.read().split("\r\n\r\n")
    found = [s for s in sections if s.startswith("[" + key + "]\r\n")]
    expect(len(found) <= 1, f"{len(found)} sections of {key}")
    if not found:
        return None
    value = found[0].split('"AppPath"="', 1)[1].rsplit('"', 1)[0]
    return value.replace('\\"', '"').replace("\\\\", "\\")


@tool.case("InstallsEachApplicationAndRegistersIt")
def _():
    r = tool.run("--install", *registry, tool.path(root), "2", "4")
    expect(r.returncode == 0, f"exit {r.returncode}: {r.stderr!r}")
    lines = [line.rstrip("\r") for line in r.stdout.decode("utf-8").splitlines()]
    expect(lines == [tool.path(os.path.join(root, apps[i]["displayName"])) for i in (2, 4)], f"printed {lines}")
    with open(tool.opts.tool, "rb") as f:
        program = f.read()
    for index in (2, 4):
        folder = os.path.join(root, apps[index]["displayName"])
        expect(os.path.isdir(os.path.join(folder, "Images")), f"no Images in {folder}")
        with open(os.path.join(folder, apps[index]["executable"]), "rb") as f:
            expect(f.read() == program, f"{apps[index]['executable']} is not the stand-in")
        expect(app_path(index) == tool.path(folder), f"AppPath of {index}: {app_path(index)!r}")
    expect(app_path(1) is None, "application 1 registered too")


@tool.case("AgainReplacesTheValueThenUninstallRemovesTheKeys")
def _():
    other = os.path.join(work, "Other Apps")
    r = tool.run("--install", *registry, tool.path(other), "2")
    expect(r.returncode == 0, f"exit {r.returncode}: {r.stderr!r}")
    expect(app_path(2) == tool.path(os.path.join(other, apps[2]["displayName"])), f"AppPath {app_path(2)!r}")
    expect(app_path(4) == tool.path(os.path.join(root, apps[4]["displayName"])), f"AppPath of 4 {app_path(4)!r}")
    r = tool.run("--uninstall", *registry, "2", "4")
    expect(r.returncode == 0, f"exit {r.returncode}: {r.stderr!r}")
    expect(app_path(2) is None and app_path(4) is None, "a key stayed")
    expect(os.path.isdir(os.path.join(root, apps[4]["displayName"], "Images")), "uninstall removed files")
    r = tool.run("--uninstall", *registry, "all")
    expect(r.returncode == 0, f"uninstalling what is not there: exit {r.returncode}: {r.stderr!r}")


shutil.rmtree(work, ignore_errors=True)
sys.exit(tool.finish("EmbroideryInstall"))
