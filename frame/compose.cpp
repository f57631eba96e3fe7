#include "frame/compose.h"

#include <cmath>
#include <cstring>
#include <optional>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "engine/round.h"
#include "platform/convert.h"

namespace decimora::frame {

using engine::GetDecimalSeparator;

namespace {

using engine::HasError;

// The fixed number of decimal places asked for, if any. Blank and the empty
// text mean none; a negative count means 0.
std::optional<long> FixedPlaces(const Value& v) {
  if (v.isOmitted() || v.isEmpty() || (v.isText() && v.text().empty())) return std::nullopt;
  const auto d = platform::VariantToDouble(v);
  if (!d) throw CallFailed();
  const double r = std::nearbyint(*d);
  if (r > 2147483647.0 || r < -2147483648.0) throw CallFailed();
  return r < 0 ? 0L : static_cast<long>(r);
}

}  // namespace

std::string InsertThousandsSeparators(std::string_view digits) {
  if (digits.size() <= 3) return std::string(digits);
  const std::string sep = engine::GetThousandsSeparator();
  std::size_t head = digits.size() % 3;
  if (head == 0) head = 3;
  const std::size_t groups = (digits.size() - head) / 3;
  std::string out(digits.size() + groups * sep.size(), '\0');
  char* w = out.data();
  std::memcpy(w, digits.data(), head);
  w += head;
  for (std::size_t i = head; i < digits.size(); i += 3) {
    std::memcpy(w, sep.data(), sep.size());
    w += sep.size();
    std::memcpy(w, digits.data() + i, 3);
    w += 3;
  }
  return out;
}

std::string ToExponential(std::string_view text) {
  const char sep = GetDecimalSeparator();
  std::string sign;
  if (!text.empty() && text.front() == '-') {
    sign = "-";
    text.remove_prefix(1);
  }
  if (text.size() >= 2 && text[1] == sep && text[0] == '0') {
    // Below 1: the first nonzero digit leads; its 1-based position k gives
    // the exponent -(k - 2).
    const std::size_t first = text.find_first_not_of('0', 2);
    if (first == std::string_view::npos) return sign + std::string(text);  // rounded to zero
    std::string out = sign;
    out.push_back(text[first]);
    out.push_back(sep);
    if (first + 1 < text.size()) {
      out.append(text.substr(first + 1));
    } else {
      out.push_back('0');
    }
    out += "E-" + std::to_string(first + 1 - 2);
    return out;
  }
  if (text.size() >= 2 && text[1] == sep) return sign + std::string(text);  // one integer digit
  std::string t(text);
  if (t.find(sep) == std::string::npos) t.push_back(sep);
  const std::size_t b = t.find(sep) + 1;  // 1-based position of the separator
  std::string mantissa;
  mantissa.reserve(t.size() + 1);
  mantissa.push_back(t[0]);
  mantissa.push_back(sep);
  mantissa.append(t, 1, b - 2);
  mantissa.append(t, b);
  while (mantissa.size() > 2 && mantissa.back() == '0') mantissa.pop_back();
  if (mantissa.size() == 2) mantissa.push_back('0');  // keep one "0" after the separator
  return sign + mantissa + "E+" + std::to_string(b - 2);
}

namespace {

// Fits a plain number text (digits and at most one separator) to m
// characters: rounded to m + 1 significant digits and cut after the m-th
// character. Only fraction digits can be given up: an integer part longer
// than m, also one that a carry of the rounding lengthened, cannot be shown.
// A cut right after the separator drops the separator too.
std::string FitPlain(std::string_view text, std::size_t m) {
  if (text.size() <= m) return std::string(text);
  const char sep = GetDecimalSeparator();
  const std::size_t sepAt = text.find(sep);
  if (sepAt == std::string_view::npos || sepAt > m) return "#NUM!";
  std::string rounded = engine::RoundToSignificant(text, static_cast<double>(m + 1));
  if (HasError(rounded)) return "#VALUE!";
  const std::size_t roundedSep = rounded.find(sep);
  if ((roundedSep == std::string::npos ? rounded.size() : roundedSep) > m) return "#NUM!";
  rounded.resize(std::min(rounded.size(), m));
  // A carry into the kept digits turned their trailing nines into zeros:
  // those zeros are no digits of the number (the composer's own rounding
  // never shows them), while zeros the text already had are kept.
  if (roundedSep != std::string::npos) {
    const bool lengthened = roundedSep > sepAt;  // then every kept fraction digit was a nine
    std::size_t end = rounded.size();
    while (end > roundedSep + 1 && rounded[end - 1] == '0' && (lengthened || text[end - 1] == '9')) --end;
    rounded.resize(end);
  }
  if (!rounded.empty() && rounded.back() == sep) rounded.pop_back();
  return rounded;
}

}  // namespace

std::string FitToLength(std::string text, double maximum) {
  if (static_cast<double>(text.size()) <= maximum) return text;
  const std::size_t m = maximum > 0 ? static_cast<std::size_t>(maximum) : 0;
  const char sep = GetDecimalSeparator();
  const std::size_t e = text.find('E');
  if (e != std::string_view::npos) {
    const std::size_t expLen = text.size() - e;
    if (expLen >= m) return "#VALUE!";
    std::string rounded =
        engine::RoundToSignificant(std::string_view(text).substr(0, e), static_cast<double>(m - expLen + 1));
    if (HasError(rounded)) return "#VALUE!";
    rounded.resize(std::min(rounded.size(), m - expLen));
    if (!rounded.empty() && rounded.back() == sep) rounded.pop_back();
    return rounded + text.substr(e);
  }
  // Grouped text: the digits are fitted to what the group separators leave,
  // then grouped again (a carry that adds a digit may add a group too).
  const std::string thousands = engine::GetThousandsSeparator();
  const std::size_t intEnd = std::min(text.find(sep), text.size());
  if (thousands.empty() || text.find(thousands) >= intEnd) return FitPlain(text, m);
  const std::string plain = engine::RemoveThousandsSeparators(text);
  std::size_t room = m - std::min(m, text.size() - plain.size());
  for (int attempt = 0; attempt < 2; ++attempt) {
    const std::string fitted = FitPlain(plain, room);
    if (HasError(fitted)) return fitted;
    const std::size_t intLen = std::min(fitted.find(sep), fitted.size());
    std::string out = InsertThousandsSeparators(std::string_view(fitted).substr(0, intLen)) + fitted.substr(intLen);
    if (out.size() <= m) return out;
    room -= std::min(room, out.size() - m);
  }
  return "#NUM!";
}

std::string AddCurrencySymbol(std::string_view text) {
  const engine::type_Currency_Symbol cs = engine::GetCurrencySymbol();
  std::string fitted = FitToLength(std::string(text), kCellLimit - static_cast<double>(cs.Symbol.size()));
  if (HasError(fitted)) return fitted;
  return cs.Position == 1 ? cs.Symbol + fitted : fitted + cs.Symbol;
}

std::string ComposeResult(std::string D, double& P, bool positive, const type_Restrictionator& o) {
  if (P < 0) return "#VALUE!";
  if (D.empty() || HasError(D)) return D;
  const char sep = GetDecimalSeparator();
  const std::optional<long> fixed = FixedPlaces(o.FormatDecimalPlace);

  // Significant digits: leading zeros stay in place, the rest is rounded to
  // maxSD + 1 digits (the length is kept, or grows by one on a carry).
  const std::size_t firstNonZero = D.find_first_not_of('0');
  if (firstNonZero != std::string::npos &&
      static_cast<double>(D.size() - firstNonZero) > engine::SignificantLimit(o.maxSD + 1)) {
    std::string rounded = engine::RoundToSignificant(std::string_view(D).substr(firstNonZero), o.maxSD + 1);
    if (HasError(rounded)) return rounded;
    D.replace(firstNonZero, std::string::npos, rounded);
  }

  // Put the separator back, P - 1 characters from the right.
  if (P > 1) {
    const std::size_t fraction = static_cast<std::size_t>(P) - 1;
    if (D.size() < fraction + 1) D.insert(0, fraction + 1 - D.size(), '0');
    D.insert(D.size() - fraction, 1, sep);
  }
  std::string text = std::move(D);
  engine::TrimFractionZerosInPlace(text);
  engine::StripLeadingZerosInPlace(text);
  auto position = [&]() {
    const double p = engine::DecimalPositionFromEnd(text);
    return p == 0 ? 1.0 : p;
  };
  P = position();
  // An exact zero is never shown with a sign, whatever the places below do.
  if (text == "0") positive = true;

  if (fixed) {
    // Beyond a cell's worth of places past what the text holds, further
    // zeros are cut by the length fitting anyway; bounding them keeps a
    // short request from allocating without bound.
    const std::size_t n = static_cast<std::size_t>(
        std::min<long>(*fixed, static_cast<long>(text.size()) + static_cast<long>(kCellLimit) + 8));
    const std::size_t fractionDigits = static_cast<std::size_t>(P) - 1;
    if (text.find(sep) != std::string::npos) {
      if (fractionDigits < n) text.append(n - fractionDigits, '0');
    } else if (n > 0) {
      text.push_back(sep);
      text.append(n, '0');
    }
    if (n + 1 < static_cast<std::size_t>(P)) {
      const std::size_t sepAt = text.find(sep);
      const bool up = text[sepAt + n + 1] >= '5';
      text.resize(n == 0 ? sepAt : sepAt + n + 1);
      if (up && engine::IncrementDigitsAt(text, text.size() - 1, sep)) text.insert(text.begin(), '1');
    }
    P = position();
  }

  if (o.FormatThousands && !o.ExponentialNotation) {
    const std::size_t sepAt = text.find(sep);
    const std::size_t intLen = sepAt == std::string::npos ? text.size() : sepAt;
    text = InsertThousandsSeparators(std::string_view(text).substr(0, intLen)) + text.substr(intLen);
  }

  // Cell limit: the integer part must leave room for the sign and symbol.
  double budget = static_cast<double>(engine::kIntegerDigitsLimit);
  if (o.FormatCurrency) budget -= static_cast<double>(engine::GetCurrencySymbol().Symbol.size());
  if (!positive) budget -= o.FormatNegative == 1 ? 1 : (o.FormatNegative == 2 ? 2 : 0);
  const std::size_t sepAt = text.find(sep);
  if (sepAt != std::string::npos ? static_cast<double>(sepAt + 1) > budget
                                 : static_cast<double>(text.size()) >= budget) {
    return "#NUM!";
  }

  if (o.ExponentialNotation) text = ToExponential(text);
  // One fitting for the whole cell: the sign and the currency symbol claim
  // their characters first, so the fitting only ever sees the number itself
  // (with its groups), and a text that fits is never refused. A text that
  // is plainly "0" is shown without a sign.
  const bool showSign = !positive && text != "0";
  const std::size_t signChars = showSign ? (o.FormatNegative == 1 ? 1 : (o.FormatNegative == 2 ? 2 : 0)) : 0;
  const std::size_t symbolChars = o.FormatCurrency ? engine::GetCurrencySymbol().Symbol.size() : 0;
  text = FitToLength(std::move(text), kCellLimit - static_cast<double>(signChars + symbolChars));
  if (HasError(text)) return text;
  if (o.FormatCurrency) {
    text = AddCurrencySymbol(text);
    if (HasError(text)) return text;
  }
  if (signChars == 1) return "-" + text;
  if (signChars == 2) return "(" + text + ")";
  return text;
}

std::string ComposeNumberText(std::string_view text, const type_Restrictionator& options,
                              std::optional<bool> positive) {
  if (HasError(text)) return std::string(text);
  const bool sign = positive.value_or(engine::IsNonNegative(text));
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  double P = engine::DecimalPositionFromEnd(text);
  return ComposeResult(engine::RemoveDecimalPoint(text), P, sign, options);
}

}  // namespace decimora::frame
