#!/usr/bin/env python3
"""Writes the seed corpus of the fuzz harnesses from tests/vectors/*.tsv.

formula/      every formula of the vectors, with its file's locale settings
number_text/  every quoted text and bare number inside those formulas, and
              the first two of each formula as a pair
long_operand/ a few fixed pseudo-random byte strings (the harness builds the
              operands itself)

Each seed is named by the SHA-1 of its bytes, as libFuzzer names its own, so
running this again only adds what is new. Run it after adding vectors:
    python3 fuzz/make_corpus.py
"""
import hashlib
import pathlib
import random
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
VECTORS = ROOT / "tests" / "vectors"
CORPUS = ROOT / "fuzz" / "corpus"

# The settings line of fuzz_input.h: decimal, thousands, a(fter)/b(efore), currency.
DEFAULT = {"decimal": ".", "thousands": ",", "currency": "$", "position": "before"}


def settings_line(loc):
    if loc == DEFAULT:
        return b""
    thousands = {"\u00a0": "\x01", "\u202f": "\x02"}.get(loc["thousands"], loc["thousands"])
    line = loc["decimal"] + thousands + ("a" if loc["position"] == "after" else "b") + loc["currency"]
    return line.encode() + b"\n"


def parse_locale(locale_line):
    loc = dict(DEFAULT)
    if locale_line.strip() == "default":
        return loc
    for key, quoted, bare in re.findall(r'(\w+)=(?:"((?:[^"]|"")*)"|(\S+))', locale_line):
        loc[key] = quoted.replace('""', '"') if quoted else bare
    if loc["decimal"] == "," and "thousands" not in locale_line:
        loc["thousands"] = "."
    return loc


STRING = re.compile(r'"((?:[^"]|"")*)"')
# A bare number ends where the formula syntax goes on (as in the parser).
BARE = re.compile(r'(?<![\w."])[-.$]?[0-9][^\s,;(){}"]*')


def write(folder, data):
    folder.mkdir(parents=True, exist_ok=True)
    path = folder / hashlib.sha1(data).hexdigest()
    if not path.exists():
        path.write_bytes(data)
        return 1
    return 0


def main():
    added = {"formula": 0, "number_text": 0, "long_operand": 0}
    for tsv in sorted(VECTORS.glob("*.tsv")):
        loc = dict(DEFAULT)
        for raw in tsv.read_text(encoding="utf-8").splitlines():
            if raw.startswith("@locale"):
                loc = parse_locale(raw[len("@locale"):])
                continue
            if not raw.strip() or raw.startswith("#"):
                continue
            formula = raw.split("\t", 1)[0]
            head = settings_line(loc)
            added["formula"] += write(CORPUS / "formula", head + formula.encode())
            texts = [m.replace('""', '"') for m in STRING.findall(formula)]
            texts += BARE.findall(STRING.sub('""', formula))
            texts = [t for t in texts if t and not t.lower().startswith("format:")]
            for t in texts:
                added["number_text"] += write(CORPUS / "number_text", head + t.encode())
            if len(texts) >= 2:  # a pair for the comparisons
                added["number_text"] += write(CORPUS / "number_text", head + f"{texts[0]}\t{texts[1]}".encode())
    rng = random.Random(8)
    for _ in range(24):
        added["long_operand"] += write(CORPUS / "long_operand", bytes(rng.randrange(256) for _ in range(48)))
    for name, n in added.items():
        print(f"{name}: {n} new seeds")


if __name__ == "__main__":
    main()
