// The aggregates family: the sum of one range (dcmSUM) and the folds of an
// open-ended list of values and ranges (sum, count, average, product,
// maximum, minimum).
#pragma once

#include <span>

#include "platform/variant.h"

namespace decimora::functions {

// rngArray must hold an array (a range); anything else fails (#VALUE!).
Value dcmSUM(const Value& rngArray, const Value& format_negative = {}, const Value& format_thousands = {},
             const Value& format_currency = {}, const Value& exponential_notation = {},
             const Value& maximum_significant_digits = {});
Value dcmSUM2(std::span<const Value> numlist);
Value dcmCOUNT(std::span<const Value> numlist);
Value dcmAVERAGE(std::span<const Value> numlist);
Value dcmPRODUCT(std::span<const Value> numlist);
Value dcmMAX(std::span<const Value> numlist);
Value dcmMIN(std::span<const Value> numlist);

}  // namespace decimora::functions
