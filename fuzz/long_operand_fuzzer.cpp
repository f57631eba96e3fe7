// The long-operand campaign: byte-level mutation never grows a formula to
// numbers of tens of thousands of digits, so this harness builds them. The
// input picks a function from the registration table and, for each argument,
// either a number of 16,000 to 40,000 digits (random, repeated or carry-prone
// digits; a sign, separator, leading or trailing zeros, an exponent, written
// bare or in quotes), a short number, a Boolean, a maxSD or nothing. The
// formula goes through the command line's evaluator, like any other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/formula.h"
#include "fuzz/fuzz_input.h"
#include "api/registry.h"

namespace {

using decimora::Value;

std::unique_ptr<decimora::cls_Decimora> g_dcm;
std::vector<const decimora::FunctionRow*> g_rows;
bool g_show = false;  // DECIMORA_FUZZ_SHOW=1: print each formula (long digit runs summarised) and result

std::string Summary(std::string_view s) {
  std::string out;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t j = i;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
    if (j - i > 24) {
      out.append(s.substr(i, 8));
      out += "...<" + std::to_string(j - i) + " digits>";
    } else {
      out.append(s.substr(i, j == i ? 1 : j - i));
    }
    i = j == i ? i + 1 : j;
  }
  return out;
}

// Reads the input front to back; zeros once it runs out.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : p_(data), end_(data + size) {}
  std::uint8_t U8() { return p_ < end_ ? *p_++ : 0; }
  std::uint32_t U16() { return U8() | (std::uint32_t{U8()} << 8); }
  std::uint32_t U32() { return U16() | (U16() << 16); }
  bool Empty() const { return p_ >= end_; }

 private:
  const std::uint8_t* p_;
  const std::uint8_t* end_;
};

struct XorShift {
  std::uint64_t s;
  std::uint64_t Next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
  }
};

// The digits of a long operand. Built in whole blocks (no character-at-a-time
// loop over the length).
std::string LongDigits(Bytes& in, std::size_t length) {
  const std::uint8_t pattern = in.U8() % 5;
  XorShift rng{(std::uint64_t{in.U32()} << 1) | 1};
  std::string d;
  d.reserve(length);
  switch (pattern) {
    case 0: {  // random digits, eight at a time
      std::string block(8, '0');
      while (d.size() < length) {
        std::uint64_t r = rng.Next();
        for (char& c : block) {
          c = static_cast<char>('0' + r % 10);
          r /= 10;
        }
        d.append(block, 0, std::min<std::size_t>(8, length - d.size()));
      }
      break;
    }
    case 1: {  // a short period repeated
      std::string period = std::to_string(rng.Next() % 100000000);
      while (d.size() < length) d.append(period, 0, std::min(period.size(), length - d.size()));
      break;
    }
    case 2:  // all nines: every carry ripples through
      d.assign(length, '9');
      break;
    case 3:  // one and zeros: every borrow ripples through
      d.assign(length, '0');
      d[0] = '1';
      d.back() = static_cast<char>('0' + rng.Next() % 10);
      break;
    default:  // nines with a random tail
      d.assign(length - length / 8, '9');
      d.append(std::to_string(rng.Next()), 0, length - d.size() < 20 ? length - d.size() : 20);
      d.append(length - d.size(), '5');
      break;
  }
  if (d[0] == '0' && pattern != 3) d[0] = '7';
  return d;
}

std::string LongOperand(Bytes& in) {
  const std::size_t length = 16000 + in.U16() % 24001;
  const std::uint8_t shape = in.U8();
  std::string digits = LongDigits(in, length);
  const std::uint16_t where = static_cast<std::uint16_t>(in.U16());
  if (shape & 1) {  // a decimal separator somewhere inside (or in front)
    digits.insert(where % (digits.size() + 1), 1, '.');
    if (digits.front() == '.') digits.insert(digits.begin(), '0');
  }
  if (shape & 2) digits.insert(0, std::string(in.U8() % 40, '0'));
  if (shape & 4) {  // a small exponent, either way
    const int e = static_cast<int>(in.U16() % 50000);
    digits += (shape & 8) ? "E-" : "E+";
    digits += std::to_string(e);
  }
  switch ((shape >> 4) % 4) {
    case 1: digits.insert(0, "-"); break;
    case 2: digits = "(" + digits + ")"; break;
    default: break;
  }
  // Bare numbers go to the library as typed; parentheses need quotes.
  if ((shape & 64) || digits.front() == '(') return "\"" + digits + "\"";
  return digits;
}

// Series and iterations (a full-precision product per term, thousands of
// terms; a root's Newton steps, each raising the iterate to the degree)
// spend seconds of legitimate work at thousands of digits, beyond the
// bounded run's time limit under the sanitizers. Every short number they
// get stays at most 1,000 (which is also what any maxSD of theirs becomes),
// so a stray number in the maxSD place or a fractional exponent of many
// decimals cannot ask for 32,767 digits; the long operands still reach them.
constexpr std::string_view kSeriesFunctions[] = {
    "dcmEXP",  "dcmLN",   "dcmLOG",  "dcmSIN",  "dcmCOS",   "dcmTAN",  "dcmATAN",   "dcmASIN",
    "dcmACOS", "dcmROOT", "dcmSQRT", "dcmSQRTPI", "dcmPOWER", "dcmPOISSON", "Cos_Function",
    "Tan_Function", "ATan_Function", "ASin_Function", "ACos_Function"};
constexpr int kSeriesMaxSD = 1000;

std::string ShortArgument(Bytes& in, bool series) {
  switch (in.U8() % 6) {
    case 0: return "";  // omitted
    case 1: return (in.U8() & 1) ? "TRUE" : "FALSE";
    case 2: {
      constexpr int kMaxSD[] = {0, 1, 2, 15, 100, 16383, 32766, 32767, 40000};
      const int m = kMaxSD[in.U8() % 9];
      return std::to_string(series ? std::min(m, kSeriesMaxSD) : m);
    }
    case 3: return std::to_string(in.U8() % 7);  // a style or a count of places
    default: {
      std::string n = std::to_string(series ? in.U32() % (kSeriesMaxSD + 1) : in.U32());
      if (in.U8() & 1) n.insert(n.size() > 1 ? 1 : 0, ".");
      if (in.U8() & 1) n.insert(0, "-");
      return n;
    }
  }
}

// The formula the input stands for.
std::string BuildFormula(Bytes& in) {
  const decimora::FunctionRow& row = *g_rows[in.U8() % g_rows.size()];
  std::size_t count = row.params.size();
  if (row.openEnded) count += in.U8() % 4;
  std::string f(row.name);
  const bool series = std::find(std::begin(kSeriesFunctions), std::end(kSeriesFunctions), row.name) !=
                      std::end(kSeriesFunctions);
  f += '(';
  for (std::size_t i = 0; i < count && !in.Empty(); ++i) {
    if (i > 0) f += ',';
    // The first two positions are usually the numbers; later ones the options
    // (a series function's maxSD, its last, is never a long number).
    const bool longOne = (in.U8() % 8) < (i < 2 || row.openEnded ? 6 : 1) && !(series && i + 1 == count);
    f += longOne ? LongOperand(in) : ShortArgument(in, series);
  }
  f += ')';
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  decimora::fuzz::UsePrivateSettingsStore();
  g_dcm = std::make_unique<decimora::cls_Decimora>();
  const char* show = std::getenv("DECIMORA_FUZZ_SHOW");
  g_show = show != nullptr && std::string_view(show) == "1";
  for (const decimora::FunctionRow& row : decimora::FunctionTable()) {
    if (row.entry != nullptr) g_rows.push_back(&row);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  decimora::platform::SetLocaleOverrides({'.', ",", "$", decimora::platform::CurrencyPlacement::Before});
  Bytes in(data, size);
  const std::string formula = BuildFormula(in);
  if (formula.empty()) return 0;
  Value result;
  try {
    result = decimora::cli::EvaluateFormula(*g_dcm, formula);
  } catch (const decimora::cli::FormulaError& e) {
    decimora::fuzz::Fail("a built formula did not parse", formula, e.message);
  }
  if (g_show) {
    std::fprintf(stderr, "%s\n  -> %s\n", Summary(formula).c_str(),
                 result.isText() ? Summary(result.text()).c_str() : "(not text)");
  }
  if (result.isText() && result.text().size() > decimora::fuzz::kCellLength &&
      !decimora::fuzz::ReturnsStoredConstant(formula.substr(0, formula.find('('))) &&
      decimora::FindFunction(formula.substr(0, formula.find('('))) != nullptr &&
      decimora::FindFunction(formula.substr(0, formula.find('(')))->category != decimora::kWorkerCategory) {
    decimora::fuzz::Fail("a text result longer than a cell", formula,
                         "result length " + std::to_string(result.text().size()));
  }
  return 0;
}
