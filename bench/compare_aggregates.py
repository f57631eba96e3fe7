#!/usr/bin/env python3
"""Times the rows of bench_aggregates next to Python doing the same work
(text in, text out), and prints the ratios.

    python3 bench/compare_aggregates.py [BUILD_DIR]     (default: build)

Both sides are timed in CPU time (bench/sidebyside.py); a ratio below 1
means Decimora is faster. The operands are random numbers of the same shape on both sides
(not the same digits).
"""
import decimal
import random
import sys

from sidebyside import decimora_seconds, print_ratios


def random_digits(n, rng):
    return rng.choice("123456789") + "".join(rng.choice("0123456789") for _ in range(n - 1))


def python_rows():
    rng = random.Random(7)
    values = []
    for _ in range(1000):
        v = random_digits(30, rng)
        values.append(("-" if rng.random() < 0.5 else "") + v[:20] + "." + v[20:])
    context = decimal.Context(prec=40000, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)

    def sum_values():
        with decimal.localcontext(context):
            return str(sum(map(decimal.Decimal, values), decimal.Decimal(0)))

    return {
        "BM_SUM2/1000": ("str(sum of 1,000 Decimal values of 30 digits)", sum_values),
    }


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    print_ratios(decimora_seconds(build_dir, "bench_aggregates"), python_rows())


if __name__ == "__main__":
    main()
