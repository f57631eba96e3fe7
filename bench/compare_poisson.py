#!/usr/bin/env python3
"""Times the cumulative Poisson rows of bench_poisson next to Python computing
the same quantity, e^-lambda * sum(lambda^i / i!, i = 0..k), at the same
number of significant digits (text in, text out), and prints the ratios.

    python3 bench/compare_poisson.py [BUILD_DIR]     (default: build)

Python's side is `decimal` (each term from the previous one, term * lambda / i,
and ctx.exp) and, for reference, mpmath at the same precision. Both sides are
timed in CPU time (bench/sidebyside.py); a ratio below 1 means Decimora is
faster.
"""
import decimal
import sys

import mpmath

from sidebyside import decimora_seconds, print_ratios


def decimal_poisson(k, lam, digits):
    ctx = decimal.Context(prec=digits, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)
    lam = decimal.Decimal(lam)
    term = decimal.Decimal(1)
    total = decimal.Decimal(1)
    for i in range(1, k + 1):
        term = ctx.divide(ctx.multiply(term, lam), i)
        total = ctx.add(total, term)
    return str(ctx.multiply(ctx.exp(-lam), total))


def mpmath_poisson(k, lam, digits):
    with mpmath.workdps(digits):
        lam = mpmath.mpf(lam)
        term = mpmath.mpf(1)
        total = mpmath.mpf(1)
        for i in range(1, k + 1):
            term = term * lam / i
            total += term
        return mpmath.nstr(mpmath.exp(-lam) * total, digits)


CASES = {
    "2_3_sd100": (2, "3", 100),
    "2_3_sd1000": (2, "3", 1000),
    "1000_900.5_sd100": (1000, "900.5", 100),
    "1000_900.5_sd1000": (1000, "900.5", 1000),
    "9273_3_sd100": (9273, "3", 100),
}


def python_rows(peer):
    rows = {}
    for name, (k, lam, digits) in CASES.items():
        work = (lambda k=k, lam=lam, d=digits: decimal_poisson(k, lam, d)) if peer == "decimal" else \
            (lambda k=k, lam=lam, d=digits: mpmath_poisson(k, lam, d))
        rows["BM_PoissonCumulative/" + name] = (f"{peer}: e^-{lam} sum to {k}, {digits} digits", work)
    return rows


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    ours = decimora_seconds(build_dir, "bench_poisson")
    print_ratios(ours, python_rows("decimal"))
    print_ratios(ours, python_rows("mpmath"))


if __name__ == "__main__":
    main()
