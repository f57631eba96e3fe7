#!/usr/bin/env python3
"""Times the rows of bench_fraction next to Python doing the same work
(text in, text out), and prints the ratios.

    python3 bench/compare_fraction.py [BUILD_DIR]     (default: build)

Both sides are timed in CPU time (bench/sidebyside.py); a ratio below 1
means Decimora is faster. The operands are random numbers of the same shape on both sides
(not the same digits): Euclid's algorithm takes about as many steps for any
two random numbers of a given length.
"""
import math
import random
import sys

from sidebyside import decimora_seconds, print_ratios


def random_digits(n, rng):
    return rng.choice("123456789") + "".join(rng.choice("0123456789") for _ in range(n - 1))


def python_rows():
    rng = random.Random(7)
    gcd_operands = {n: (random_digits(n, rng), random_digits(n, rng)) for n in (100, 1000)}

    def gcd(n):
        a, b = gcd_operands[n]
        return lambda: str(math.gcd(int(a), int(b)))

    return {
        "BM_GCD/100": ("str(math.gcd(int(a), int(b))), 100 digits", gcd(100)),
        "BM_GCD/1000": ("str(math.gcd(int(a), int(b))), 1,000 digits", gcd(1000)),
    }


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    print_ratios(decimora_seconds(build_dir, "bench_fraction"), python_rows())


if __name__ == "__main__":
    main()
