"""What the side-by-side scripts share: the CPU time of Python's side, the
figures of our Google Benchmark programs, and the table of ratios.

Both sides are measured in CPU time of the process, so that other work on a
shared machine disturbs the figures less. A ratio below 1 means Decimora is
faster.
"""
import json
import os
import subprocess
import sys
import time


def python_seconds(work, min_total=0.5, repeats=5):
    """Best mean CPU time of one call of work() over a few repeats."""
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


def decimora_seconds(build_dir, program, *args):
    """CPU seconds per iteration of every row of bench/<program>."""
    binary = os.path.join(build_dir, "bench", program)
    if not os.path.exists(binary):
        sys.exit(f"no {binary}: build the {program} target first")
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_min_time=0.5", *args],
                         check=True, capture_output=True, text=True).stdout
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    # A row run a fixed number of times is named ".../iterations:N".
    return {b["name"].split("/iterations:")[0]: b["cpu_time"] * unit[b["time_unit"]]
            for b in json.loads(out)["benchmarks"]}


def print_ratios(ours, rows):
    """rows: benchmark name -> (what Python does, work)."""
    print(f"{'row':<18} {'Decimora':>12} {'Python':>12} {'ratio':>7}  Python does")
    for name, (label, work) in rows.items():
        if name not in ours:
            continue
        py = python_seconds(work)
        print(f"{name:<18} {ours[name] * 1e3:>9.3f} ms {py * 1e3:>9.3f} ms {ours[name] / py:>7.2f}  {label}")
