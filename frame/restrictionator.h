// The normalised format options of one call, and the rules that produce them
// from the optional arguments of a worksheet function.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "engine/cell_limits.h"
#include "platform/variant.h"

namespace decimora {

struct type_Restrictionator {
  std::int16_t FormatNegative = 1;  // 0 no sign, 1 leading "-", 2 parentheses
  bool FormatThousands = false;
  bool FormatCurrency = false;
  bool ExponentialNotation = false;
  double maxSD = 100;
  Value FormatDecimalPlace;  // as given; omitted means no fixed places
  bool PreserveTrailingZerosAfterDecimal = false;
};

namespace frame {

// The largest maxSD: the number of characters a worksheet cell holds.
using engine::kMaxSignificantDigits;

// Thrown where the call itself fails (a value that cannot be converted at
// all); the facade turns it into its error value.
struct CallFailed : std::runtime_error {
  CallFailed() : std::runtime_error("call failed") {}
};

// Per-thread default maximum of significant digits (100 until loaded).
double DefaultMaxSD();
void SetDefaultMaxSD(double value);

type_Restrictionator Restrictionator(const Value& format_negative, const Value& format_thousands,
                                     const Value& format_currency, const Value& exponential_notation,
                                     const Value& maximum_significant_digits, const Value& format_decimal_place,
                                     const Value& preserve_decimal_place);

}  // namespace frame
}  // namespace decimora
