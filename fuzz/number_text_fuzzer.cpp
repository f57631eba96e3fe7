// Fuzzes the readers of number texts (ReadNumberText, CleanUp and the text
// primitives around them, the number test and the exact comparison) under
// every locale setting (see fuzz_input.h for the settings line).
//
// The body is one text, or two separated by a TAB. Besides "no crash, no
// sanitizer report", each reader keeps its documented shape, a cleaned number
// cleans to itself, the comparisons agree with one another, and what the
// formatter writes reads back as the same number.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/number_text.h"
#include "frame/calculate.h"
#include "frame/compose.h"
#include "fuzz/fuzz_input.h"
#include "api/cls_decimora.h"
#include "platform/convert.h"

namespace {

using decimora::Value;
using decimora::fuzz::Fail;
namespace engine = decimora::engine;

std::unique_ptr<decimora::cls_Decimora> g_dcm;

bool AllDigits(std::string_view s) {
  for (char c : s) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "-"? digits (separator digits)? with at least one digit: what the readers
// promise for a number.
bool PlainNumber(std::string_view s, bool digits_on_both_sides) {
  if (!s.empty() && s.front() == '-') s.remove_prefix(1);
  const std::size_t at = s.find(engine::GetDecimalSeparator());
  const std::string_view before = s.substr(0, at);
  const std::string_view after = at == std::string_view::npos ? std::string_view() : s.substr(at + 1);
  if (!AllDigits(before) || !AllDigits(after)) return false;
  if (digits_on_both_sides) return !before.empty() && (at == std::string_view::npos || !after.empty());
  return before.size() + after.size() > 0;
}

bool IsErrorTextOrEmpty(std::string_view s) { return s.empty() || engine::IsErrorText(s); }

void CheckReaders(std::string_view text, bool plain) {
  const std::string read = engine::ReadNumberText(text);
  if (!IsErrorTextOrEmpty(read) && !PlainNumber(read, false)) Fail("ReadNumberText gave no plain number", text, read);
  if (read.size() > engine::kMaxExpandedLength + 2) Fail("ReadNumberText grew past the expansion bound", text);

  for (int flags = 0; flags < 4; ++flags) {
    const bool insert = (flags & 1) != 0;
    const bool sign = (flags & 2) != 0;
    const engine::type_CleanUp c = engine::CleanUp(text, insert, sign);
    if (c.IsError) {
      if (!engine::IsErrorText(c.NumClean)) Fail("CleanUp failed without an error text", text, c.NumClean);
      continue;
    }
    if (!insert && !sign && (c.NumClean.empty() || !AllDigits(c.NumClean))) {
      Fail("CleanUp digits are not digits", text, c.NumClean);
    }
    if (insert && sign) {
      if (!PlainNumber(c.NumClean, true)) Fail("CleanUp gave no normal-form number", text, c.NumClean);
      if (plain) {
        const engine::type_CleanUp again = engine::CleanUp(c.NumClean, true, true);
        if (again.IsError || again.NumClean != c.NumClean) {
          Fail("a cleaned number does not clean to itself", text, c.NumClean + " -> " + again.NumClean);
        }
      }
    }
  }

  // The primitives take any text.
  (void)engine::ExpandExponent(text);
  (void)engine::StripLeadingZeros(text);
  (void)engine::TrimFractionZeros(text);
  (void)engine::IntegerPart(text);
  (void)engine::AbsText(text);
  (void)engine::DecimalPositionFromEnd(text);
  (void)decimora::platform::TextToDouble(text);
  (void)decimora::frame::IsNumberText(text);
}

bool IsTrue(const Value& v) { return v.isBool() && v.boolean(); }

// The six comparisons of a with b agree with one another.
void CheckComparisons(std::string_view a, std::string_view b, std::string_view input) {
  using decimora::frame::CompareNumbers;
  const Value eq = CompareNumbers(a, b, true, false);
  if (!eq.isBool()) {
    if (!eq.isText() || !engine::IsErrorText(eq.text())) Fail("a comparison answered neither Boolean nor error", input);
    return;
  }
  const Value gt = CompareNumbers(a, b, false, true);
  const Value ge = CompareNumbers(a, b, true, true);
  const Value lt = CompareNumbers(b, a, false, true);
  if (!gt.isBool() || !ge.isBool() || !lt.isBool()) Fail("a comparison answered Boolean and error", input);
  if (int(IsTrue(eq)) + int(IsTrue(gt)) + int(IsTrue(lt)) != 1) {
    Fail("not exactly one of a < b, a = b, a > b", input);
  }
  if (IsTrue(ge) != (IsTrue(gt) || IsTrue(eq))) Fail("a >= b disagrees with a > b or a = b", input);
  if (a == b && !IsTrue(eq)) Fail("a number differs from itself", input);
}

std::uint32_t Hash(std::string_view s) {
  std::uint32_t h = 2166136261u;
  for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h;
}

// What dcmFORMAT writes (sign style, grouping, currency, exponent) reads back
// as the number given, as long as nothing was rounded away.
void CheckFormatReadsBack(std::string_view text) {
  const engine::type_CleanUp c = engine::CleanUp(text, true, true);
  if (c.IsError || c.NumClean.size() > 20000) return;
  const std::uint32_t h = Hash(text);
  const int negative = static_cast<int>(h % 3);
  const bool thousands = (h & 4) != 0;
  const bool currency = (h & 8) != 0;
  const bool exponent = (h & 16) != 0;
  const Value out = g_dcm->dcmFORMAT(Value::Text(std::string(text)), Value::Number(negative), Value::Bool(thousands),
                                     Value::Bool(currency), Value::Bool(exponent), Value::Number(32767));
  if (!out.isText()) Fail("dcmFORMAT answered no text", text);
  if (engine::IsErrorText(out.text())) return;  // e.g. too long for a cell
  const engine::type_CleanUp back = engine::CleanUp(out.text(), true, true);
  std::string expected = c.NumClean;
  if (negative == 0 && !expected.empty() && expected.front() == '-') expected.erase(0, 1);  // style 0 drops the sign
  if (back.IsError || back.NumClean != expected) {
    Fail("dcmFORMAT's text does not read back as the number", text,
         "wrote " + std::string(out.text()) + ", read back " + back.NumClean + ", expected " + expected);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  decimora::fuzz::UsePrivateSettingsStore();
  g_dcm = std::make_unique<decimora::cls_Decimora>();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const decimora::fuzz::Input in = decimora::fuzz::ReadInput(data, size);
  decimora::fuzz::ApplyLocale(in);
  const std::size_t tab = in.body.find('\t');
  const std::string_view a = in.body.substr(0, tab);
  const std::string_view b = tab == std::string_view::npos ? a : in.body.substr(tab + 1);

  CheckReaders(a, in.plainLocale);
  if (b.data() != a.data()) CheckReaders(b, in.plainLocale);
  CheckComparisons(a, b, in.body);
  if (in.plainLocale) CheckFormatReadsBack(a);
  return 0;
}
