#!/usr/bin/env python3
"""Times dcmSIN(1), dcmCOS(1), dcmTAN(1), dcmATAN("0.5") and dcmASIN("0.5")
(bench_trig) at maxSD 100, 1,000 and 10,000 next to Python doing the same
work in the same run: the Taylor series of the recipes in the documentation
of Python's decimal module (sin and cos as given there, tan as their
quotient, the arctangent's series after the same two reductions Decimora
makes, the arcsine as the arctangent of x / sqrt(1 - x^2)), with the
context precision equal to maxSD and the recipes' two guard digits; and
mpmath at mp.dps = maxSD.

    python3 bench/compare_trig.py [BUILD_DIR]     (default: build)

Pi is given to the decimal side as text, as Decimora reads its stored
digits. Every side is timed in CPU time; a ratio below 1 means Decimora is
faster.
"""
import decimal
import sys
from decimal import Decimal, getcontext

import mpmath

from sidebyside import decimora_seconds, python_seconds

PI = None  # pi's digits, set once in main()


def sin(x):
    """The sine recipe of the decimal documentation."""
    getcontext().prec += 2
    i, lasts, s, fact, num, sign = 1, 0, x, 1, x, 1
    while s != lasts:
        lasts = s
        i += 2
        fact *= i * (i - 1)
        num *= x * x
        sign *= -1
        s += num / fact * sign
    getcontext().prec -= 2
    return +s


def cos(x):
    """The cosine recipe of the decimal documentation."""
    getcontext().prec += 2
    i, lasts, s, fact, num, sign = 0, 0, 1, 1, 1, 1
    while s != lasts:
        lasts = s
        i += 2
        fact *= i * (i - 1)
        num *= x * x
        sign *= -1
        s += num / fact * sign
    getcontext().prec -= 2
    return +s


def tan(x):
    return sin(x) / cos(x)


def atan_series(x):
    """x - x^3/3 + x^5/5 - ..., in the recipes' style."""
    getcontext().prec += 2
    lasts, s, n, num, x2, sign = 0, x, 1, x, x * x, 1
    while s != lasts:
        lasts = s
        n += 2
        num *= x2
        sign = -sign
        s += num / n * sign
    getcontext().prec -= 2
    return +s


def atan(x):
    """The reductions Decimora makes: 1/x above 1, pi/4 + atan((y-1)/(y+1)) above 0.4."""
    negative = x < 0
    x = abs(x)
    y = 1 / x if x > 1 else x
    big = y > Decimal("0.4")
    v = atan_series((y - 1) / (y + 1) if big else y)
    pi = Decimal(PI)
    if big:
        v += pi / 4
    if x > 1:
        v = pi / 2 - v
    return -v if negative else v


def asin(x):
    return atan(x / (1 - x * x).sqrt())


def decimal_work(f, text, prec):
    context = decimal.Context(prec=prec, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)

    def work():
        with decimal.localcontext(context):
            return str(+f(Decimal(text)))

    return work


def mpmath_work(f, text, dps):
    def work():
        mpmath.mp.dps = dps
        return mpmath.nstr(f(mpmath.mpf(text)), dps)

    return work


ROWS = [
    ("BM_Sin", "dcmSIN(1)", sin, mpmath.sin, "1"),
    ("BM_Cos", "dcmCOS(1)", cos, mpmath.cos, "1"),
    ("BM_Tan", "dcmTAN(1)", tan, mpmath.tan, "1"),
    ("BM_ATan", 'dcmATAN("0.5")', atan, mpmath.atan, "0.5"),
    ("BM_ASin", 'dcmASIN("0.5")', asin, mpmath.asin, "0.5"),
]


def main():
    global PI
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    mpmath.mp.dps = 10100
    PI = mpmath.nstr(mpmath.pi, 10050, strip_zeros=False)
    ours = decimora_seconds(build_dir, "bench_trig")
    print(f"{'call':<16} {'maxSD':>6} {'Decimora':>12} {'decimal':>12} {'mpmath':>12} {'vs decimal':>10}")
    for name, label, dec_f, mp_f, arg in ROWS:
        for digits in (100, 1000, 10000):
            key = f"{name}/{digits}"
            if key not in ours:
                continue
            long_row = digits >= 10000
            dec = python_seconds(decimal_work(dec_f, arg, digits), min_total=0.1 if long_row else 0.5,
                                 repeats=1 if long_row else 5)
            mp = python_seconds(mpmath_work(mp_f, arg, digits), min_total=0.1 if long_row else 0.5,
                                repeats=1 if long_row else 5)
            print(f"{label:<16} {digits:>6} {ours[key] * 1e3:>9.2f} ms {dec * 1e3:>9.2f} ms {mp * 1e3:>9.2f} ms "
                  f"{ours[key] / dec:>10.2f}")


if __name__ == "__main__":
    main()
