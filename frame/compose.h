// The result composer: digits, a decimal position and a sign become the
// finished text of a cell, with the format options applied.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/cell_limits.h"
#include "frame/restrictionator.h"

namespace decimora::frame {

// The characters a cell holds.
inline constexpr double kCellLimit = static_cast<double>(engine::kCellCharacters);

// D: digits without separator or sign; P: decimal position counted from the
// right end (updated to the position of the result); positive: the sign.
// Options as normalised by Restrictionator; maxSD is used as given. An
// omitted FormatDecimalPlace means no fixed places. Error texts pass
// through. Throws CallFailed when FormatDecimalPlace is not a number.
std::string ComposeResult(std::string D, double& P, bool positive, const type_Restrictionator& options);

// A number text as the dispatcher and the workers write it (an optional
// "-", digits, at most one separator) composed with the options: the one
// way from a worker's text result to a cell's text. Error texts pass
// through; `positive`, when given, overrides the sign of the text.
std::string ComposeNumberText(std::string_view text, const type_Restrictionator& options,
                              std::optional<bool> positive = std::nullopt);

std::string InsertThousandsSeparators(std::string_view digits);
std::string ToExponential(std::string_view text);
// Shortens a number text (unsigned, plain, grouped or in exponent form) to
// at most `maximum` characters by giving up fraction (or mantissa) digits:
// rounded to one digit more than fits, then cut; a bare separator left at
// the end goes too. "#NUM!" when the integer part itself does not fit.
std::string FitToLength(std::string text, double maximum);
std::string AddCurrencySymbol(std::string_view text);

}  // namespace decimora::frame
