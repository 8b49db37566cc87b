#!/usr/bin/env python3
"""Prints the table of scripts/bench from Google Benchmark's JSON results."""
import json
import sys


def load(paths):
    results = {}
    for path in paths:
        with open(path) as f:
            for b in json.load(f)["benchmarks"]:
                if b.get("error_occurred"):
                    print(f"error: {b['name']}: {b.get('error_message')}")
                    continue
                # Of repeated benchmarks the median stands for the run.
                if b.get("run_type") == "aggregate":
                    if b.get("aggregate_name") == "median":
                        results[b["run_name"]] = b
                    continue
                results.setdefault(b.get("run_name", b["name"]), b)
    return results


SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def seconds(b):
    return b["cpu_time"] * SECONDS[b["time_unit"]]


def parse_table(r):
    readers = ["ours_text", "ours_loadfile_auto", "ours_loadfile_ansi", "ours_loadfile_utf16",
               "pugixml_utf8_inplace", "pugixml_utf16", "pugixml_load_file", "tinyxml2", "expat", "libxml2"]
    print("Parse of the generated profile documents (MB/s of the UTF-8 size; ratios to pugixml UTF-8 in place"
          " and tinyxml2 of the same size)")
    print(f"{'reader':28}{'size':>6}{'MB/s':>10}{'x pugixml':>11}{'x tinyxml2':>12}{'peak MB':>10}")
    for size in (1, 10):
        pugi = r.get(f"Parse/pugixml_utf8_inplace/{size}")
        tiny = r.get(f"Parse/tinyxml2/{size}")
        for reader in readers:
            b = r.get(f"Parse/{reader}/{size}")
            if b is None:
                continue
            rate = b["bytes_per_second"] / 1e6
            x_pugi = rate / (pugi["bytes_per_second"] / 1e6) if pugi else float("nan")
            x_tiny = rate / (tiny["bytes_per_second"] / 1e6) if tiny else float("nan")
            peak = f"{b['peak_mb']:.1f}" if b.get("peak_mb") else ""
            print(f"{reader:28}{size:>5}M{rate:>10.0f}{x_pugi:>11.2f}{x_tiny:>12.2f}{peak:>10}")
    load_file = r.get("Parse/pugixml_load_file/10")
    auto = r.get("Parse/ours_loadfile_auto/10")
    if load_file and auto:
        print(f"LoadFile Auto / pugixml load_file (10 MB): "
              f"{auto['bytes_per_second'] / load_file['bytes_per_second']:.2f}")
    print()
    print("Reading every key's name and value from the parsed tree (MB/s)")
    for size in (1, 10):
        ours, pugi = r.get(f"Extract/ours/{size}"), r.get(f"Extract/pugixml/{size}")
        if ours and pugi:
            print(f"  {size:>2} MB: ours {ours['bytes_per_second'] / 1e6:.0f}, pugixml "
                  f"{pugi['bytes_per_second'] / 1e6:.0f} ({ours['bytes_per_second'] / pugi['bytes_per_second']:.2f}x)")
    print()


def profile_table(r):
    print("Profile store: time per entry (sections of three keys, or keys in one section); ratio to the smallest size")
    print(f"{'operation':12}{'shape':>22}{'per entry':>14}{'x smallest':>12}")
    for op in ("Load", "Save", "Lookup"):
        for one_section, sizes, what in ((0, (2000, 20000, 200000), "sections"), (1, (10, 1000, 100000), "keys")):
            base = None
            for n in sizes:
                b = r.get(f"Profile/{op}/entries:{n}/one_section:{one_section}")
                if b is None:
                    continue
                cost = seconds(b) if op == "Lookup" else b["per_entry"]
                base = base or cost
                print(f"{op:12}{f'{n} {what}':>22}{cost * 1e6:>11.3f} us{cost / base:>12.2f}")
    print()


def load_table(r):
    print("Whole profile Load (read, parse, build, free) beside pugixml load_file of the same UTF-16 file:"
          " medians of interleaved repetitions, processor time")
    print(f"{'shape':>16}{'ours/entry':>13}{'pugixml':>11}{'speed x':>9}{'peak MB':>9}{'pugixml':>9}{'x':>6}")
    for one_section, sizes, what in ((0, (2000, 20000, 200000), "sections"), (1, (10, 1000, 100000), "keys")):
        for n in sizes:
            ours = r.get(f"Profile/Load/entries:{n}/one_section:{one_section}")
            pugi = r.get(f"Profile/PugixmlLoadFile/entries:{n}/one_section:{one_section}")
            if ours is None or pugi is None:
                continue
            po, pp = ours["peak_bytes"] / 1e6, pugi["peak_bytes"] / 1e6
            print(f"{f'{n} {what}':>16}{ours['per_entry'] * 1e6:>10.3f} us{pugi['per_entry'] * 1e6:>8.3f} us"
                  f"{pugi['per_entry'] / ours['per_entry']:>9.2f}{po:>9.2f}{pp:>9.2f}{po / pp:>6.2f}")
    print()


def session_table(r):
    print("Plug-in in-process")
    act = r.get("Session/Activation/extra_keys:0")
    big = r.get("Session/Activation/extra_keys:1000000/iterations:1")
    send, export, start = r.get("Session/Send"), r.get("Session/HostExport"), r.get("Session/ProcessStart")
    until = r.get("Session/SendUntilStart/iterations:100/manual_time")
    if act:
        print(f"  activation (load, activate, deactivate, unload): {seconds(act) * 1e6:.0f} us")
    if big:
        print(f"  activation with a settings file of 1,000,000 keys: {seconds(big) * 1e3:.0f} ms")
    if send and export and start and until:
        until_start = until["real_time"] * SECONDS[until["time_unit"]]
        own = until_start - seconds(export)
        print(f"  send command: {seconds(send) * 1e6:.0f} us in all; up to the process start"
              f" {until_start * 1e6:.0f} us, of which the host's export {seconds(export) * 1e6:.0f} us;"
              f" its own work {own * 1e6:.0f} us (a process start alone: {seconds(start) * 1e6:.0f} us)")


def main():
    r = load(sys.argv[1:])
    parse_table(r)
    profile_table(r)
    load_table(r)
    session_table(r)


if __name__ == "__main__":
    main()
