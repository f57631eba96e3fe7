#!/usr/bin/env python3
"""Times the rows of bench_explog next to Python's decimal doing the same
work (text in, text out), with mpmath for reference, and prints the ratios.

    python3 bench/compare_explog.py [BUILD_DIR] [--long]     (default: build)

Decimora's dcmEXP(1), dcmLN(3) and dcmLOG(7) at maxSD digits against
decimal's exp, ln and log10 with the context precision equal to maxSD, and
mpmath's exp, log and log10 at as many decimal places. Without --long the
rows at 32,767 digits are left out (decimal takes minutes there). Both
sides in CPU time (bench/sidebyside.py); a ratio below 1 means Decimora is
faster. The long rows run once on each side.
"""
import decimal
import sys

import mpmath

from sidebyside import decimora_seconds, python_seconds

ROWS = {
    "BM_Exp": ("exp(1)", lambda c: str(c.exp(decimal.Decimal("1"))), lambda: str(mpmath.exp(1))),
    "BM_Ln": ("ln(3)", lambda c: str(c.ln(decimal.Decimal("3"))), lambda: str(mpmath.log(3))),
    "BM_Log": ("log10(7)", lambda c: str(c.log10(decimal.Decimal("7"))), lambda: str(mpmath.log10(7))),
}


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    long_rows = "--long" in sys.argv
    build_dir = args[0] if args else "build"
    sizes = [1000, 10000] + ([32767] if long_rows else [])
    pattern = "^BM_(Exp|Ln|Log)/(" + "|".join(str(s) for s in sizes) + ")"
    ours = decimora_seconds(build_dir, "bench_explog", "--benchmark_filter=" + pattern)
    print(f"{'row':<14} {'Decimora':>11} {'decimal':>11} {'ratio':>6} {'mpmath':>11}  decimal does")
    for name, (label, work, reference) in ROWS.items():
        for size in sizes:
            row = f"{name}/{size}"
            if row not in ours:
                continue
            context = decimal.Context(prec=size, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)
            once = size > 10000 or (size == 10000 and name != "BM_Exp")
            repeats = 1 if once else 3
            py = python_seconds(lambda: work(context), min_total=0 if once else 0.5, repeats=repeats)
            mpmath.mp.dps = size
            mp = python_seconds(reference, min_total=0 if once else 0.5, repeats=repeats)
            print(f"{row:<14} {ours[row]:>9.3f} s {py:>9.3f} s {ours[row] / py:>6.2f} {mp:>9.3f} s  {label}")


if __name__ == "__main__":
    main()
