// Time per worksheet call of the list functions: the greatest common divisor
// of two long integers, and the sum of a list of 1,000 values of 30 digits.
// Operands are built once; each iteration is one call through the facade,
// result text included.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "host/cls_decimora.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;

std::string RandomDigits(std::size_t digits, std::mt19937& rng) {
  std::string s(digits, '0');
  for (char& c : s) c = static_cast<char>('0' + rng() % 10);
  s[0] = static_cast<char>('1' + rng() % 9);
  return s;
}

cls_Decimora& Facade() {
  // Keep the benchmark away from the user's own settings file.
  static const bool configured = [] {
    ::setenv("XDG_CONFIG_HOME", "/tmp/decimora-bench-config", 1);
    return true;
  }();
  (void)configured;
  static cls_Decimora dcm;
  return dcm;
}

// dcmGCD of two random integers of n digits (Euclid's algorithm through the
// remainder worker, every step exact).
void BM_GCD(benchmark::State& state) {
  const auto n = static_cast<std::size_t>(state.range(0));
  std::mt19937 rng(7);
  const std::vector<Value> list = {Value::Text(RandomDigits(n, rng)), Value::Text(RandomDigits(n, rng))};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmGCD(list));
}
BENCHMARK(BM_GCD)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// dcmSUM2 of `count` values of 30 digits, 20 before the separator and 10
// after, with mixed signs, as one range (a column of cells).
void BM_SUM2(benchmark::State& state) {
  const auto count = static_cast<std::size_t>(state.range(0));
  std::mt19937 rng(9);
  decimora::Array column(count, 1);
  for (std::size_t i = 1; i <= count; ++i) {
    std::string v = RandomDigits(30, rng);
    v.insert(20, 1, '.');
    if (rng() % 2 == 0) v.insert(0, 1, '-');
    column.at(i, 1) = Value::Text(std::move(v));
  }
  const std::vector<Value> list = {Value::FromArray(std::move(column))};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmSUM2(list));
}
BENCHMARK(BM_SUM2)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
