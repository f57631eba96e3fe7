// What the families' workers share: their conventions and the helpers their
// sources use. The worksheet functions (dcmROUND, dcmMOD, dcmISODD, ...) are
// thin wrappers around the workers; other functions of the system call the
// workers directly for their own integer steps (truncation, the integer part,
// remainders, factorials, sign changes).
//
// Conventions shared by every worker here:
// - Numbers are number texts (any accepted input form) or host values; a
//   worker that takes a Value converts it with the host's variant-to-text
//   rule. The string_view overloads are the same worker with every option
//   omitted, for internal callers.
// - The four format options are format_negative, format_thousands,
//   format_currency and exponential_notation, normalised by Restrictionator;
//   omitted means the defaults (leading "-", no grouping, no currency, no
//   exponent form).
// - Results are texts. An error text ("#VALUE!", "#NUM!", "#DIV/0!") is a
//   result like any other; the caller passes it on.
// - Where a call cannot be made at all (a num_digits or a factorial argument
//   that does not convert to a number, a divisor that is not a number, a host
//   error or an array where a text is read), the worker throws
//   frame::CallFailed and the worksheet function answers the host error #VALUE!.
#pragma once

#include <string>
#include <string_view>

#include "frame/restrictionator.h"
#include "platform/variant.h"

// --- Shared by the workers' own sources -------------------------------------
namespace decimora::functions::detail {

// The text of a value as the host converts it; throws frame::CallFailed
// where there is none (omitted, a host error, an array).
std::string TextOrFail(const Value& v);

// The four format options normalised with the given maximum of significant
// digits (Value::Number(32767) for the integer workers).
type_Restrictionator FormatOptions(const Value& format_negative, const Value& format_thousands,
                                   const Value& format_currency, const Value& exponential_notation,
                                   const Value& maximum_significant_digits);

}  // namespace decimora::functions::detail
