// Time per worksheet call of the aggregates: the sum of a list of 1,000
// values of 30 digits.
// Operands are built once; each iteration is one call through the facade,
// result text included.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using decimora::Value;

using decimora::bench::Facade;
using decimora::bench::RandomDigits;

// dcmSUM2 of `count` values of 30 digits, 20 before the separator and 10
// after, with mixed signs, as one range (a column of cells).
void BM_SUM2(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  std::mt19937 rng(9);
  decimora::Array column(count, 1);
  for (std::size_t i = 1; i <= count; ++i) {
    std::string v = RandomDigits(30, rng());
    v.insert(20, 1, '.');
    if (rng() % 2 == 0) v.insert(0, 1, '-');
    column.at(i, 1) = Value::Text(std::move(v));
  }
  const std::vector<Value> list = {Value::FromArray(std::move(column))};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmSUM2(list));
}
BENCHMARK(BM_SUM2)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
