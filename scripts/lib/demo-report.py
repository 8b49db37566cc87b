#!/usr/bin/env python3
"""Tells in plain words what the demo run did, from tavrel-host's log, the
settings file, the stand-in's receipt and the exported metafile."""
import json
import os
import sys

demo, emf, preset = sys.argv[1], sys.argv[2], sys.argv[3]
state = os.path.join(demo, "state")
log = [json.loads(line) for line in open(os.path.join(demo, "log.jsonl"), encoding="utf-8")]


def real(text):
    return text.replace("<state>", state) if isinstance(text, str) else text


def calls(op):
    return [r for r in log if r.get("kind") == "call" and r.get("op") == op]


print()
builds = {"win32": "the real 32-bit Tavrel.cpg under Wine", "win64": "the real 64-bit Tavrel.cpg under 64-bit Wine"}
print(f"What happened ({builds.get(preset, 'the native build')}):")
print()
print("1. The host loaded the plug-in and activated it.")
for c in calls("Application.AddPluginCommand"):
    name, caption, tooltip = c["args"]
    print(f'   - command "{name}" registered as "{caption}" ({tooltip}), with a button on the "Standard" bar')
settings_file = os.path.join(state, "settings", "TavrelSettings.xml")
if os.path.exists(settings_file):
    data = open(settings_file, "rb").read()
    text = data[2:].decode("utf-16-le") if data[:2] == b"\xff\xfe" else data.decode("cp1252")
    print(f"   - the settings file did not exist, so activation created it:\n     {settings_file}")
for dialog in (r for r in log if r.get("kind") == "dialog"):
    print()
    print(f'2. The user clicked "Emb Settings". The dialog "{dialog["title"]}" listed the installed applications:')
    for name, index in zip(dialog["applications"], dialog["item-data"]):
        print(f"     {name} (application {index})")
    print('   and the user picked "Kyro Vesk", "Create embroidery objects directly." and "Optimize curve data",')
    print("   then pressed Apply. The settings file now reads:")
    text = open(settings_file, "rb").read()[2:].decode("utf-16-le")
    for line in text.strip().splitlines():
        print("     | " + line.replace("\t", "  "))
    break
states = [r for r in log if r.get("kind") == "command-state" and r.get("command") == "Tavrel"]
print()
print("3. The user selected two shapes (the flower's centre and its leaf);")
if states:
    print(f'   the host asked whether "To Embroidery" is enabled: {"yes" if states[-1]["enabled"] == -1 else "no"}.')
exports = calls("Document.ExportToFile")
if exports:
    path, filt, rng = exports[-1]["args"][:3]
    print(f'   Clicking "To Embroidery" exported {"the selection" if rng == 2 else "the page"} '
          f"(filter {filt}, range {rng}) to\n     {real(path)}")
for p in (r for r in log if r.get("kind") == "process"):
    print("   and started the embroidery application with the command line:")
    print("     " + real(p["command-line"]))
for box in (r for r in log if r.get("kind") == "message-box"):
    print(f'   A message box appeared: "{box["text"]}" ({box["caption"]})')
print()
receipt_path = os.path.join(demo, "receipt.json")
if os.path.exists(receipt_path):
    receipt = json.load(open(receipt_path, encoding="utf-8"))
    e = receipt.get("emf") or {}
    print("4. The embroidery stand-in received it and wrote a receipt:")
    print(f"     arguments: {receipt.get('arguments')}")
    print(f"     switches recognised: {' '.join(receipt.get('switches', [])) or 'none'}")
    print(f"     the file: {'a well-formed enhanced metafile' if e.get('wellFormed') else 'NOT a well-formed metafile'}, "
          f"{e.get('size')} bytes, {e.get('records')} records, {e.get('drawingRecords')} shapes drawn, "
          f"bounds {e.get('bounds')}")
    print(f"     receipt: {receipt_path}")
else:
    print("4. No receipt came from the embroidery stand-in.")
print()
print(f"The exported metafile:  {emf}")
preview = os.path.join(demo, "preview.png")
if os.path.exists(preview):
    print(f"Its preview (rendered by emf2svg-conv and rsvg-convert): {preview}")
print(f"The host's log (JSON lines, one per host call): {os.path.join(demo, 'log.jsonl')}")
ok = os.path.exists(receipt_path) and json.load(open(receipt_path)).get("wellFormed")
sys.exit(0 if ok else 1)
