#!/usr/bin/env python3
"""Rewrites the function table of README.md from the registration table.

Run after a function lands:  tools/update_readme_functions.py [path/to/decimora]
The table sits between the markers <!-- functions:begin --> and
<!-- functions:end -->; tests/test_readme.cpp fails when it is out of date.
"""
import pathlib
import re
import subprocess
import sys

root = pathlib.Path(__file__).resolve().parent.parent
binary = sys.argv[1] if len(sys.argv) > 1 else str(root / "build" / "decimora")
listing = subprocess.run([binary, "--list"], check=True, capture_output=True, text=True).stdout

rows = ["| Function | Category | Available | Description |", "|---|---|---|---|"]
category = None
for line in listing.splitlines():
    if line and not line.startswith(" ") and line.endswith(":"):
        category = line[:-1]
        continue
    m = re.match(r"^  (\S+?)\((.*?)\)(  \(not available yet\))?$", line)
    if not m:
        continue
    name, params, missing = m.group(1), m.group(2), m.group(3)
    help_text = subprocess.run([binary, "--help", name], check=True, capture_output=True, text=True).stdout
    # Signature, category, description, and "Not available yet." for a missing one.
    description = help_text.strip().splitlines()[2].replace("|", "\\|")
    rows.append(f"| `{name}({params})` | {category} | {'not yet' if missing else 'yes'} | {description} |")

readme = root / "README.md"
text = readme.read_text()
begin, end = "<!-- functions:begin -->", "<!-- functions:end -->"
head, rest = text.split(begin, 1)
_, tail = rest.split(end, 1)
readme.write_text(head + begin + "\n" + "\n".join(rows) + "\n" + end + tail)
print(f"README.md: {len(rows) - 2} functions")
