#!/usr/bin/env python3
"""Checks what a session scenario left behind: the embroidery stand-in's
receipt and the settings file, as the scenario's comment lines ask."""
import json
import os
import sys

scenario, work = sys.argv[1], sys.argv[2]
wanted_switches = None
wanted_settings = None
for line in open(scenario, encoding="utf-8"):
    if line.startswith("# receipt:"):
        wanted_switches = line.split(":", 1)[1].split()
    elif line.startswith("# settings:"):
        wanted_settings = line.split(":", 1)[1].split()

failures = []
receipt_path = os.path.join(work, "receipt.json")
# run-scenario.sh has waited for the receipt of each run that asks for one.
if wanted_switches is not None:
    try:
        receipt = json.load(open(receipt_path, encoding="utf-8"))
    except (OSError, ValueError) as e:
        receipt = None
        failures.append(f"no receipt from the embroidery stand-in: {e}")
    if receipt is not None:
        if receipt.get("switches") != wanted_switches:
            failures.append(f"switches {receipt.get('switches')} != {wanted_switches}")
        emf = receipt.get("emf", {})
        if not emf.get("well_formed", emf.get("wellFormed")):
            failures.append(f"the metafile was not well-formed: {receipt}")
elif os.path.exists(receipt_path):
    failures.append("an embroidery application was started, none was expected")

settings_path = os.path.join(work, "state", "settings", "TavrelSettings.xml")
if wanted_settings == ["none"]:
    if os.path.exists(settings_path):
        failures.append("a settings file exists, none was expected")
elif wanted_settings is not None:
    data = open(settings_path, "rb").read()
    text = data[2:].decode("utf-16-le") if data[:2] == b"\xff\xfe" else data.decode("latin-1")
    for key, value in zip(("EmbAppType", "ExportType", "OptimiseCurves"), wanted_settings):
        if f'<key name="{key}" value="{value}"/>' not in text:
            failures.append(f"settings file lacks {key}={value}: {text!r}")

for f in failures:
    print("check-outcome:", f, file=sys.stderr)
sys.exit(1 if failures else 0)
