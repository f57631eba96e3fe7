// Timings of dcmPOISSON, cumulative, through the class method as the host
// calls it: a short sum and a sum of a thousand terms, each at the default
// maxSD (100) and at 1,000.
//
//   bench_poisson                              all rows
//   bench/compare_poisson.py BUILD_DIR         the same sums in Python's decimal and mpmath, with ratios

#include <benchmark/benchmark.h>

#include "api/cls_decimora.h"
#include "bench/bench_support.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;
using decimora::bench::Facade;

const Value kNone;

void BM_PoissonCumulative(benchmark::State& state, const char* k, const char* lambda, double maxSD) {
  cls_Decimora& dcm = Facade();
  const Value K = Value::Text(k);
  const Value L = Value::Text(lambda);
  const Value sd = Value::Number(maxSD);
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmPOISSON(K, L, Value::Bool(true), kNone, sd));
}
BENCHMARK_CAPTURE(BM_PoissonCumulative, 2_3_sd100, "2", "3", 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PoissonCumulative, 2_3_sd1000, "2", "3", 1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PoissonCumulative, 1000_900.5_sd100, "1000", "900.5", 100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PoissonCumulative, 1000_900.5_sd1000, "1000", "900.5", 1000)->Unit(benchmark::kMillisecond);
// The largest sum the factorial allows, at the default maxSD.
BENCHMARK_CAPTURE(BM_PoissonCumulative, 9273_3_sd100, "9273", "3", 100)->Unit(benchmark::kMillisecond);

}  // namespace
