// Cut-over points of the natural-number kernels, in one place.
//
// All sizes are counted in limbs of nine decimal digits. Each value was chosen
// by measurement on the development machine (bench/bench_multiply.cpp and the
// threshold sweeps noted beside each constant); re-measure before changing.
#pragma once

#include <cstddef>

namespace decimora::engine::tuning {

// Below this many limbs in the shorter operand, multiplication is schoolbook;
// from here on Karatsuba splits the operands. (Sweep: schoolbook with deferred
// carries beats Karatsuba up to about 40 limbs, 360 digits.)
inline constexpr std::size_t kKaratsubaThreshold = 40;

// From this many limbs in the shorter operand on, multiplication goes through
// the three-prime number-theoretic transform. (Sweep: Karatsuba and the
// transform break even near 150 limbs, 1,350 digits.)
inline constexpr std::size_t kNttThreshold = 150;

// An operand at least this many times longer than the other is cut into
// pieces of the short one's size, so the cost stays linear in the long one.
inline constexpr std::size_t kUnbalancedRatio = 2;

// Divisors shorter than this use schoolbook long division (Knuth's
// algorithm D); longer ones use a Newton reciprocal and fast multiplication.
inline constexpr std::size_t kNewtonDivisionThreshold = 120;

// The Newton reciprocal recursion bottoms out in an exact schoolbook
// division once the working precision is this small.
inline constexpr std::size_t kReciprocalBaseLimbs = 60;

}  // namespace decimora::engine::tuning
