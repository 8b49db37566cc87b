#!/usr/bin/env python3
"""The plug-in's embroidery applications, as the embroidery stand-in prints
them (`tavrel-embroidery --list-applications`), for the read-me the build
makes. (Scripts install applications with `tavrel-embroidery --install`.)

    applications.py [--emulator CMD] STANDIN readme    the read-me's list
"""
import argparse
import json
import shlex
import subprocess
import sys


def applications(standin, emulator):
    command = shlex.split(emulator or "") + [standin, "--list-applications"]
    return json.loads(subprocess.run(command, check=True, capture_output=True, text=True).stdout)


def readme(rows):
    key_width = max(len(r["registryKey"]) for r in rows) + 6
    program_width = max(len(r["executable"]) for r in rows) + 3
    return "\n".join(f'    {r["registryKey"]:<{key_width}}{r["executable"]:<{program_width}}"{r["displayName"]}"'
                     for r in rows)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--emulator", default="", help="runs the stand-in (the Windows builds: Wine)")
    parser.add_argument("--output", help="write here instead of standard output")
    parser.add_argument("standin")
    parser.add_argument("form", choices=("readme",))
    args = parser.parse_args()
    text = readme(applications(args.standin, args.emulator)) + "\n"
    if args.output:
        with open(args.output, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


main()
