#!/usr/bin/env python3
"""Times the roots of bench_roots next to Python doing the same work (text in,
text out) in the same run, and prints the ratios; mpmath's times are shown
for reference.

    python3 bench/compare_roots.py [BUILD_DIR]     (default: build)

Python's decimal computes with the context precision equal to the digits
Decimora gives: dcmSQRT(2) at maxSD n gives n + 1 significant digits,
dcmPOWER and dcmROOT give n + 2. decimal has no cube root: its row raises 10
to the power 1/3 (itself computed at that precision). Both sides are timed in
CPU time (bench/sidebyside.py); a ratio below 1 means Decimora is faster.
"""
import decimal
import sys

from sidebyside import decimora_seconds, python_seconds

try:
    import mpmath
except ImportError:  # mpmath is only the reference column
    mpmath = None


def context(prec):
    return decimal.Context(prec=prec, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN,
                           rounding=decimal.ROUND_HALF_UP)


def decimal_work(name, digits):
    ctx = context(digits)
    if name == "BM_Sqrt2":
        return "str(ctx.sqrt(Decimal('2')))", lambda: str(ctx.sqrt(decimal.Decimal("2")))
    if name == "BM_PowerHalf":
        return ("str(ctx.power(Decimal('2'), Decimal('0.5')))",
                lambda: str(ctx.power(decimal.Decimal("2"), decimal.Decimal("0.5"))))
    return ("str(ctx.power(Decimal('10'), ctx.divide(1, 3)))",
            lambda: str(ctx.power(decimal.Decimal("10"), ctx.divide(decimal.Decimal(1), decimal.Decimal(3)))))


def mpmath_work(name, digits):
    if mpmath is None:
        return None

    def work():
        mpmath.mp.dps = digits
        if name == "BM_Sqrt2":
            x = mpmath.sqrt(mpmath.mpf(2))
        elif name == "BM_PowerHalf":
            x = mpmath.power(mpmath.mpf(2), mpmath.mpf("0.5"))
        else:
            x = mpmath.cbrt(mpmath.mpf(10))
        return mpmath.nstr(x, digits)

    return work


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    ours = decimora_seconds(build_dir, "bench_roots")
    print(f"{'row':<20} {'Decimora':>12} {'decimal':>12} {'ratio':>7} {'mpmath':>12}  decimal does")
    for name, seconds in ours.items():
        base, arg = name.split("/")
        digits = int(arg) + (1 if base == "BM_Sqrt2" else 2)
        label, work = decimal_work(base, digits)
        py = python_seconds(work)
        mp = mpmath_work(base, digits)
        mp_s = f"{python_seconds(mp) * 1e3:>9.3f} ms" if mp else "           -"
        print(f"{name:<20} {seconds * 1e3:>9.3f} ms {py * 1e3:>9.3f} ms {seconds / py:>7.2f} {mp_s}  {label}")


if __name__ == "__main__":
    main()
