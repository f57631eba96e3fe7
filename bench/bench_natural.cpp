// Timings of the multiplication and division kernels.
//
//   bench_natural                                   the standard sizes
//   bench_natural --benchmark_filter=Sweep          threshold sweeps per method
//
// Sizes are decimal digits of each operand.

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "bench/bench_support.h"
#include "engine/multiply.h"
#include "engine/natural.h"

namespace {

using decimora::engine::Natural;

using decimora::bench::RandomDigits;

Natural RandomNatural(std::size_t digits, std::uint64_t seed) {
  return *Natural::FromDigits(RandomDigits(digits, seed));
}

// The whole text path: parse, multiply, write digits.
void BM_MultiplyDigitStrings(benchmark::State& state) {
  const std::string a = RandomDigits(static_cast<std::size_t>(state.range(0)), 1);
  const std::string b = RandomDigits(static_cast<std::size_t>(state.range(1)), 2);
  for (auto _ : state) benchmark::DoNotOptimize(decimora::engine::MultiplyDigitStrings(a, b));
}
BENCHMARK(BM_MultiplyDigitStrings)
    ->Args({100, 100})
    ->Args({1000, 1000})
    ->Args({10000, 10000})
    ->Args({32767, 32767})
    ->Args({100000, 100000})
    ->Args({7, 30000})
    ->Args({1000, 30000})
    ->Unit(benchmark::kMicrosecond);

// Limbs only, by method; used to place the cut-overs of engine/tuning.h.
template <Natural (*Method)(const Natural&, const Natural&)>
void BM_Sweep(benchmark::State& state) {
  const Natural a = RandomNatural(static_cast<std::size_t>(state.range(0)), 3);
  const Natural b = RandomNatural(static_cast<std::size_t>(state.range(0)), 4);
  for (auto _ : state) benchmark::DoNotOptimize(Method(a, b));
}
BENCHMARK(BM_Sweep<decimora::engine::multiply_schoolbook>)
    ->Name("Sweep/schoolbook")
    ->DenseRange(180, 720, 90)
    ->DenseRange(900, 2700, 450)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sweep<decimora::engine::multiply_karatsuba>)
    ->Name("Sweep/karatsuba")
    ->DenseRange(180, 720, 90)
    ->DenseRange(900, 3600, 450)
    ->DenseRange(5000, 20000, 5000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Sweep<decimora::engine::multiply_ntt>)
    ->Name("Sweep/ntt")
    ->DenseRange(900, 3600, 450)
    ->DenseRange(5000, 20000, 5000)
    ->Unit(benchmark::kMicrosecond);

void BM_Divide(benchmark::State& state) {
  const Natural a = RandomNatural(static_cast<std::size_t>(state.range(0)), 5);
  const Natural b = RandomNatural(static_cast<std::size_t>(state.range(1)), 6);
  for (auto _ : state) benchmark::DoNotOptimize(decimora::engine::Divide(a, b));
}
BENCHMARK(BM_Divide)->Args({66000, 33000})->Args({2000, 1000})->Args({30000, 1500})->Unit(benchmark::kMicrosecond);

template <decimora::engine::DivisionResult (*Method)(const Natural&, const Natural&)>
void BM_DivideSweep(benchmark::State& state) {
  const Natural a = RandomNatural(static_cast<std::size_t>(2 * state.range(0)), 7);
  const Natural b = RandomNatural(static_cast<std::size_t>(state.range(0)), 8);
  for (auto _ : state) benchmark::DoNotOptimize(Method(a, b));
}
BENCHMARK(BM_DivideSweep<decimora::engine::divide_schoolbook>)
    ->Name("Sweep/divide_schoolbook")
    ->Arg(540)->Arg(900)->Arg(1350)->Arg(1800)->Arg(3600)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DivideSweep<decimora::engine::divide_newton>)
    ->Name("Sweep/divide_newton")
    ->Arg(540)->Arg(900)->Arg(1350)->Arg(1800)->Arg(3600)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
