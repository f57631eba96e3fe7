#include "calc/maxsd_dialog.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "frame/restrictionator.h"
#include "platform/settings.h"

namespace decimora::calc {

namespace {

bool ContainsIgnoreCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return false;
  auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
  return it != haystack.end();
}

}  // namespace

std::string MaxSDExplanation() {
  return "Decimora functions guard against inadvertently long calculations: unless a formula specifies its own "
         "maximum, a result has at most 100 significant digits.\n\n"
         "You can customize that default maximum number of significant digits here. The number you enter here "
         "will be used "
         "in Decimora functions where you have omitted the maximum_significant_digits parameter.";
}

std::string RecalculateQuestion() {
  return "Recalculate Decimora formulas now?\n\nCaution:\nRecalculating here will only recalculate Decimora formulas "
         "in worksheet cells and defined names. To recalculate Decimora formulas anywhere else, close and reopen "
         "the workbook.";
}

std::string DefaultText(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.15g", value);
  return buf;
}

std::string AboutMaxSDLine(double value) { return "Default Max SD:\n" + DefaultText(value); }

MaxSDDialogModel::MaxSDDialogModel(double current_default)
    : text_(DefaultText(current_default)), accepted_(text_), caret_(text_.size()) {}

std::optional<std::string_view> MaxSDDialogModel::Edit(std::string_view new_text) {
  for (std::size_t i = 0; i < new_text.size(); ++i) {
    if (new_text[i] < '0' || new_text[i] > '9') {
      text_ = accepted_;
      caret_ = std::min(i, text_.size());
      return kRefusal;
    }
  }
  text_ = std::string(new_text);
  accepted_ = text_;
  caret_ = text_.size();
  return std::nullopt;
}

MaxSDDialogModel::OkResult MaxSDDialogModel::Ok() {
  OkResult r;
  // Every edit went through Edit, so the text is digits; an empty one keeps
  // the old default (its conversion to a number would fail).
  if (text_.empty() || !std::all_of(text_.begin(), text_.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return r;
  }
  double value = 0;
  const auto res = std::from_chars(text_.data(), text_.data() + text_.size(), value);
  if (res.ec == std::errc::result_out_of_range || !std::isfinite(value)) value = frame::kMaxSignificantDigits;
  value = std::min<double>(value, frame::kMaxSignificantDigits);
  r.changed = true;
  r.value = value;
  r.stored = DefaultText(value);
  frame::SetDefaultMaxSD(value);
  std::string why;
  if (!platform::WriteSetting("Decimora", "Options", "MaxSD", r.stored, &why)) r.error = why;
  return r;
}

bool CallsDecimora(std::string_view formula, const std::vector<NamedExpression>& names) {
  if (ContainsIgnoreCase(formula, "dcm")) return true;
  for (const NamedExpression& n : names) {
    if (ContainsIgnoreCase(n.content, "dcm") && ContainsIgnoreCase(formula, n.name)) return true;
  }
  return false;
}

}  // namespace decimora::calc
