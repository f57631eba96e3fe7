// Time per worksheet call of the text functions on a cell's worth of text:
// an exclusion whose removals keep joining new occurrences, a number pulled
// out of grouped digits, and an extraction keeping units and numbers.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

using decimora::Value;
using decimora::bench::Facade;

// "((...))": each removal of "()" joins the next one.
void BM_EXCLUDE_Nested(benchmark::State& state) {
  const std::vector<Value> list = {Value::Text(std::string(16383, '(') + std::string(16383, ')')), Value::Text("()")};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmEXCLUDE(list));
}
BENCHMARK(BM_EXCLUDE_Nested)->Unit(benchmark::kMillisecond);

// 24,576 digits grouped in thousands (32,767 characters), the groups removed
// and the number scanned.
void BM_EXCLUDENOTNUM_Grouped(benchmark::State& state) {
  const std::string digits = decimora::bench::RandomDigits(24576, 5);
  std::string grouped = digits.substr(0, 3);
  for (std::size_t i = 3; i < digits.size(); i += 3) grouped += "," + digits.substr(i, 3);
  const std::vector<Value> list = {Value::Text(grouped), Value::Text(",")};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmEXCLUDENOTNUM(list));
}
BENCHMARK(BM_EXCLUDENOTNUM_Grouped)->Unit(benchmark::kMillisecond);

// "12 kg, 345 m, " repeated to a cell: the units kept, the digits scanned.
void BM_EXTRACTNUM_Units(benchmark::State& state) {
  std::string subject;
  while (subject.size() + 14 <= 32767) subject += "12 kg, 345 m, ";
  const std::vector<Value> list = {Value::Text(subject), Value::Text("kg"), Value::Text("m")};
  for (auto _ : state) benchmark::DoNotOptimize(Facade().dcmEXTRACTNUM(list));
}
BENCHMARK(BM_EXTRACTNUM_Units)->Unit(benchmark::kMillisecond);

}  // namespace
