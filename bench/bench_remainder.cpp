// Timings of the factorial and remainder worksheet functions, through the
// class methods as the host calls them (argument reading, work, composing).
//
//   bench_remainder                              all rows
//   bench/compare_remainder.py BUILD_DIR         the same work timed in Python, with ratios

#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "api/cls_decimora.h"
#include "bench/bench_support.h"
#include "engine/operands.h"
#include "frame/calculate.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;

const Value kNone;

using decimora::bench::Facade;
using decimora::bench::RandomDigits;

// dcmFACT(n) with every digit kept (maxSD 32,767).
void BM_Fact(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value n = Value::Text(std::to_string(state.range(0)));
  const Value maxSD = Value::Number(32767);
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmFACT(n, kNone, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_Fact)->Arg(1000)->Arg(9273)->Unit(benchmark::kMillisecond);

// dcmFACT(n) at the default 100 significant digits: rounded at every step.
void BM_FactDefaultMaxSD(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value n = Value::Text(std::to_string(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmFACT(n));
}
BENCHMARK(BM_FactDefaultMaxSD)->Arg(9273)->Unit(benchmark::kMillisecond);

// For comparison: the same product as one dispatcher call per factor at full
// precision, each re-reading and re-composing the whole growing text.
void BM_FactThroughDispatcherPerFactor(benchmark::State& state) {
  const auto n = state.range(0);
  for (auto _ : state) {
    std::string product = "1";
    for (long k = 1; k <= n; ++k) {
      product = decimora::frame::CalculateText(decimora::engine::kMultiply, product, std::to_string(k), 32767);
    }
    benchmark::DoNotOptimize(product);
  }
}
BENCHMARK(BM_FactThroughDispatcherPerFactor)->Arg(1000)->Arg(9273)->Unit(benchmark::kMillisecond);

// dcmMOD of a 10,000-digit number by a 30-digit one, every digit kept.
void BM_Mod(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value a = Value::Text(RandomDigits(static_cast<std::size_t>(state.range(0)), 11));
  const Value b = Value::Text(RandomDigits(static_cast<std::size_t>(state.range(1)), 12));
  const Value maxSD = Value::Number(32767);
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmMOD(a, b, kNone, kNone, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_Mod)->Args({10000, 30})->Unit(benchmark::kMillisecond);

}  // namespace
