#!/usr/bin/env python3
"""Prints the table of scripts/bench from Google Benchmark's JSON results."""
import json
import sys


def load(paths):
    results = {}
    for path in paths:
        if path.endswith(".jsonl"):
            continue
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


LOAD_SHAPES = [("sections:2000", "Profile/{}/entries:2000/one_section:0", 2000),
               ("sections:20000", "Profile/{}/entries:20000/one_section:0", 20000),
               ("sections:200000", "Profile/{}/entries:200000/one_section:0", 200000),
               ("keys:1000", "Profile/{}/entries:1000/one_section:1", 1000),
               ("keys:100000", "Profile/{}/entries:100000/one_section:1", 100000),
               ("settings", "File/{}/settings", 1), ("ansi:1MB", "File/{}/ansi:1MB", 1),
               ("value:200KB", "File/{}/value:200KB", 1), ("document:1MB", "File/{}/document:1MB", 1),
               ("document:10MB", "File/{}/document:10MB", 1)]


def median(values):
    values = sorted(values)
    return values[len(values) // 2] if values else float("nan")


def cold_runs(path):
    runs = {}
    with open(path) as f:
        for line in f:
            row = json.loads(line)
            runs.setdefault((row["shape"], row["reader"]), []).append(row["run"])
    return {key: {field: median([run[field] for run in rows]) for field in rows[0]} for key, rows in runs.items()}


def load_table(r, cold):
    print("Whole profile Load (read, parse, build, free) beside pugixml load_file: in a loop, medians of five"
          " interleaved repetitions, processor time; x = pugixml time / ours, ours peak / pugixml's")
    print(f"{'shape':>16}{'ours us':>11}{'pugixml':>11}{'x':>6}{'peak MB':>9}{'pugixml':>9}{'x':>6}"
          f"{'| cold us':>10}{'pugixml':>9}{'x':>6}{'faults':>8}{'pugixml':>8}{'RSS MB':>8}{'pugixml':>8}")
    base = cold.get(("sections:2000", "none"))
    for shape, pattern, _ in LOAD_SHAPES:
        ours, pugi = r.get(pattern.format("Load")), r.get(pattern.format("PugixmlLoadFile"))
        if ours is None or pugi is None:
            continue
        po, pp = ours["peak_bytes"] / 1e6, pugi["peak_bytes"] / 1e6
        line = (f"{shape:>16}{seconds(ours) * 1e6:>11.0f}{seconds(pugi) * 1e6:>11.0f}{seconds(pugi) / seconds(ours):>6.2f}"
                f"{po:>9.2f}{pp:>9.2f}{po / pp:>6.2f}")
        co, cp = cold.get((shape, "ours")), cold.get((shape, "pugixml"))
        if co and cp:
            line += (f"{co['cpu_s'] * 1e6:>10.0f}{cp['cpu_s'] * 1e6:>9.0f}{cp['cpu_s'] / max(co['cpu_s'], 1e-6):>6.2f}"
                     f"{co['faults']:>8}{cp['faults']:>8}{co['max_rss_kb'] / 1e3:>8.1f}{cp['max_rss_kb'] / 1e3:>8.1f}")
        print(line)
    utf8 = r.get("File/PugixmlLoadFile/document:10MB-utf8")
    ours10 = r.get("File/Load/document:10MB")
    if utf8 and ours10:
        line = f"10 MB document: pugixml load_file of a UTF-8 copy / our Load of the UTF-16 file: {seconds(utf8) / seconds(ours10):.2f}"
        c8, co = cold.get(("document:10MB-utf8", "pugixml")), cold.get(("document:10MB", "ours"))
        if c8 and co:
            line += f" (cold {c8['cpu_s'] / co['cpu_s']:.2f}; peak RSS {c8['max_rss_kb'] / 1e3:.1f} MB)"
        print(line)
    if base:
        print(f"A fresh process that loads nothing: peak RSS {base['max_rss_kb'] / 1e3:.1f} MB")
    print()
    print("Growth: Load time per section (2k to 200k) and per key (1k to 100k), ratio to the smallest, and page"
          " faults per entry (warm: memory the heap gave back to the system between Loads)")
    for group in (LOAD_SHAPES[0:3], LOAD_SHAPES[3:5]):
        first = None
        for shape, pattern, n in group:
            ours, co = r.get(pattern.format("Load")), cold.get((shape, "ours"))
            if ours is None:
                continue
            warm = seconds(ours) / n
            cold_cost = co["cpu_s"] / n if co else float("nan")
            first = first or (warm, cold_cost)
            faults = co["faults"] / n if co else float("nan")
            allocs = ours.get("allocations", float("nan")) / n
            warm_faults = ours.get("faults", float("nan")) / n
            print(f"{shape:>16}  warm {warm * 1e9:>7.0f} ns x{warm / first[0]:.2f} {warm_faults:.3f} faults/entry"
                  f"   cold {cold_cost * 1e9:>7.0f} ns x{cold_cost / first[1]:.2f} {faults:.3f} faults/entry"
                  f"   {allocs:.4f} allocations/entry")
    print()


def hostile_table(r):
    print("Hostile files beside plain ones of the same size (the plain file: the ANSI document for the first two,"
          " 100,000 ordinary names for the last): whole Load, processor time; x = hostile / plain")
    print(f"{'shape':>16}{'file MB':>9}{'hostile ms':>12}{'plain ms':>10}{'x':>6}{'peak MB':>9}{'plain':>8}{'x':>6}"
          f"{'peak/file':>11}")
    for shape in ("ansi-no-cut:4MB", "lt-flood:4MB", "names:100000"):
        h, p = r.get(f"Hostile/Load/{shape}/hostile"), r.get(f"Hostile/Load/{shape}/plain")
        if h is None or p is None:
            continue
        size = h["file_bytes"]
        print(f"{shape:>16}{size / 1e6:>9.2f}{seconds(h) * 1e3:>12.2f}{seconds(p) * 1e3:>10.2f}"
              f"{seconds(h) / seconds(p):>6.2f}{h['peak_bytes'] / 1e6:>9.2f}{p['peak_bytes'] / 1e6:>8.2f}"
              f"{h['peak_bytes'] / p['peak_bytes']:>6.2f}{max(h['peak_bytes'], p['peak_bytes']) / size:>11.2f}")
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
    cold = {}
    for path in sys.argv[1:]:
        if path.endswith(".jsonl"):
            cold = cold_runs(path)
    parse_table(r)
    profile_table(r)
    load_table(r, cold)
    hostile_table(r)
    session_table(r)


if __name__ == "__main__":
    main()
