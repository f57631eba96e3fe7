#!/usr/bin/env python3
"""Times the rows of bench_fraction next to Python doing the same work
(text in, text out), and prints the ratios.

    python3 bench/compare_fraction.py [BUILD_DIR]     (default: build)

Both sides are timed in CPU time (bench/sidebyside.py); a ratio below 1
means Decimora is faster. Both sides work on the same numbers
(compare_operators.operand_digits, and the same Fibonacci pair).
"""
import functools
import math
import sys

from compare_operators import operand_digits
from sidebyside import decimora_seconds, print_ratios

sys.set_int_max_str_digits(0)


def python_rows():
    pairs = {n: (operand_digits(n, 7), operand_digits(n, 8)) for n in (100, 1000, 32767)}
    fib_a, fib_b = 0, 1
    for _ in range(156000):
        fib_a, fib_b = fib_b, fib_a + fib_b
    fib = (str(fib_b), str(fib_a))
    lists = {count: [operand_digits(20, 100 + i) for i in range(count)] for count in (1000, 2000)}

    def gcd(a, b):
        return lambda: str(math.gcd(int(a), int(b)))

    def lcm(a, b):
        return lambda: str(math.lcm(int(a), int(b)))

    def reduce_fraction(a, b):
        def work():
            x, y = int(a), int(b)
            g = math.gcd(x, y)
            return str(x // g), str(y // g), str(g)
        return work

    def lcm_list(texts):
        return lambda: str(functools.reduce(math.lcm, map(int, texts)))

    return {
        "BM_GCD/100": ("str(math.gcd(int(a), int(b))), 100 digits", gcd(*pairs[100])),
        "BM_GCD/1000": ("the same, 1,000 digits", gcd(*pairs[1000])),
        "BM_GCD/32767": ("the same, 32,767 digits", gcd(*pairs[32767])),
        "BM_LCM/32767": ("str(math.lcm(int(a), int(b))), 32,767 digits", lcm(*pairs[32767])),
        "BM_ReduceFraction/32767": ("a // g, b // g and g as text, 32,767 digits", reduce_fraction(*pairs[32767])),
        "BM_GCDFibonacci": ("str(math.gcd(F(156001), F(156000)))", gcd(*fib)),
        "BM_LCMList/1000": ("str(reduce(math.lcm, 1,000 ints of 20 digits))", lcm_list(lists[1000])),
        "BM_LCMList/2000": ("the same, 2,000 ints", lcm_list(lists[2000])),
    }


def main():
    build_dir = sys.argv[1] if len(sys.argv) > 1 else "build"
    print_ratios(decimora_seconds(build_dir, "bench_fraction"), python_rows())


if __name__ == "__main__":
    main()
