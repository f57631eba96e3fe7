// Helpers shared by the families' workers (functions/shared.h).
#include "functions/shared.h"

#include <string>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "frame/compose.h"
#include "frame/restrictionator.h"
#include "platform/convert.h"

namespace decimora::functions::detail {

std::string TextOrFail(const Value& v) {
  auto text = platform::VariantToText(v);
  if (!text) throw frame::CallFailed();
  return std::move(*text);
}

type_Restrictionator FormatOptions(const Value& format_negative, const Value& format_thousands,
                                   const Value& format_currency, const Value& exponential_notation,
                                   const Value& maximum_significant_digits) {
  return frame::Restrictionator(format_negative, format_thousands, format_currency, exponential_notation,
                                maximum_significant_digits, Value::Omitted(), Value::Omitted());
}

}  // namespace decimora::functions::detail
