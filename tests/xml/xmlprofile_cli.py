#!/usr/bin/env python3
"""Runs the built xmlprofile program as a process: UTF-8 arguments and output,
exit codes, the argument handling people expect, and the bytes of the files
it writes. Under Wine the program runs through the emulator and paths are
spelt Z:\\... Writes a JUnit report."""
import contextlib
import ctypes
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from cli_table import Runner, expect, options  # noqa: E402

opts = options("--golden", "--version", "--holder")
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


@case("OversizedFilesAreRefusedWithExitTwo")
def _():
    # Sparse: the sizes cost no disk. Each command says why in one line and
    # leaves the file as it was; none ends by an escaped failure.
    big = os.path.join(work, "big.xml")
    for size in ((4 << 30) - 100, 3 << 30, (128 << 20) + 1):
        with open(big, "wb") as f:
            f.truncate(size)
        for args in (["dump", path_for_tool(big)], ["tree", path_for_tool(big)],
                     ["get", path_for_tool(big), "General", "EmbAppType"],
                     ["set", path_for_tool(big), "General", "EmbAppType", "1"]):
            r = run(*args)
            expect(r.returncode == 2, f"{size} {args[0]}: exit {r.returncode} {r.stderr!r}")
            expect(r.stderr.endswith(b"the file is too large\n") and r.stderr.count(b"\n") == 1,
                   f"{size} {args[0]}: stderr {r.stderr!r}")
        expect(os.path.getsize(big) == size, f"{size}: the file was changed")
    r = run("--help")
    expect(b"128 MiB" in r.stdout, "the help states the limit")


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


class Held:
    """The file held open without sharing by another process (hold-file,
    under Wine in the same prefix, so the sharing modes apply)."""

    def __init__(self, path):
        self.flag = path + ".held"
        cmd = ([opts.emulator] if tool.windows else []) + [opts.holder, path_for_tool(path),
                                                          path_for_tool(self.flag)]
        self.process = subprocess.Popen(cmd, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, env=tool.env)

    def __enter__(self):
        deadline = time.monotonic() + 60
        while not os.path.exists(self.flag):
            expect(self.process.poll() is None, f"hold-file ended with {self.process.returncode}")
            expect(time.monotonic() < deadline, "hold-file did not hold the file")
            time.sleep(0.05)
        return self

    def __exit__(self, *exc):
        os.remove(self.flag)
        self.process.wait(timeout=60)


repeated = ("<profile>\r\n\t<section name=\"General\"><key name=\"EmbAppType\" value=\"1\"/></section>\r\n"
            "\t<section name=\"Other\"><key name=\"k\" value=\"v\"/></section>\r\n"
            "\t<section name=\"general\"><key name=\"ExportType\" value=\"0\"/></section>\r\n</profile>\r\n")
half = ("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<profile>\r\n\t<section name=\"General\">\r\n"
        "\t\t<key name=\"EmbAppType\" value=\"1\"/>\r\n\t\t<key name=\"Expo")
held_path = os.path.join(work, "held.xml")
with open(held_path, "wb") as f:
    f.write(b'<profile><section name="S"><key name="k" value="v"/></section></profile>')


def reason_rows():
    """Each file that cannot be used as it is: the exit code and the whole
    standard error, one line with the reason and, where one applies, the
    place (FILE:LINE:COLUMN)."""
    rep = write("repeated.xml", repeated.encode())
    cut = write("half.xml", b"\xff\xfe" + half.encode("utf-16-le"))
    folder = path_for_tool(work)
    held = path_for_tool(held_path)
    ro_full = os.path.join(work, "readonly.xml")
    with open(ro_full, "wb") as f:
        f.write(b'<profile><section name="S"><key name="k" value="v"/></section></profile>')
    os.chmod(ro_full, 0o444)
    ro = path_for_tool(ro_full)
    stop = f"xmlprofile: {rep}:4:2: section \"general\" repeated; reading stopped here"
    cut_note = f"xmlprofile: {cut}:5:18: the file ends before its profile is closed; it may have been cut short"
    return [
        (["dump", missing], 2, b"", f'xmlprofile: cannot read "{missing}": file not found\n'),
        (["get", missing, "S", "k"], 2, b"", f'xmlprofile: cannot read "{missing}": file not found\n'),
        (["unset", missing, "S"], 2, b"", f'xmlprofile: cannot read "{missing}": file not found\n'),
        (["tree", folder], 2, b"", f'xmlprofile: cannot read "{folder}": is a folder\n'),
        (["set", ro, "S", "k", "w"], 2, b"", f'xmlprofile: cannot write "{ro}": read-only\n'),
        (["dump", held], 2, b"", f'xmlprofile: cannot read "{held}": in use by another program\n'),
        (["get", held, "S", "k"], 2, b"", f'xmlprofile: cannot read "{held}": in use by another program\n'),
        (["get", rep, "General", "EmbAppType"], 3, b"1\n", stop + "\n"),
        (["get", rep, "Other", "k"], 3, b"v\n", stop + "\n"),
        (["get", rep, "General", "ExportType"], 3, b"", stop + "\n"),
        (["tree", rep], 3, "{", stop + "\n"),
        (["dump", rep], 3, "{", stop + "\n"),
        (["set", rep, "General", "EmbAppType", "2"], 2, b"", stop + "; left unchanged\n"),
        (["unset", rep, "Other"], 2, b"", stop + "; left unchanged\n"),
        (["get", cut, "General", "EmbAppType"], 0, b"1\n", cut_note + "\n"),
        (["dump", cut], 0, "{", cut_note + "\n"),
    ]


@case("EachFileThatCannotBeUsedSaysWhyAndWhere")
def _():
    with Held(held_path):
        failures = []
        for args, code, out, err in reason_rows():
            r = run(*args)
            shown = " ".join(args)
            print(f"$ xmlprofile {shown}\n{r.stderr.decode('utf-8', 'replace')}(exit {r.returncode})")
            if r.returncode != code:
                failures.append(f"{shown}: exit {r.returncode}, expected {code}")
            if (r.stdout != out) if isinstance(out, bytes) else not r.stdout.startswith(out.encode()):
                failures.append(f"{shown}: stdout {r.stdout[:200]!r}")
            if r.stderr != err.encode():
                failures.append(f"{shown}: stderr {r.stderr!r}, expected {err!r}")
        expect(not failures, "\n".join(failures))
    with open(os.path.join(work, "repeated.xml"), "rb") as f:
        expect(f.read() == repeated.encode(), "the file whose reading stopped was changed")


def opens(path, *args):
    """How many times any process opened the file while the tool ran (inotify on
    it, so under Wine the server's opening counts; the closes are watched too,
    as two like events in a row are merged into one)."""
    libc = ctypes.CDLL(None)
    fd = libc.inotify_init1(os.O_NONBLOCK)
    expect(fd >= 0 and libc.inotify_add_watch(fd, path.encode(), 0x38) >= 0, "inotify refused")
    run(*args)
    events = b""
    with contextlib.suppress(BlockingIOError):
        while chunk := os.read(fd, 65536):
            events += chunk
    os.close(fd)
    # A watched file's events carry no name: 16 bytes each.
    return sum(1 for at in range(0, len(events), 16) if struct.unpack_from("iIII", events, at)[1] & 0x20)


@case("ReadingCommandsOpenTheFileOnce")
def _():
    # What a command prints, and its exit code, come from one read of one file.
    for full in (os.path.join(work, "plain.xml"), os.path.join(work, "repeated.xml")):
        for args in (["dump"], ["tree"], ["get", "S", "k"], ["unset", "S", "absent"]):
            opened = opens(full, args[0], path_for_tool(full), *args[1:])
            expect(opened == 1, f"{args[0]} {full}: opened {opened} times")


@case("SetRewritesAHalfWrittenFileWhole")
def _():
    cut = write("half2.xml", b"\xff\xfe" + half.encode("utf-16-le"))
    r = run("set", cut, "General", "ExportType", "0")
    expect(r.returncode == 0, f"exit {r.returncode} {r.stderr!r}")
    expect(b"it may have been cut short" in r.stderr, f"stderr {r.stderr!r}")
    r = run("get", cut, "General", "ExportType")
    expect(r.returncode == 0 and r.stdout == b"0\n" and r.stderr == b"", f"{r.returncode} {r.stdout!r} {r.stderr!r}")


@case("SetThroughALinkKeepsTheLinkAndWritesTheFileItNames")
def _():
    # A settings file that is a link into another folder (a synced one):
    # set replaces the file the link names, in that folder; the link stays.
    synced = os.path.join(work, "synced")
    os.makedirs(synced)
    with open(os.path.join(synced, "linked.xml"), "wb") as f:
        f.write(b'<profile><section name="S"><key name="k" value="v"/></section></profile>')
    link = os.path.join(work, "linked.xml")
    os.symlink(os.path.join(synced, "linked.xml"), link)
    r = run("set", path_for_tool(link), "S", "k", "w")
    expect(r.returncode == 0 and r.stderr == b"", f"set: {r.returncode} {r.stderr!r}")
    expect(os.path.islink(link), "the link became a plain file")
    expect(os.listdir(synced) == ["linked.xml"], f"beside the file: {os.listdir(synced)}")
    r = run("get", path_for_tool(os.path.join(synced, "linked.xml")), "S", "k")
    expect(r.returncode == 0 and r.stdout == b"w\n", f"the file the link names: {r.returncode} {r.stdout!r}")


if not tool.windows:
    # Natively a name of 250 bytes leaves no room for the temporary name
    # beside it (the file system's limit is 255), so set writes in place.
    @case("SetSaysWhenItWroteInPlace")
    def _():
        long_name = os.path.join(work, "n" * 250)
        r = run("set", long_name, "General", "EmbAppType", "1")
        expect(r.returncode == 0, f"exit {r.returncode} {r.stderr!r}")
        expected = f"xmlprofile: {long_name}: written in place: no temporary file could be made in its folder\n"
        print(f"$ xmlprofile set {long_name} General EmbAppType 1\n{r.stderr.decode()}(exit {r.returncode})")
        expect(r.stderr == expected.encode(), f"stderr {r.stderr!r}")
        expect(run("get", long_name, "General", "EmbAppType").stdout == b"1\n", "the value was not written")


shutil.rmtree(work, ignore_errors=True)
sys.exit(tool.finish("XmlProfileCli"))
