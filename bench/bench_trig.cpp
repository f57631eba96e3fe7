// Timings of the trigonometric and inverse trigonometric worksheet
// functions, through the class methods as the host calls them:
// dcmSIN(1), dcmCOS(1), dcmTAN(1), dcmATAN("0.5"), dcmASIN("0.5") at maxSD
// 100, 1,000 and 10,000.
//
//   bench_trig                              all rows
//   bench/compare_trig.py BUILD_DIR         the same work in Python (decimal, mpmath), with ratios

#include <benchmark/benchmark.h>

#include <string>

#include "api/cls_decimora.h"
#include "bench/bench_support.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;

using decimora::bench::Facade;

using Method = Value (cls_Decimora::*)(const Value&, const Value&);

void Run(benchmark::State& state, Method method, const char* num) {
  cls_Decimora& dcm = Facade();
  const Value x = Value::Text(num);
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize((dcm.*method)(x, maxSD));
}

void BM_Sin(benchmark::State& state) { Run(state, &cls_Decimora::dcmSIN, "1"); }
void BM_Cos(benchmark::State& state) { Run(state, &cls_Decimora::dcmCOS, "1"); }
void BM_Tan(benchmark::State& state) { Run(state, &cls_Decimora::dcmTAN, "1"); }
void BM_ATan(benchmark::State& state) { Run(state, &cls_Decimora::dcmATAN, "0.5"); }
void BM_ASin(benchmark::State& state) { Run(state, &cls_Decimora::dcmASIN, "0.5"); }

#define TRIG_ROWS(bm)                                                              \
  BENCHMARK(bm)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);               \
  BENCHMARK(bm)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond)

TRIG_ROWS(BM_Sin);
TRIG_ROWS(BM_Cos);
TRIG_ROWS(BM_Tan);
TRIG_ROWS(BM_ATan);
TRIG_ROWS(BM_ASin);

}  // namespace
