// Time per worksheet call of the fraction family: the greatest common divisor
// of two long integers. Operands are built once; each iteration is one call
// through the facade, result text included.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using decimora::Value;

using decimora::bench::Facade;
using decimora::bench::RandomDigits;

// dcmGCD of two random integers of n digits (Euclid's algorithm through the
// remainder worker, every step exact).
void BM_GCD(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::vector<Value> list = {Value::Text(RandomDigits(n, 7)), Value::Text(RandomDigits(n, 8))};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmGCD(list));
}
BENCHMARK(BM_GCD)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
