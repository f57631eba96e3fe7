#!/usr/bin/env python3
"""Runs whole batches through the built `decimora` command next to Python's
decimal module doing the same work, and prints the ratios.

    python3 bench/compare_cli.py [BUILD_DIR] [--quick] [--only NAME ...]

Each row writes N formulas such as dcmADD(a,b,,,,,D) to a file (one per
line, the operands as bare numbers) and times `BUILD_DIR/decimora < file >
out`: start-up, reading, parsing, the work, composing and writing included.
Python's side reads the same operands as lines of text, makes Decimal()s,
operates with the context precision equal to maxSD, and writes str() of each
result as a line; its time starts after the interpreter is up, so its
start-up is left out (ours is not). Both sides are timed in CPU time of the
process (user + system), three runs each, interleaved; the ratio is
median(Decimora) / median(Python). Below 1: Decimora is faster.
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile

# Python's side, run as its own process so both sides read and write files.
PYTHON_WORKER = r"""
import decimal, sys, time
op, prec, src, dst = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
start = time.process_time()
ctx = decimal.Context(prec=prec, Emax=decimal.MAX_EMAX, Emin=decimal.MIN_EMIN,
                      rounding=decimal.ROUND_HALF_UP)
decimal.setcontext(ctx)
D = decimal.Decimal
out = []
with open(src) as f:
    for line in f:
        a, _, b = line.rstrip("\n").partition(" ")
        if op == "add":
            r = str(ctx.add(D(a), D(b)))
        elif op == "subtract":
            r = str(ctx.subtract(D(a), D(b)))
        elif op == "multiply":
            r = str(ctx.multiply(D(a), D(b)))
        elif op == "divide":
            r = str(ctx.divide(D(a), D(b)))
        elif op == "compare":
            r = "TRUE" if D(a) < D(b) else "FALSE"
        elif op == "format":  # thousands grouped
            r = format(ctx.plus(D(a)), ",")
        else:  # format: plain
            r = str(ctx.plus(D(a)))
        out.append(r)
with open(dst, "w") as f:
    f.write("\n".join(out))
    f.write("\n")
sys.stdout.write(repr(time.process_time() - start))
"""

FUNCTION = {"add": "dcmADD", "subtract": "dcmSUBTRACT", "multiply": "dcmMULTIPLY",
            "divide": "dcmDIVIDE", "compare": "dcmISLESS", "format": "dcmFORMAT",
            "plainformat": "dcmFORMAT"}

# (operation, digits per operand, formulas in the batch, target ratio)
ROWS = [
    ("add", 1000, 20000, 1.0),
    ("add", 32767, 1000, 1.0),
    ("subtract", 1000, 20000, 1.0),
    ("subtract", 32767, 1000, 1.0),
    ("compare", 1000, 20000, 1.0),
    ("compare", 32767, 1000, 1.0),
    ("format", 1000, 20000, 1.0),
    ("format", 24000, 1000, 1.0),
    ("plainformat", 32767, 1000, 1.0),
    ("multiply", 1000, 3000, 0.8),
    ("multiply", 10000, 300, 0.8),
    ("divide", 1000, 3000, 1.0),
    ("divide", 10000, 200, 0.8),
]


def random_digits(n, rng):
    return rng.choice("123456789") + "".join(rng.choices("0123456789", k=n - 1))


def operands(op, n, rng):
    """Two operand texts of n digits: a decimal point in the middle for the
    linear rows; integers for multiply and divide. compare gets two numbers
    that differ only in the last digit, so the whole text is read."""
    a = random_digits(n, rng)
    if op in ("multiply", "divide"):
        return a, random_digits(n, rng)
    a = a[: n // 2] + "." + a[n // 2:]
    if op == "compare":
        last = a[-1]
        return a, a[:-1] + ("8" if last == "9" else chr(ord(last) + 1))
    b = random_digits(n, rng)
    return a, b[: n // 2] + "." + b[n // 2:]


def formula(op, a, b, n):
    if op == "compare":
        return f"dcmISLESS({a},{b})"
    if op == "format":
        return f"dcmFORMAT({a},,TRUE,,,{n})"
    if op == "plainformat":
        return f"dcmFORMAT({a},,,,,{n})"
    return f"{FUNCTION[op]}({a},{b},,,,,{n})"


def cpu_of_child(argv, stdin_path, stdout_path, env=None):
    """User + system CPU seconds of one run of argv."""
    with open(stdin_path, "rb") as fin, open(stdout_path, "wb") as fout:
        proc = subprocess.Popen(argv, stdin=fin, stdout=fout, env=env)
        _, status, usage = os.wait4(proc.pid, 0)
        proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != 0:
        sys.exit(f"{argv[0]} failed with status {proc.returncode}")
    return usage.ru_utime + usage.ru_stime


def run_row(binary, workdir, env, op, n, lines, rng):
    pairs = [operands(op, n, rng) for _ in range(lines)]
    batch = os.path.join(workdir, "batch.txt")
    plain = os.path.join(workdir, "pairs.txt")
    with open(batch, "w") as f:
        f.writelines(formula(op, a, b, n) + "\n" for a, b in pairs)
    with open(plain, "w") as f:
        f.writelines(f"{a} {b}\n" for a, b in pairs)
    ours_out = os.path.join(workdir, "ours.txt")
    py_out = os.path.join(workdir, "python.txt")
    ours, py = [], []
    for _ in range(3):
        ours.append(cpu_of_child([binary], batch, ours_out, env))
        py.append(float(subprocess.run(
            [sys.executable, "-c", PYTHON_WORKER, op, str(n), plain, py_out],
            check=True, capture_output=True, text=True).stdout))
    with open(ours_out) as f:
        results = f.read().split("\n")
    if len(results) != lines + 1 or any(r.startswith("#") or not r for r in results[:-1]):
        sys.exit(f"{op} {n}: unexpected output from decimora")
    return statistics.median(ours), statistics.median(py)


def main():
    args = sys.argv[1:]
    quick = "--quick" in args
    only = []
    if "--only" in args:
        only = args[args.index("--only") + 1:]
        args = args[: args.index("--only")]
    args = [a for a in args if a != "--quick"]
    build_dir = args[0] if args else "build"
    binary = os.path.abspath(os.path.join(build_dir, "decimora"))
    if not os.path.exists(binary):
        sys.exit(f"no {binary}: build the decimora target first")
    rng = random.Random(20261207)
    print(f"{'work':<30} {'lines':>6} {'Decimora':>10} {'Python':>10} {'ratio':>6} {'target':>7}")
    with tempfile.TemporaryDirectory(prefix="decimora-batch-") as workdir:
        env = dict(os.environ, XDG_CONFIG_HOME=workdir)  # keep away from the user's settings
        for op, n, lines, target in ROWS:
            if only and op not in only:
                continue
            if quick:
                lines = max(lines // 5, 20)
            ours, py = run_row(binary, workdir, env, op, n, lines, rng)
            ratio = ours / py
            mark = "" if ratio <= target else "  over"
            label = f"{FUNCTION[op]} {n:,} digits" + (" grouped" if op == "format" else "")
            print(f"{label:<30} {lines:>6} {ours:>8.3f} s {py:>8.3f} s {ratio:>6.2f} {target:>7.1f}{mark}",
                  flush=True)


if __name__ == "__main__":
    main()
