// Cut-over points of the natural-number kernels, in one place.
//
// All sizes are counted in limbs of nine decimal digits. Each value was chosen
// by measurement on the development machine (bench/bench_natural.cpp and the
// threshold sweeps noted beside each constant); re-measure before changing.
#pragma once

#include <cstddef>

namespace decimora::engine::tuning {

// Below this many limbs in the shorter operand, multiplication is schoolbook;
// from here on Karatsuba splits the operands. The schoolbook loop sums
// products in 64-bit columns without carries and vectorises, so it stays
// ahead for long: with this cut-over Karatsuba at 10,000 digits took 231 us
// against 295 us with 80 limbs and 311 us with 40.
inline constexpr std::size_t kKaratsubaThreshold = 140;

// From this many limbs in the shorter operand on, multiplication goes through
// the three-prime number-theoretic transform. The transform's cost moves in
// steps (its length is a power of two): 362 us from 1,112 to 2,047 limbs,
// where Karatsuba takes 231 us at 1,112 limbs (10,000 digits) and 492 us at
// 1,667 (15,000 digits). They cross near 1,400 limbs, 12,600 digits.
inline constexpr std::size_t kNttThreshold = 1400;

// Divisors (and quotients) shorter than this use schoolbook long division
// (Knuth's algorithm D); when both are longer, a Newton reciprocal and fast
// multiplication. Dividing 2n by n digits, long division takes 134 us and
// Newton 153 us at n = 1,350; at n = 1,800 it is 298 us against 163 us.
inline constexpr std::size_t kNewtonDivisionThreshold = 160;

// The Newton reciprocal recursion bottoms out in an exact schoolbook
// division once the working precision is this small. A reciprocal of 1,000
// digits (112 limbs) took 62 us of a whole dcmDIVIDE with 100 here and 48 to
// 54 us with 40; 24 and 32 were no better.
inline constexpr std::size_t kReciprocalBaseLimbs = 40;

}  // namespace decimora::engine::tuning
