#!/usr/bin/env python3
"""Sums the last lines of the fault campaigns (read from standard input) into
one: sessions, injected faults (call orders count as sessions, not faults),
failed sessions, and each outcome and kind of fault."""
import re
import sys

totals = {}


def add(key, value):
    totals[key] = totals.get(key, 0) + int(value)


for line in sys.stdin:
    line = line.strip()
    if line.startswith("faults "):
        # faults host: S sessions, F injected faults (of N), P passed, X failed; outcomes ...; kinds
        add("sessions", re.search(r"(\d+) sessions", line).group(1))
        add("injected faults", re.search(r"(\d+) injected faults", line).group(1))
        add("failed", re.search(r"(\d+) failed", line).group(1))
        for count, word in re.findall(r"(\d+) (shown|contained|saved|refused|crash|leak|sanitizer|escaped|other)\b",
                                      line):
            add(word, count)
    elif line.startswith("callorder:"):
        fields = dict(re.findall(r"([a-z-]+)=(\d+)", line))
        add("sessions", fields.get("sessions", 0))
        add("call-order sessions", fields.get("sessions", 0))
        add("failed", fields.get("faulty-sessions", 0))
        add("crash", fields.get("crashes", 0))
    elif line:
        print(f"faults: a campaign ended without its summary: {line}", file=sys.stderr)
        add("failed", 1)

order = ("sessions", "call-order sessions", "injected faults", "failed", "shown", "contained", "saved", "refused",
         "crash", "leak", "sanitizer", "escaped", "other")
print("faults total: " + ", ".join(f"{totals.get(key, 0)} {key}" for key in order))
