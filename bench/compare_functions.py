#!/usr/bin/env python3
"""Times the factorial and remainder rows of bench_functions next to Python
doing the same work (text in, text out), and prints the ratios.

    python3 bench/compare_functions.py [BUILD_DIR]     (default: build)

Both sides are measured in CPU time of the process, so that other work on
a shared machine disturbs the figures less. A ratio below 1 means Decimora
is faster.
"""
import decimal
import json
import math
import os
import random
import subprocess
import sys
import time

if hasattr(sys, "set_int_max_str_digits"):
    sys.set_int_max_str_digits(0)  # str() of factorials of tens of thousands of digits


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


def decimora_rows(build_dir):
    binary = os.path.join(build_dir, "bench", "bench_functions")
    if not os.path.exists(binary):
        sys.exit(f"no {binary}: build the bench_functions target first")
    out = subprocess.run(
        [binary, "--benchmark_filter=^BM_(Fact|Mod)/", "--benchmark_format=json", "--benchmark_min_time=0.5"],
        check=True, capture_output=True, text=True).stdout
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    return {b["name"]: b["cpu_time"] * unit[b["time_unit"]] for b in json.loads(out)["benchmarks"]}


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    ours = decimora_rows(build_dir)
    print(f"{'row':<18} {'Decimora':>12} {'Python':>12} {'ratio':>7}  Python does")
    for name, (label, work) in python_rows().items():
        if name not in ours:
            continue
        py = python_seconds(work)
        print(f"{name:<18} {ours[name] * 1e3:>9.3f} ms {py * 1e3:>9.3f} ms {ours[name] / py:>7.2f}  {label}")


if __name__ == "__main__":
    main()
