#include "engine/number_text.h"

#include <algorithm>
#include <cstdint>

#include "engine/digit_kernels.h"
#include "engine/round.h"
#include "platform/locale.h"

namespace decimora::engine {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string RemoveAll(std::string_view text, std::string_view what) {
  std::string out;
  if (what.empty()) return std::string(text);
  out.reserve(text.size());
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(what, from);
    if (at == std::string_view::npos) {
      out.append(text.substr(from));
      return out;
    }
    out.append(text.substr(from, at - from));
    from = at + what.size();
  }
}
}  // namespace

char GetDecimalSeparator() { return platform::LocaleDecimalSeparator(); }
std::string GetThousandsSeparator() { return platform::LocaleThousandsSeparator(); }

type_Currency_Symbol GetCurrencySymbol() {
  type_Currency_Symbol out;
  out.Symbol = platform::LocaleCurrencySymbol();
  out.Position = platform::LocaleCurrencyPlacement() == platform::CurrencyPlacement::Before ? 1 : 2;
  return out;
}

std::string_view StripEnclosingQuotes(std::string_view text) {
  for (;;) {
    bool removed = false;
    for (char q : {'\'', '"'}) {
      if (text.size() >= 2 && text.front() == q && text.back() == q) {
        text = text.substr(1, text.size() - 2);
        removed = true;
      }
    }
    if (!removed) return text;
  }
}

std::string RemoveCurrencySymbol(std::string_view text) { return RemoveAll(text, GetCurrencySymbol().Symbol); }

std::string RemoveThousandsSeparators(std::string_view text) {
  return RemoveAll(text, GetThousandsSeparator());
}

std::string ExpandExponent(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    negative = true;
    text = text.substr(1, text.size() - 2);
  }
  const std::size_t e = text.find('E');
  if (HasError(text) || e == std::string_view::npos) {
    std::string out;
    out.reserve(text.size() + 1);
    if (negative) out.push_back('-');
    out.append(text);
    return out;
  }
  // The exponent is a sign ("+" or "-") and the digits of a 32-bit integer,
  // nothing else: "1E5", "1E 5" or "1E*5" are as unreadable as "1E+x".
  if (e + 1 >= text.size() || (text[e + 1] != '+' && text[e + 1] != '-')) return "#VALUE!";
  const bool expNegative = text[e + 1] == '-';
  std::string_view magnitude = text.substr(e + 2);
  if (magnitude.empty() || magnitude.size() > 10) return "#VALUE!";
  std::int64_t x = 0;
  for (char c : magnitude) {
    if (!IsDigit(c)) return "#VALUE!";
    x = x * 10 + (c - '0');
  }
  if (x > INT32_MAX) return "#VALUE!";
  if (expNegative) x = -x;

  // The mantissa's digits and how many of them stand before its separator.
  // A mantissa with several integer digits (12.5E+1) is read as the number
  // it is, 125; with one integer digit, as the host writes it, this is the
  // usual shift of the separator.
  const char sep = GetDecimalSeparator();
  std::string_view mantissa = text.substr(0, e);
  const std::size_t sepAt = mantissa.find(sep);
  std::string digits = RemoveDecimalPoint(mantissa);
  if (digits.empty()) return "#NUM!";  // "E+5" alone holds no digit
  const std::int64_t n = static_cast<std::int64_t>(digits.size());
  const std::int64_t k = sepAt == std::string_view::npos ? n : static_cast<std::int64_t>(sepAt);
  const std::int64_t intDigits = k + x;  // digits before the separator of the result

  // The characters of the expanded text, sign aside: the digits and their
  // zeros, and the separator with the "0" in front of a number below 1.
  const std::int64_t length = intDigits >= n ? intDigits : (intDigits > 0 ? n + 1 : 2 - intDigits + n);
  if (length > static_cast<std::int64_t>(kMaxExpandedLength)) return "#NUM!";

  std::string out;
  out.reserve(static_cast<std::size_t>(length) + 1);
  if (negative) out.push_back('-');
  if (intDigits >= n) {
    out += digits;
    out.append(static_cast<std::size_t>(intDigits - n), '0');
  } else if (intDigits > 0) {
    out.append(digits, 0, static_cast<std::size_t>(intDigits));
    out.push_back(sep);
    out.append(digits, static_cast<std::size_t>(intDigits));
  } else {
    out.push_back('0');
    out.push_back(sep);
    out.append(static_cast<std::size_t>(-intDigits), '0');
    out += digits;
  }
  return out;
}

bool IsNonNegative(std::string_view text) {
  // The sign the reader finds: enclosing quotes go first, and a currency
  // symbol or thousands separator may stand before the sign ("$-5.5",
  // "'-5'"), since the reader removes them wherever they stand.
  text = StripEnclosingQuotes(text);
  if (text.empty()) return true;
  if (text.front() == '-' || text.front() == '(') return false;
  if (IsDigit(text.front())) return true;
  const std::string symbol = platform::LocaleCurrencySymbol();
  const std::string thousands = GetThousandsSeparator();
  for (;;) {
    if (!symbol.empty() && text.starts_with(symbol)) {
      text.remove_prefix(symbol.size());
    } else if (!thousands.empty() && text.starts_with(thousands)) {
      text.remove_prefix(thousands.size());
    } else {
      return text.empty() || (text.front() != '-' && text.front() != '(');
    }
  }
}

std::string AbsText(std::string_view text) {
  if (!text.empty() && text.front() == '-') return std::string(text.substr(1));
  if (!text.empty() && text.front() == '(') {
    return text.size() >= 2 ? std::string(text.substr(1, text.size() - 2)) : std::string();
  }
  return std::string(text);
}

std::string StripLeadingZeros(std::string_view text, std::size_t* removed) {
  std::string out(text);
  StripLeadingZerosInPlace(out, removed);
  return out;
}

void StripLeadingZerosInPlace(std::string& text, std::size_t* removed) {
  if (removed != nullptr) *removed = 0;
  if (text == "0") return;
  const std::string thousands = GetThousandsSeparator();
  std::size_t count = 0;
  for (;;) {
    if (count < text.size() && text[count] == '0') {
      ++count;
    } else if (!thousands.empty() && text.compare(count, thousands.size(), thousands) == 0) {
      count += thousands.size();
    } else {
      break;
    }
  }
  const bool zeroInFront = count < text.size() && text[count] == GetDecimalSeparator();
  if (IsNonNegative(text) && count > 0) {
    if (removed != nullptr) *removed = count;
    // Keep one character for the "0" a leading separator gets.
    text.erase(0, zeroInFront ? count - 1 : count);
    if (zeroInFront) text[0] = '0';
  } else if (!text.empty() && text.front() == GetDecimalSeparator()) {
    text.insert(text.begin(), '0');
  }
  if (text.empty()) text = "0";
}

std::string TrimFractionZeros(std::string_view text) {
  std::string out(text);
  TrimFractionZerosInPlace(out);
  return out;
}

void TrimFractionZerosInPlace(std::string& text) {
  const char sep = GetDecimalSeparator();
  if (text.find(sep) == std::string::npos) return;
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == '0') --end;
  if (end > 0 && text[end - 1] == sep) --end;
  text.resize(end);
  if (text.empty() || text.front() == sep) text.insert(text.begin(), '0');
}

std::string RemoveDecimalPoint(std::string_view text) {
  std::string out(text);
  RemoveDecimalPointInPlace(out);
  return out;
}

void RemoveDecimalPointInPlace(std::string& text) {
  const std::size_t at = text.find(GetDecimalSeparator());
  if (at != std::string::npos) text.erase(at, 1);
}

std::string IntegerPart(std::string_view text) {
  const std::size_t at = text.find(GetDecimalSeparator());
  if (at == std::string_view::npos) return std::string(text);
  if (at == 0) return "0";
  return std::string(text.substr(0, at));
}

bool HasNonDigit(std::string_view text) { return !kernels::AllDecimalDigits(text); }

bool CompareDigitStrings(std::string_view a, std::string_view b, bool or_equal, bool greater) {
  int order = 0;
  if (a.size() != b.size()) {
    order = a.size() > b.size() ? 1 : -1;
  } else {
    const int c = a.compare(b);
    order = c > 0 ? 1 : (c < 0 ? -1 : 0);
  }
  if (or_equal && order == 0) return true;
  if (greater) return order > 0;
  return false;
}

double MaxOf(double a, double b) { return a > b ? a : b; }

double DecimalPositionFromEnd(std::string_view text) {
  const std::size_t at = text.find(GetDecimalSeparator());
  if (at == std::string_view::npos) return 0;
  return static_cast<double>(text.size() - at);
}

std::string ReadNumberText(std::string_view input) {
  if (!input.empty() && input.front() == '#') return "#NUM!";
  input = StripEnclosingQuotes(input);
  if (input.empty()) return std::string();
  const std::string symbol = GetCurrencySymbol().Symbol;
  const std::string thousands = GetThousandsSeparator();
  std::string text = (!symbol.empty() && input.find(symbol) != std::string_view::npos) ||
                             input.find(thousands) != std::string_view::npos
                         ? RemoveThousandsSeparators(RemoveCurrencySymbol(input))
                         : std::string(input);
  // Only an exponent or parentheses change the text; a leading "-" stays.
  if (text.find('E') != std::string::npos || (!text.empty() && text.front() == '(')) {
    text = ExpandExponent(text);
    if (HasError(text)) return text == "#VALUE!" ? text : std::string("#NUM!");
  }
  // Digits with at most one separator, and at least one digit.
  std::string_view body(text);
  if (!body.empty() && body.front() == '-') body.remove_prefix(1);
  const std::size_t sepAt = body.find(GetDecimalSeparator());
  const std::string_view before = body.substr(0, sepAt);
  const std::string_view after = sepAt == std::string_view::npos ? std::string_view() : body.substr(sepAt + 1);
  if (!kernels::AllDecimalDigits(before) || !kernels::AllDecimalDigits(after) || before.size() + after.size() == 0) {
    return "#NUM!";
  }
  return text;
}

type_CleanUp CleanUp(std::string_view num, bool insert_decimal, bool include_sign) {
  type_CleanUp out;
  auto fail = [&](std::string error) {
    out = type_CleanUp{};
    out.NumClean = std::move(error);
    out.IsError = true;
    return out;
  };
  if (IsErrorText(num)) return fail(std::string(num));
  const char sep = GetDecimalSeparator();
  if (std::count(num.begin(), num.end(), sep) >= 2) return fail("#NUM!");

  std::string text = ReadNumberText(num);
  if (HasError(text)) return fail(text);

  // The steps below work on the one text in place: an operand may be tens
  // of thousands of digits long.
  out.Positive = IsNonNegative(text);
  if (!out.Positive) text.erase(0, 1);  // the reader writes every negative with "-"
  StripLeadingZerosInPlace(text);
  TrimFractionZerosInPlace(text);

  // Round the significant digits to one more than the largest maxSD; the
  // leading zeros of a number below 1 stay in front. Only a text longer than
  // the limit is rounded; a shorter one is its own rounding. The rounding
  // keeps the length, so a cut fraction leaves zeros at the end and a carry
  // out of the first digit (0.99...9 becoming 1.00...0) a zero in front: the
  // rounded text is put in normal form again before the record describes it.
  const std::size_t sepAt0 = text.find(sep);
  std::size_t lead = 0;  // the zeros (and separator) before the first significant digit
  if (text != "0") {
    while (lead < text.size() && (text[lead] == '0' || text[lead] == sep)) ++lead;
  }
  const std::size_t significant =
      text.size() - lead - (sepAt0 != std::string::npos && sepAt0 >= lead ? 1 : 0);
  if (static_cast<double>(significant) > kCleanUpDigits) {
    const std::size_t frac = sepAt0 == std::string::npos ? 0 : text.size() - sepAt0 - 1;
    std::string digits = std::move(text);
    RemoveDecimalPointInPlace(digits);
    std::size_t zeros = 0;
    while (zeros < digits.size() && digits[zeros] == '0') ++zeros;
    const std::string rounded = RoundToSignificant(std::string_view(digits).substr(zeros), kCleanUpDigits);
    if (HasError(rounded)) return fail("#NUM!");
    digits.replace(zeros, std::string::npos, rounded);
    if (frac > 0) digits.insert(digits.size() - frac, 1, sep);
    StripLeadingZerosInPlace(digits);
    TrimFractionZerosInPlace(digits);
    text = std::move(digits);
  }
  if (text == "0") out.Positive = true;
  out.DecPos = DecimalPositionFromEnd(text);
  const std::size_t sepAt = text.find(sep);
  if (sepAt != std::string::npos) {
    out.NumNonZeroCharsLeftOfDec = text.front() == '0' ? 0 : static_cast<double>(sepAt);
  } else {
    out.NumNonZeroCharsLeftOfDec = text == "0" ? 0 : static_cast<double>(text.size());
  }

  std::string digits = std::move(text);
  RemoveDecimalPointInPlace(digits);
  if (digits.empty() || HasNonDigit(digits)) return fail("#NUM!");

  if (insert_decimal && out.DecPos != 0) {
    const std::size_t frac = static_cast<std::size_t>(out.DecPos) - 1;
    digits.insert(digits.size() - frac, 1, sep);
  }
  if (include_sign && !out.Positive) {
    digits.insert(digits.begin(), '-');
    out.DecPos += 1;
  }
  out.NumClean = std::move(digits);
  return out;
}

}  // namespace decimora::engine
