#!/usr/bin/env python3
"""One case of the LibreOffice test program, read from the GoogleTest XML
report of the program's run: passes when the case ran and passed, and
otherwise prints its failures and fails.

Usage: case_result.py REPORT SUITE.CASE
"""
import sys
import xml.etree.ElementTree as ET

report, name = sys.argv[1], sys.argv[2]
suite, case = name.split(".", 1)
try:
    cases = ET.parse(report).getroot().iter("testcase")
except (OSError, ET.ParseError) as error:
    sys.exit(f"no report of the program's run ({error}): see the test uno_tests")

for testcase in cases:
    if testcase.get("classname") != suite or testcase.get("name") != case:
        continue
    failures = testcase.findall("failure") + testcase.findall("error")
    for failure in failures:
        print(failure.text or failure.get("message"))
    if testcase.get("status") != "run" or testcase.get("result", "completed") != "completed":
        sys.exit(f"{name} did not run to its end: {testcase.get('status')}, {testcase.get('result')}")
    sys.exit(1 if failures else 0)
sys.exit(f"{name} is not in the report: see the test uno_tests")
