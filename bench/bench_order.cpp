// Time per worksheet call of sorting and order statistics over 100,000
// values of 30 digits (20 before the separator, 10 after, mixed signs), as
// one range (a column of cells): dcmSORT, dcmMEDIAN, dcmLARGE with k = 1,
// and dcmMODE of values drawn from 10,000 distinct ones.
// Operands are built once; each iteration is one call through the facade,
// result included.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using decimora::Value;

using decimora::bench::Facade;
using decimora::bench::RandomDigits;

std::string RandomValue(std::mt19937& rng) {
  std::string v = RandomDigits(30, rng());
  v.insert(20, 1, '.');
  if (rng() % 2 == 0) v.insert(0, 1, '-');
  return v;
}

// A column of `count` values; with `distinct` > 0 each is drawn from that
// many distinct values.
Value Column(std::size_t count, std::size_t distinct) {
  std::mt19937 rng(9);
  std::vector<std::string> pool;
  for (std::size_t i = 0; i < distinct; ++i) pool.push_back(RandomValue(rng));
  decimora::Array column(count, 1);
  for (std::size_t i = 1; i <= count; ++i) {
    column.at(i, 1) = Value::Text(distinct > 0 ? pool[rng() % distinct] : RandomValue(rng));
  }
  return Value::FromArray(std::move(column));
}

void BM_SORT(benchmark::State& state) {
  const Value range = Column(static_cast<std::size_t>(state.range(0)), 0);
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmSORT(range));
}
BENCHMARK(BM_SORT)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MEDIAN(benchmark::State& state) {
  const std::vector<Value> list = {Column(static_cast<std::size_t>(state.range(0)), 0)};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmMEDIAN(list));
}
BENCHMARK(BM_MEDIAN)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MODE(benchmark::State& state) {
  const std::vector<Value> list = {Column(static_cast<std::size_t>(state.range(0)), 10000)};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmMODE(list));
}
BENCHMARK(BM_MODE)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LARGE(benchmark::State& state) {
  const Value range = Column(static_cast<std::size_t>(state.range(0)), 0);
  const Value k = Value::Text("1");
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmLARGE(range, k));
}
BENCHMARK(BM_LARGE)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
