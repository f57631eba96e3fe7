#!/usr/bin/env python3
"""Times dcmMULTIPLY, dcmDIVIDE and dcmPOWER (bench_operators) next to Python's
decimal module doing the same work in the same run, and prints the ratios.

    python3 bench/compare_operators.py [BUILD_DIR]     (default: build)

Both sides take the same operands as text and give the result as text: on
Python's side str(Decimal(a) * Decimal(b)) with the context precision set to
the number of digits (the column "pre-parsed" leaves the reading of the
operands out of Python's time). Both are measured in CPU time of the process
(best mean of a few repeats), so that other work on a shared machine
disturbs the figures less. A ratio below 1 means Decimora is faster.
"""
import decimal
import sys

from sidebyside import decimora_seconds, python_seconds

MASK = (1 << 64) - 1


def operand_digits(n, seed):
    """The digits bench_operators.cpp makes: a 64-bit LCG, one digit per step."""
    x = seed
    out = []
    for _ in range(n):
        x = (x * 6364136223846793005 + 1442695040888963407) & MASK
        out.append(chr(48 + (x >> 33) % 10))
    if out[0] == "0":
        out[0] = "7"
    return "".join(out)


def context(prec):
    return decimal.Context(prec=prec, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN,
                           rounding=decimal.ROUND_HALF_UP)


def python_rows():
    rows = {}
    D = decimal.Decimal
    for n in (100, 1000, 10000, 32767):
        a, b = operand_digits(n, 1), operand_digits(n, 2)
        da, db = D(a), D(b)
        ctx = context(n)
        rows[f"BM_Multiply/{n}"] = (f"multiply {n} x {n} digits",
                                    lambda a=a, b=b, c=ctx: str(c.multiply(D(a), D(b))),
                                    lambda a=da, b=db, c=ctx: str(c.multiply(a, b)))
        rows[f"BM_Divide/{n}"] = (f"divide {n} / {n} digits",
                                  lambda a=a, b=b, c=ctx: str(c.divide(D(a), D(b))),
                                  lambda a=da, b=db, c=ctx: str(c.divide(a, b)))
    for prec in (100, 1000):
        ctx = context(prec)
        rows[f"BM_Power/{prec}"] = (f"1.0001 ** 1000 at {prec} digits",
                                    lambda c=ctx: str(c.power(D("1.0001"), D("1000"))),
                                    lambda c=ctx, x=D("1.0001"), y=D("1000"): str(c.power(x, y)))
    near_one = D("1." + "0" * 999 + "1")
    for n in (100, 1000):
        e = operand_digits(n, 3)
        ctx = context(32767)
        rows[f"BM_PowerNearOne/{n}"] = (f"1.(999 zeros)1 ** <{n} digits> at 32767 digits",
                                        lambda c=ctx, e=e: str(c.power(D("1." + "0" * 999 + "1"), D(e))),
                                        lambda c=ctx, x=near_one, y=D(e): str(c.power(x, y)))
    return rows


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    ours = decimora_seconds(build_dir, "bench_operators")
    print(f"{'row':<18} {'Decimora':>11} {'Python':>11} {'ratio':>6} {'pre-parsed':>11} {'ratio':>6}  work")
    for name, (label, text_work, parsed_work) in python_rows().items():
        if name not in ours:
            continue
        py = python_seconds(text_work)
        pre = python_seconds(parsed_work)
        t = ours[name]
        print(f"{name:<18} {t * 1e3:>8.3f} ms {py * 1e3:>8.3f} ms {t / py:>6.2f} {pre * 1e3:>8.3f} ms {t / pre:>6.2f}  {label}")


if __name__ == "__main__":
    main()
