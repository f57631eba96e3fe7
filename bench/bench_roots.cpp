// Timings of the roots through the class methods, as the host calls them
// (argument reading, the iteration, composing): dcmSQRT, dcmROOT and the
// fractional powers of dcmPOWER.
//
//   bench_roots                                all rows
//   bench/compare_roots.py BUILD_DIR           the same work in Python's decimal (and mpmath), with ratios

#include <benchmark/benchmark.h>

#include <string>

#include "api/cls_decimora.h"
#include "bench/bench_support.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;

const Value kNone;
using decimora::bench::Facade;

// dcmSQRT(2) at maxSD n: n + 1 significant digits.
void BM_Sqrt2(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value two = Value::Text("2");
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmSQRT(two, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_Sqrt2)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);

// dcmPOWER(2, 0.5) at maxSD n: the square root of 2 raised to 1, n + 2 digits.
void BM_PowerHalf(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        dcm.dcmPOWER(Value::Text("2"), Value::Text("0.5"), kNone, kNone, kNone, kNone, maxSD));
  }
}
BENCHMARK(BM_PowerHalf)->Arg(1000)->Unit(benchmark::kMillisecond);

// dcmROOT(10, 3) at maxSD n: Newton's general step, n + 2 digits.
void BM_CubeRoot10(benchmark::State& state) {
  cls_Decimora& dcm = Facade();
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(dcm.dcmROOT(Value::Text("10"), Value::Text("3"), kNone, kNone, kNone, kNone, maxSD));
  }
}
BENCHMARK(BM_CubeRoot10)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
