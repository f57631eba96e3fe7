#!/usr/bin/env python3
"""Times the rows of bench_text next to Python doing the same work on the
same texts (text in, text out), and prints the ratios.

    python3 bench/compare_text.py [BUILD_DIR]     (default: build)

Python's side is the plain reading of each function: cut out the first
occurrence until none is left; remove the groups and keep the digits;
walk the subject position by position, keeping a unit that starts there or
a digit. Both sides in CPU time (bench/sidebyside.py); below 1 Decimora is
faster.
"""
import sys

from sidebyside import decimora_seconds, print_ratios


def random_digits(n, seed):
    # Not the C++ generator's digits; only the shape matters here.
    x = seed
    out = []
    for _ in range(n):
        x = (x * 6364136223846793005 + 1442695040888963407) % (1 << 64)
        out.append(str((x >> 33) % 10))
    out[0] = out[0] if out[0] != "0" else "7"
    return "".join(out)


def python_rows():
    nested = "(" * 16383 + ")" * 16383

    def exclude_nested():
        s = nested
        i = s.find("()")
        while i >= 0:
            s = s[:i] + s[i + 2:]
            i = s.find("()")
        return s

    digits = random_digits(24576, 5)
    grouped = ",".join(digits[i:i + 3] for i in range(0, len(digits), 3))

    def exclude_grouped():
        return "".join(c for c in grouped.replace(",", "") if c.isdigit()).lstrip("0")

    subject = "12 kg, 345 m, " * (32767 // 14)

    def extract_units():
        out = []
        for i, c in enumerate(subject):
            if subject.startswith("kg", i):
                out.append("kg")
            elif subject.startswith("m", i):
                out.append("m")
            elif c.isdigit():
                out.append(c)
        return "".join(out)

    return {
        "BM_EXCLUDE_Nested": ("cut the first \"()\" until none is left", exclude_nested),
        "BM_EXCLUDENOTNUM_Grouped": ("replace(\",\", \"\") and keep the digits", exclude_grouped),
        "BM_EXTRACTNUM_Units": ("walk by position: startswith per unit, else a digit", extract_units),
    }


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    print_ratios(decimora_seconds(build_dir, "bench_text"), python_rows())


if __name__ == "__main__":
    main()
