#!/usr/bin/env python3
"""Writes the stored digits of pi, e, ln 2 and ln 10 into constants/.

Run once:  tools/generate_constants.py   (needs python3-mpmath)

Each file holds one line: the leading digit, ".", and the decimals.
  pi, e    32,766 decimals, the last one rounded half up on the digits that follow
  ln 2     40,050 decimals, truncated
  ln 10    41,000 decimals, truncated
The library compiles these files in (see constants/README.md); the tests
check them against MPFR, a different implementation.
"""
import pathlib
import sys

import mpmath

sys.set_int_max_str_digits(0)

root = pathlib.Path(__file__).resolve().parent.parent
GUARD = 60  # decimals computed beyond the stored ones


def decimals(value, count):
    """floor(value * 10^count) as a digit string with its leading digit, and the next GUARD digits."""
    scaled = mpmath.floor(value * mpmath.mpf(10) ** (count + GUARD))
    text = str(int(scaled)).zfill(count + 1 + GUARD)
    return text[: -GUARD], text[-GUARD:]


def stored(name, value, count, rounded):
    digits, following = decimals(value, count)
    # A run of 0s or 9s as long as the guard would leave the cut undecided.
    assert following.strip("0") and following.strip("9"), name
    if rounded and following[0] >= "5":
        digits = str(int(digits) + 1).zfill(len(digits))
    assert len(digits) == count + 1, name
    (root / "constants" / f"{name}.txt").write_text(digits[0] + "." + digits[1:] + "\n")


mpmath.mp.dps = 41_000 + 2 * GUARD
stored("pi", mpmath.pi, 32_766, True)
stored("e", mpmath.e, 32_766, True)
stored("ln2", mpmath.log(2), 40_050, False)
stored("ln10", mpmath.log(10), 41_000, False)
