#!/usr/bin/env python3
"""Fault campaigns over one full session of the plug-in in tavrel-host.

  host   every host call of the session fails in every way that fits it
         (a failing HRESULT with error information, success with a null
         object or 0, an empty string, a string of 32,767 units, a string
         with a NUL inside, a window handle of no window), once at that call
         and from that call on
  alloc  the k-th allocation the plug-in makes while its entry points run
         fails (operator new throws, malloc answers null), for every k, once
         and from then on (tavrel-host-alloc, native builds only)

The calls and allocations are enumerated from a clean run of the same
session, never listed by hand. Each case runs in a process of its own with
fresh folders, and is checked: no crash, no sanitizer report, no exception
escaped into the host, every entry point answering S_OK, no host object or
subscription left and the plug-in's last release at 0, at most one
"Tavrel Error" box per entry point (none while the state is computed), at
most one started program, and the settings file the old one or the new one,
whole. The last line counts sessions, injected faults and outcomes.

  campaign.py host|alloc --host PROGRAM --standin PROGRAM --work DIR
              [--emulator PROGRAM] [--sample N] [--offset I] [--only TEXT] [--junit FILE]
--sample N runs every N-th case (from the I-th), a fair deterministic subset.
Exit status 0 when every case passed, 1 otherwise, 2 when the clean session
itself did not run.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
from xml.sax.saxutils import escape

HERE = os.path.dirname(os.path.abspath(__file__))
FLOWER = os.path.join(HERE, "..", "samples", "flower.svg")
ERROR_CAPTION = "Tavrel Error"
SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "ERROR: UndefinedBehaviorSanitizer")
ENTRY_KINDS = ("notify", "event", "command-state", "attach")
DESCRIPTION = "Injected host failure"


class Runner:
    """Runs the build's programs (through the emulator for Windows builds)
    with the campaign's registry and folders."""

    def __init__(self, args):
        self.args = args
        self.windows = bool(args.emulator)
        self.work = os.path.abspath(args.work)
        self.registry = os.path.join(self.work, "registry.reg")
        self.apps = os.path.join(self.work, "Embroidery Apps")

    def spell(self, path):
        return "Z:" + path.replace("/", "\\") if self.windows else path

    def command(self, program, *arguments):
        return ([self.args.emulator] if self.windows else []) + [program, *arguments]

    def install(self):
        os.makedirs(self.work, exist_ok=True)
        with open(self.registry, "w", newline="") as f:
            f.write("Windows Registry Editor Version 5.00\r\n\r\n")
        registry = [] if self.windows else ["--registry", self.registry]
        self.uninstall()
        # A run in the same folder installs afresh.
        shutil.rmtree(self.apps, ignore_errors=True)
        subprocess.run(self.command(self.args.standin, "--install", *registry, self.spell(self.apps), "2", "4"),
                       check=True, stdout=subprocess.DEVNULL)

    def uninstall(self):
        if self.windows:
            subprocess.run(self.command(self.args.standin, "--uninstall", "all"), stdout=subprocess.DEVNULL)

    def session(self, name, scenario_lines, settings=None, environment=None, program=None, timeout=300):
        """Runs a scenario in fresh folders; returns (status, log records,
        stderr, settings bytes or None)."""
        case = os.path.join(self.work, "cases", name)
        shutil.rmtree(case, ignore_errors=True)
        os.makedirs(os.path.join(case, "state", "settings"))
        shutil.copy(FLOWER, os.path.join(case, "flower.svg"))
        settings_file = os.path.join(case, "state", "settings", "TavrelSettings.xml")
        if settings is not None:
            with open(settings_file, "wb") as f:
                f.write(settings)
        scenario = os.path.join(case, "case.scenario")
        with open(scenario, "w", encoding="utf-8") as f:
            f.write("\n".join(scenario_lines) + "\n")
        log = os.path.join(case, "log.jsonl")
        arguments = ["--state-dir", os.path.join(case, "state"), "--log", log]
        if not self.windows:
            arguments += ["--registry", self.registry]
        env = dict(os.environ, TAVREL_EMBROIDERY_RECEIPT=self.spell(os.path.join(case, "receipt.json")))
        env.update(environment or {})
        try:
            done = subprocess.run(self.command(program or self.args.host, *arguments, scenario), env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=timeout)
            status, stderr = done.returncode, done.stderr.decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            status, stderr = "timeout", ""
        with open(os.path.join(case, "stderr.txt"), "w", encoding="utf-8") as f:
            f.write(stderr)
        records = []
        if os.path.exists(log):
            with open(log, encoding="utf-8") as f:
                records = [json.loads(line) for line in f if line.strip()]
        saved = open(settings_file, "rb").read() if os.path.exists(settings_file) else None
        return status, records, stderr, saved


def read_scenario(name):
    with open(os.path.join(HERE, name), encoding="utf-8") as f:
        return [line.rstrip("\n") for line in f if line.strip() and not line.startswith("#")]


def ways_of(record):
    """The ways a host call can misbehave, given what it answered cleanly."""
    result = record.get("result")
    ways = ["0x80004005 " + DESCRIPTION]
    if result is not None:
        ways.append("null")
    if record["op"] == "Window.Handle":
        ways.append("bad-handle")
    elif isinstance(result, str) and not result.startswith("IHost"):
        ways += ["empty-string", "long-string", "nul-string"]
    return ways


def host_cases(clean):
    counts = {}
    cases = []
    for record in clean:
        if record.get("kind") != "call":
            continue
        op = record["op"]
        counts[op] = counts.get(op, 0) + 1
        for way in ways_of(record):
            for once in (True, False):
                line = f"fail {op} {counts[op]} {'once ' if once else ''}{way}"
                cases.append((f"{op}#{counts[op]} {way.split()[0]} {'once' if once else 'from'}", [line]))
    return cases


def alloc_cases(count):
    return [(f"alloc#{k} {mode}", {"TAVREL_FAIL_ALLOCATION": f"{k}{'+' if mode == 'from' else ''}"})
            for k in range(1, count + 1) for mode in ("once", "from")]


def whole(settings):
    """Whether the bytes are a settings file written whole: the UTF-16 text
    from the declaration to the closing tag, with the three keys."""
    if not settings or not settings.startswith(b"\xff\xfe"):
        return False
    try:
        text = settings[2:].decode("utf-16-le")
    except UnicodeDecodeError:
        return False
    return (text.startswith("<?xml") and text.endswith("</profile>\r\n")
            and all(f'name="{key}"' in text for key in ("EmbAppType", "ExportType", "OptimiseCurves")))


def check(status, records, stderr, saved, old, new):
    """The faults of one case's run (empty when it passed), and its outcome."""
    faults = []
    if status == "timeout":
        faults.append("crash: the host did not end in 300 s")
    elif status not in (0, 1):
        faults.append(f"crash: tavrel-host ended with {status}")
    for mark in SANITIZER_MARKS:
        if mark in stderr:
            kind = "leak" if "LeakSanitizer" in mark else "sanitizer"
            faults.append(f"{kind}: " + stderr[stderr.index(mark):][:300])
            break
    boxes_in_entry = 0
    boxes = 0
    released = references = None
    attached = True
    for record in records:
        kind = record.get("kind")
        if kind == "attach" and not record.get("plugin"):
            # AttachPlugin gave no object (it could not make one): nothing
            # more of the session can run.
            attached = False
        if kind == "message-box" and record.get("caption") == ERROR_CAPTION:
            boxes_in_entry += 1
            boxes += 1
            if not record.get("text"):
                faults.append("an error box without text")
        elif kind == "scenario-error" and (attached or "holds no plug-in" not in record.get("message", "")):
            faults.append(f"escaped: line {record.get('line')}: {record.get('message')}")
        elif kind in ENTRY_KINDS:
            what = record.get("what") or record.get("id") or record.get("command") or kind
            if boxes_in_entry > 1:
                faults.append(f"{boxes_in_entry} error boxes in one entry point ({what})")
            if boxes_in_entry and kind == "event" and record.get("id") == 17:
                faults.append("an error box while the state was computed (event 17)")
            if kind in ("notify", "event", "command-state") and record.get("hr", "0x00000000") != "0x00000000":
                faults.append(f"entry point {what} answered {record['hr']}")
            if kind == "notify" and record.get("what") == "release":
                released = record.get("refs")
            boxes_in_entry = 0
        elif kind == "references":
            references = record
    if sum(1 for r in records if r.get("kind") == "process") > 1:
        faults.append("more than one program started for one click")
    # A subscription the host refused to end (its last UnadviseEvents failed;
    # the plug-in may ask again at unload) stays the host's own, with the
    # reference its sink holds.
    refused = {}
    for r in records:
        if r.get("kind") == "call" and r.get("op") == "Application.UnadviseEvents":
            refused[json.dumps(r.get("args"))] = r.get("hr") != "0x00000000"
    kept = sum(refused.values())
    if status in (0, 1) and attached:
        if references is not None and references.get("subscriptions") == kept and kept:
            references = dict(references, subscriptions=0)
            released = released - kept if released is not None else None
        if released != 0:
            faults.append(f"the host's last release answered {released}")
        if references is None or references.get("host-objects") or references.get("subscriptions"):
            faults.append(f"the host still holds: {references}")
    # After a failed activation the dialog may offer other choices than the
    # clean session's, and Apply saves those: a third file, but whole.
    if saved not in (old, new) and not (boxes and whole(saved)):
        faults.append("the settings file is neither the old nor the new one, whole" if saved else
                      "the settings file is gone")
    outcome = "shown" if boxes else ("saved" if saved == new else "contained" if attached else "refused")
    return faults, outcome


def write_junit(path, suite, results):
    with open(path, "w", encoding="utf-8") as f:
        failed = sum(1 for _, faults in results if faults)
        f.write(f'<?xml version="1.0" encoding="UTF-8"?>\n<testsuite name="{suite}" tests="{len(results)}" '
                f'failures="{failed}">\n')
        for name, faults in results:
            f.write(f'  <testcase classname="{suite}" name="{escape(name, {chr(34): "&quot;"})}">')
            if faults:
                f.write(f'<failure message="{escape(faults[0], {chr(34): "&quot;"})}">'
                        f'{escape(chr(10).join(faults))}</failure>')
            f.write("</testcase>\n")
        f.write("</testsuite>\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("campaign", choices=("host", "alloc"))
    parser.add_argument("--host", required=True, help="tavrel-host (tavrel-host-alloc for alloc)")
    parser.add_argument("--standin", required=True, help="the embroidery stand-in")
    parser.add_argument("--emulator", default="", help="runs the Windows programs (scripts/wine-run)")
    parser.add_argument("--work", required=True)
    parser.add_argument("--sample", type=int, default=1)
    parser.add_argument("--offset", type=int, default=0)
    parser.add_argument("--only", help="only the cases whose names hold this text (to run one again)")
    parser.add_argument("--junit")
    args = parser.parse_args()

    runner = Runner(args)
    runner.install()
    try:
        session = read_scenario("session.scenario")
        status, _, stderr, old = runner.session("seed", read_scenario("seed.scenario"))
        count_file = os.path.join(runner.work, "allocations.txt")
        clean_env = {"TAVREL_ALLOCATION_COUNT": count_file} if args.campaign == "alloc" else {}
        status, clean, stderr, new = runner.session("clean", session, old, clean_env)
        faults, _ = check(status, clean, stderr, new, old, new)
        if old is None or new is None or old == new or faults:
            print(f"campaign: the clean session did not run as it should ({status}): {faults}\n{stderr}",
                  file=sys.stderr)
            return 2
        if args.campaign == "host":
            cases = [(name, lines + session, {}) for name, lines in host_cases(clean)]
        else:
            count = int(open(count_file).read().split()[0])
            cases = [(name, session, env) for name, env in alloc_cases(count)]
        if args.only:
            cases = [case for case in cases if args.only in case[0]]
        selected = cases[args.offset::args.sample]
        shutil.rmtree(os.path.join(runner.work, "failed"), ignore_errors=True)
        results = []
        outcomes = {}
        for index, (name, lines, env) in enumerate(selected, 1):
            status, records, stderr, saved = runner.session("case", lines, old, env)
            faults, outcome = check(status, records, stderr, saved, old, new)
            outcomes[outcome] = outcomes.get(outcome, 0) + 1
            results.append((name, faults))
            if faults:
                print(f"FAIL {name}: " + "; ".join(faults), flush=True)
                shutil.copytree(os.path.join(runner.work, "cases", "case"),
                                os.path.join(runner.work, "failed", name.replace(" ", "_").replace("/", "_")),
                                dirs_exist_ok=True)
            elif index % 100 == 0:
                print(f"  {index} of {len(selected)} cases", flush=True)
        if args.junit:
            write_junit(args.junit, f"faults_{args.campaign}", results)
        kinds = {}
        for _, faults in results:
            for fault in faults:
                kind = fault.split(":")[0] if fault.split(":")[0] in ("crash", "leak", "sanitizer", "escaped") else "other"
                kinds[kind] = kinds.get(kind, 0) + 1
        failed = sum(1 for _, faults in results if faults)
        print(f"faults {args.campaign}: {len(selected) + 2} sessions, {len(selected)} injected faults"
              f" (of {len(cases)}), {len(selected) - failed} passed, {failed} failed; outcomes "
              + ", ".join(f"{outcomes.get(k, 0)} {k}" for k in ("shown", "contained", "saved", "refused"))
              + "; " + ", ".join(f"{kinds.get(k, 0)} {k}" for k in ("crash", "leak", "sanitizer", "escaped", "other")))
        return 1 if failed else 0
    finally:
        runner.uninstall()


if __name__ == "__main__":
    sys.exit(main())
