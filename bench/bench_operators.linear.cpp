// Time per worksheet call of the text-linear functions, on operands of 100
// to 32,767 digits. Operands are built once; each iteration is one call
// through the facade, result text included.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"

namespace {

using decimora::Value;

using decimora::bench::Facade;

std::string RandomNumber(std::size_t digits, unsigned seed) {
  std::string s = decimora::bench::RandomDigits(digits, seed);
  // A decimal point in the middle exercises the alignment.
  if (digits > 2) s.insert(digits / 2, 1, '.');
  return s;
}

const Value kNone;
Value MaxSD(std::size_t digits) { return Value::Number(static_cast<double>(digits)); }

void BM_dcmADD(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const Value a = Value::Text(RandomNumber(n, 1));
  const Value b = Value::Text(RandomNumber(n, 2));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Facade().dcmADD(a, b, kNone, kNone, kNone, kNone, MaxSD(n)));
  }
}

void BM_dcmSUBTRACT(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const Value a = Value::Text(RandomNumber(n, 3));
  const Value b = Value::Text(RandomNumber(n, 4));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Facade().dcmSUBTRACT(a, b, kNone, kNone, kNone, kNone, MaxSD(n)));
  }
}

void BM_dcmFORMAT_grouped(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const Value a = Value::Text(RandomNumber(n, 5));
  for (auto _ : state) {
    benchmark::DoNotOptimize(Facade().dcmFORMAT(a, kNone, Value::Bool(true), kNone, kNone, MaxSD(n)));
  }
}

void BM_dcmISLESS(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  const std::string base = RandomNumber(n, 6);
  std::string other = base;
  other.back() = other.back() == '9' ? '8' : static_cast<char>(other.back() + 1);  // differs in the last digit
  const Value a = Value::Text(base);
  const Value b = Value::Text(other);
  for (auto _ : state) {
    benchmark::DoNotOptimize(Facade().dcmISLESS(a, b));
  }
}

#define DIGIT_SIZES Arg(100)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_dcmADD)->DIGIT_SIZES;
BENCHMARK(BM_dcmSUBTRACT)->DIGIT_SIZES;
BENCHMARK(BM_dcmFORMAT_grouped)->DIGIT_SIZES;
BENCHMARK(BM_dcmISLESS)->DIGIT_SIZES;

}  // namespace
