// Time per worksheet call of the fraction family: the greatest common
// divisor, least common multiple and fraction reduction of long integers,
// and the least common multiple of long lists. Operands are built once; each
// iteration is one call through the facade, result text included.
//
// The operands come from the generator that compare_fraction.py reproduces,
// so Python works on the very same numbers.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "engine/natural.h"

namespace {

using decimora::Value;

using decimora::bench::Facade;
using decimora::bench::OperandDigits;

std::vector<Value> Pair(std::size_t n) {
  return {Value::Text(OperandDigits(n, 7)), Value::Text(OperandDigits(n, 8))};
}

// dcmGCD of two random integers of n digits (Lehmer's method on limbs).
void BM_GCD(benchmark::State& state) {
  const std::vector<Value> list = Pair(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmGCD(list));
}
BENCHMARK(BM_GCD)->Arg(100)->Arg(1000)->Arg(32767)->Unit(benchmark::kMillisecond);

// The same pair of 32,767-digit numbers: their least common multiple (too
// long for a cell: #NUM! once the divisor is known) and their reduced
// fraction (the 4 x 4 array).
void BM_LCM(benchmark::State& state) {
  const std::vector<Value> list = Pair(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmLCM(list));
}
BENCHMARK(BM_LCM)->Arg(32767)->Unit(benchmark::kMillisecond);

void BM_ReduceFraction(benchmark::State& state) {
  const std::vector<Value> list = Pair(static_cast<std::size_t>(state.range(0)));
  const Value none;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Facade().dcmREDUCEFRACTION(list[0], list[1], none, none, none, none, none, none));
  }
}
BENCHMARK(BM_ReduceFraction)->Arg(32767)->Unit(benchmark::kMillisecond);

// dcmGCD of the consecutive Fibonacci numbers F(156001) and F(156000), of
// 32,602 digits: every quotient of Euclid's algorithm is 1.
void BM_GCDFibonacci(benchmark::State& state) {
  decimora::engine::Natural a(0), b(1);
  for (int k = 0; k < 156000; ++k) {
    decimora::engine::Natural c = decimora::engine::Add(a, b);
    a = std::move(b);
    b = std::move(c);
  }
  // Now a = F(156000) and b = F(156001).
  const std::vector<Value> list = {Value::Text(b.ToDigits()), Value::Text(a.ToDigits())};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmGCD(list));
}
BENCHMARK(BM_GCDFibonacci)->Unit(benchmark::kMillisecond);

// dcmLCM of `count` integers of 20 digits; with 2,000 of them the multiple
// passes a cell near the 1,650th and the answer is #NUM!.
void BM_LCMList(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  std::vector<Value> list;
  for (std::size_t i = 0; i < count; ++i) list.push_back(Value::Text(OperandDigits(20, 100 + i)));
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmLCM(list));
}
BENCHMARK(BM_LCMList)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
