#!/usr/bin/env python3
"""Times the factorial and remainder rows of bench_remainder next to Python
doing the same work (text in, text out), and prints the ratios.

    python3 bench/compare_remainder.py [BUILD_DIR]     (default: build)

Both sides are timed in CPU time (bench/sidebyside.py); a ratio below 1
means Decimora is faster.
"""
import decimal
import math
import random
import sys

from sidebyside import decimora_seconds, print_ratios

if hasattr(sys, "set_int_max_str_digits"):
    sys.set_int_max_str_digits(0)  # str() of factorials of tens of thousands of digits




def random_digits(n, rng):
    return "7" + "".join(rng.choice("0123456789") for _ in range(n - 1))


def python_rows():
    rng = random.Random(11)
    a, b = random_digits(10000, rng), random_digits(30, rng)
    context = decimal.Context(prec=40000, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)

    def remainder():
        with decimal.localcontext(context):
            return str(decimal.Decimal(a) % decimal.Decimal(b))

    return {
        "BM_Fact/1000": ("str(math.factorial(1000))", lambda: str(math.factorial(1000))),
        "BM_Fact/9273": ("str(math.factorial(9273))", lambda: str(math.factorial(9273))),
        "BM_Mod/10000/30": ("str(Decimal(a) % Decimal(b)), 10,000 by 30 digits", remainder),
    }


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    ours = decimora_seconds(build_dir, "bench_remainder", "--benchmark_filter=^BM_(Fact|Mod)/")
    print_ratios(ours, python_rows())


if __name__ == "__main__":
    main()
