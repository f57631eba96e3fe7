#!/usr/bin/env python3
"""Times the rows of bench_order next to Python doing the same work (text
in, text out), and prints the ratios.

    python3 bench/compare_order.py [BUILD_DIR]     (default: build)

Both sides are timed in CPU time (bench/sidebyside.py); a ratio below 1
means Decimora is faster. The operands are random numbers of the same shape
on both sides (not the same digits): 100,000 values of 30 digits, 20 before
the point and 10 after, mixed signs; the mode's values are drawn from
10,000 distinct ones.
"""
import collections
import decimal
import random
import sys

from sidebyside import decimora_seconds, print_ratios

COUNT = 100000


def random_digits(n, rng):
    return rng.choice("123456789") + "".join(rng.choice("0123456789") for _ in range(n - 1))


def random_value(rng):
    v = random_digits(30, rng)
    return ("-" if rng.random() < 0.5 else "") + v[:20] + "." + v[20:]


def python_rows():
    rng = random.Random(7)
    values = [random_value(rng) for _ in range(COUNT)]
    pool = [random_value(rng) for _ in range(10000)]
    repeated = [rng.choice(pool) for _ in range(COUNT)]
    context = decimal.Context(prec=40000, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)

    def sort_values():
        # A stable sort by value, written back as the texts given.
        return [values[i] for i in sorted(range(COUNT), key=list(map(decimal.Decimal, values)).__getitem__)]

    def median():
        with decimal.localcontext(context):
            ordered = sorted(map(decimal.Decimal, values))
            n = len(ordered)
            if n % 2:
                return str(ordered[n // 2])
            return str((ordered[n // 2 - 1] + ordered[n // 2]) / 2)

    def mode():
        counts = collections.Counter(decimal.Decimal(v).normalize() for v in repeated)
        return str(counts.most_common(1)[0][0])

    def largest():
        return str(max(map(decimal.Decimal, values)))

    return {
        "BM_SORT/100000": ("texts sorted by Decimal value", sort_values),
        "BM_MEDIAN/100000": ("str(median of sorted Decimal values)", median),
        "BM_MODE/100000": ("str(Counter of normalised Decimals).most_common(1)", mode),
        "BM_LARGE/100000": ("str(max of Decimal values)", largest),
    }


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    print_ratios(decimora_seconds(build_dir, "bench_order"), python_rows())


if __name__ == "__main__":
    main()
