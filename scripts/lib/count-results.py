#!/usr/bin/env python3
"""Counts the GoogleTest JUnit reports of one build: prints 'tests failures'."""
import glob
import sys
import xml.etree.ElementTree as ET

tests = failures = 0
for path in glob.glob(sys.argv[1] + "/*.xml"):
    try:
        root = ET.parse(path).getroot()
    except ET.ParseError:
        failures += 1
        continue
    tests += int(root.get("tests", 0)) - int(root.get("disabled", 0))
    failures += int(root.get("failures", 0)) + int(root.get("errors", 0))
print(tests, failures)
