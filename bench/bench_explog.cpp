// Timings of the exponential and the logarithms through the class methods as
// the host calls them (argument reading, the series, composing).
//
//   bench_explog                                 all rows
//   bench/compare_explog.py BUILD_DIR            the same work in Python's decimal and mpmath, with ratios
//
// The rows at 32,767 digits run once (they take seconds).

#include <benchmark/benchmark.h>

#include <string>

#include "api/cls_decimora.h"
#include "bench/bench_support.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;
using decimora::bench::Facade;

const Value kNone;

// dcmEXP(1) at maxSD digits.
void BM_Exp(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmEXP(Value::Number(1), kNone, maxSD));
}
BENCHMARK(BM_Exp)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Exp)->Arg(32767)->Iterations(1)->Unit(benchmark::kMillisecond);

// dcmLN(3) at maxSD digits.
void BM_Ln(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmLN(Value::Number(3), kNone, maxSD));
}
BENCHMARK(BM_Ln)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ln)->Arg(32767)->Iterations(1)->Unit(benchmark::kMillisecond);

// dcmLOG(7) (base 10) at maxSD digits.
void BM_Log(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmLOG(Value::Number(7), kNone, kNone, maxSD));
}
BENCHMARK(BM_Log)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Log)->Arg(32767)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
