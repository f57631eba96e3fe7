// Timings of dcmMULTIPLY, dcmDIVIDE and dcmPOWER through the class methods as
// the host calls them (texts in, reading, the operation, composing the text).
//
//   bench_operators                              all rows
//   bench/compare_operators.py BUILD_DIR            the same work in Python's decimal, with ratios
//
// Operands are random digits from a 64-bit linear congruential generator that
// compare_operators.py reproduces, so that both sides work on the same numbers.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "api/cls_decimora.h"
#include "bench/bench_support.h"

namespace {

using decimora::cls_Decimora;
using decimora::Value;

const Value kNone;

using decimora::bench::OperandDigits;

void BM_Multiply(benchmark::State& state) {
  cls_Decimora& dcm = decimora::bench::Facade();
  const auto n = static_cast<std::size_t>(state.range(0));
  const Value a = Value::Text(OperandDigits(n, 1));
  const Value b = Value::Text(OperandDigits(n, 2));
  const Value maxSD = Value::Number(static_cast<double>(n));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmMULTIPLY(a, b, kNone, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_Multiply)->Arg(100)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMicrosecond);

void BM_Divide(benchmark::State& state) {
  cls_Decimora& dcm = decimora::bench::Facade();
  const auto n = static_cast<std::size_t>(state.range(0));
  const Value a = Value::Text(OperandDigits(n, 1));
  const Value b = Value::Text(OperandDigits(n, 2));
  const Value maxSD = Value::Number(static_cast<double>(n));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmDIVIDE(a, b, kNone, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_Divide)->Arg(100)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMicrosecond);

// dcmPOWER(1.0001, 1000) at maxSD = the argument.
void BM_Power(benchmark::State& state) {
  cls_Decimora& dcm = decimora::bench::Facade();
  const Value base = Value::Text("1.0001");
  const Value exponent = Value::Text("1000");
  const Value maxSD = Value::Number(static_cast<double>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmPOWER(base, exponent, kNone, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_Power)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

// dcmPOWER("1.0...01" with 999 zeros, an exponent of n random digits) at
// maxSD 32,767: a power that fits a cell after thousands of full-length
// products, most of them squarings.
void BM_PowerNearOne(benchmark::State& state) {
  cls_Decimora& dcm = decimora::bench::Facade();
  const Value base = Value::Text("1." + std::string(999, '0') + "1");
  const Value exponent = Value::Text(OperandDigits(static_cast<std::size_t>(state.range(0)), 3));
  const Value maxSD = Value::Number(32767);
  for (auto _ : state) benchmark::DoNotOptimize(dcm.dcmPOWER(base, exponent, kNone, kNone, kNone, kNone, maxSD));
}
BENCHMARK(BM_PowerNearOne)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
