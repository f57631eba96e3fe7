#!/usr/bin/env python3
"""Times the rows of bench_aggregates next to Python doing the same work
(text in, text out), and prints the ratios.

    python3 bench/compare_aggregates.py [BUILD_DIR]     (default: build)

Both sides are measured in CPU time of the process, so that other work on
a shared machine disturbs the figures less. A ratio below 1 means Decimora
is faster. The operands are random numbers of the same shape on both sides
(not the same digits): Euclid's algorithm takes about as many steps for any
two random numbers of a given length.
"""
import decimal
import json
import math
import os
import random
import subprocess
import sys
import time


def python_seconds(work, min_total=0.5, repeats=5):
    """Best mean CPU time of one call over a few repeats."""
    best = float("inf")
    for _ in range(repeats):
        calls = 0
        start = time.process_time()
        while True:
            work()
            calls += 1
            elapsed = time.process_time() - start
            if elapsed >= min_total / repeats:
                break
        best = min(best, elapsed / calls)
    return best


def random_digits(n, rng):
    return rng.choice("123456789") + "".join(rng.choice("0123456789") for _ in range(n - 1))


def python_rows():
    rng = random.Random(7)
    gcd_operands = {n: (random_digits(n, rng), random_digits(n, rng)) for n in (100, 1000)}
    values = []
    for _ in range(1000):
        v = random_digits(30, rng)
        values.append(("-" if rng.random() < 0.5 else "") + v[:20] + "." + v[20:])
    context = decimal.Context(prec=40000, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN)

    def gcd(n):
        a, b = gcd_operands[n]
        return lambda: str(math.gcd(int(a), int(b)))

    def sum_values():
        with decimal.localcontext(context):
            return str(sum(map(decimal.Decimal, values), decimal.Decimal(0)))

    return {
        "BM_GCD/100": ("str(math.gcd(int(a), int(b))), 100 digits", gcd(100)),
        "BM_GCD/1000": ("str(math.gcd(int(a), int(b))), 1,000 digits", gcd(1000)),
        "BM_SUM2/1000": ("str(sum of 1,000 Decimal values of 30 digits)", sum_values),
    }


def decimora_rows(build_dir):
    binary = os.path.join(build_dir, "bench", "bench_aggregates")
    if not os.path.exists(binary):
        sys.exit(f"no {binary}: build the bench_aggregates target first")
    out = subprocess.run(
        [binary, "--benchmark_format=json", "--benchmark_min_time=0.5"],
        check=True, capture_output=True, text=True).stdout
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    return {b["name"]: b["cpu_time"] * unit[b["time_unit"]] for b in json.loads(out)["benchmarks"]}


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    ours = decimora_rows(build_dir)
    print(f"{'row':<14} {'Decimora':>12} {'Python':>12} {'ratio':>8}  Python does")
    for name, (label, work) in python_rows().items():
        if name not in ours:
            continue
        py = python_seconds(work)
        print(f"{name:<14} {ours[name] * 1e3:>9.3f} ms {py * 1e3:>9.3f} ms {ours[name] / py:>8.1f}  {label}")


if __name__ == "__main__":
    main()
