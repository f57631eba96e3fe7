#include "frame/restrictionator.h"

#include "platform/convert.h"

namespace decimora::frame {

namespace {
thread_local double t_defaultMaxSD = 100;
}

double DefaultMaxSD() { return t_defaultMaxSD; }
void SetDefaultMaxSD(double value) { t_defaultMaxSD = value; }

type_Restrictionator Restrictionator(const Value& format_negative, const Value& format_thousands,
                                     const Value& format_currency, const Value& exponential_notation,
                                     const Value& maximum_significant_digits, const Value& format_decimal_place,
                                     const Value& preserve_decimal_place) {
  type_Restrictionator r;
  if (format_negative.isOmitted()) {
    r.FormatNegative = 1;
  } else if (platform::EqualsNumber(format_negative, 0)) {
    r.FormatNegative = 0;
  } else if (platform::EqualsNumber(format_negative, 2)) {
    r.FormatNegative = 2;
  } else {
    r.FormatNegative = 1;
  }
  r.FormatThousands = !format_thousands.isOmitted() && platform::EqualsTrue(format_thousands);
  r.FormatCurrency = !format_currency.isOmitted() && platform::EqualsTrue(format_currency);
  r.ExponentialNotation = !exponential_notation.isOmitted() && platform::EqualsTrue(exponential_notation);
  r.PreserveTrailingZerosAfterDecimal =
      !preserve_decimal_place.isOmitted() && platform::EqualsTrue(preserve_decimal_place);

  // A maxSD that is not a number ("abc", "", a host error) is no reason to
  // fail the call: like every other option, it falls back to its default.
  const auto d = maximum_significant_digits.isOmitted() ? std::nullopt
                                                        : platform::VariantToDouble(maximum_significant_digits);
  if (!d) {
    r.maxSD = DefaultMaxSD();
  } else {
    // No cell shows more than 32,767 characters; a negative count means no
    // digits at all, which we read as the smallest precision, 0.
    r.maxSD = *d > kMaxSignificantDigits ? kMaxSignificantDigits : (*d < 0 ? 0 : *d);
  }
  r.FormatDecimalPlace = format_decimal_place;
  if (r.ExponentialNotation) r.FormatThousands = false;
  return r;
}

}  // namespace decimora::frame
