#include "frame/lists.h"

#include <algorithm>
#include <utility>

#include "engine/errors.h"
#include "engine/number_text.h"
#include "frame/compose.h"
#include "platform/convert.h"

namespace decimora::frame {

namespace {

bool IsDigitChar(char c) { return c >= '0' && c <= '9'; }

// The value of the first "MSD=" in an upper-cased directive that is followed
// by at least one digit.
std::optional<double> ReadMaxSD(std::string_view upper) {
  constexpr std::string_view kKey = "MSD=";
  for (std::size_t at = upper.find(kKey); at != std::string_view::npos; at = upper.find(kKey, at + 1)) {
    std::size_t i = at + kKey.size();
    double value = 0;
    bool any = false;
    // Any run of digits counts; beyond the cell limit it is the cell limit,
    // as for the positional argument (and the running value never grows
    // past what a double holds exactly).
    while (i < upper.size() && IsDigitChar(upper[i])) {
      value = std::min(value * 10 + (upper[i] - '0'), kMaxSignificantDigits);
      any = true;
      ++i;
    }
    if (any) return value;
  }
  return std::nullopt;
}

// Value texts as the number readers see them. A host error has no text of
// its own here: it becomes "#VALUE!", which is never read as a number.
std::string TextOfListValue(const Value& v) {
  if (v.isError()) return "#VALUE!";
  if (v.isOmitted()) return std::string();
  auto text = platform::VariantToText(v);
  return text ? std::move(*text) : std::string("#VALUE!");
}

}  // namespace

std::string ToUpperText(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool IsDirective(std::string_view upper_text) { return upper_text.starts_with(kDirectivePrefix); }

DirectiveReader::DirectiveReader(double max_sd_default, std::vector<std::string> extra_words,
                                 std::vector<std::string> extra_settings)
    : max_sd_default_(max_sd_default) {
  for (std::string& w : extra_words) words_.push_back({ToUpperText(w), false, {}});
  for (std::string& s : extra_settings) settings_.push_back({ToUpperText(s), false, {}});
}

bool DirectiveReader::AllSeen() const {
  if (!(negative_ && thousands_ && currency_ && exponent_ && max_sd_)) return false;
  return std::all_of(words_.begin(), words_.end(), [](const Extra& e) { return e.seen; }) &&
         std::all_of(settings_.begin(), settings_.end(), [](const Extra& e) { return e.seen; });
}

void DirectiveReader::Read(std::string_view directive) {
  if (AllSeen()) return;
  const std::string upper = ToUpperText(directive);
  const auto has = [&](std::string_view word) { return upper.find(word) != std::string::npos; };
  negative_ = negative_ || has("NEGATIVE");
  thousands_ = thousands_ || has("THOUSANDS");
  currency_ = currency_ || has("CURRENCY");
  exponent_ = exponent_ || has("EXPONENT");
  if (!max_sd_) max_sd_ = ReadMaxSD(upper);
  for (Extra& w : words_) w.seen = w.seen || has(w.key);
  for (Extra& s : settings_) {
    if (s.seen) continue;
    const std::size_t at = upper.find(s.key);
    if (at == std::string::npos) continue;
    // Upper-casing keeps every byte in place, so the position holds in the
    // directive's own text.
    const std::size_t from = at + s.key.size();
    const std::size_t to = directive.find('&', from);
    s.value = std::string(directive.substr(from, to == std::string_view::npos ? std::string_view::npos : to - from));
    s.seen = true;
  }
}

bool DirectiveReader::Word(std::string_view word) const {
  const std::string key = ToUpperText(word);
  for (const Extra& w : words_) {
    if (w.key == key) return w.seen;
  }
  return false;
}

std::optional<std::string> DirectiveReader::Setting(std::string_view key) const {
  const std::string k = ToUpperText(key);
  for (const Extra& s : settings_) {
    if (s.key == k) return s.seen ? std::optional<std::string>(s.value) : std::nullopt;
  }
  return std::nullopt;
}

type_Restrictionator DirectiveReader::Options() const {
  const Value omitted;
  return Restrictionator(Value::Number(negative_ ? 2 : 1), Value::Bool(thousands_), Value::Bool(currency_),
                         Value::Bool(exponent_), Value::Number(CurrentMaxSD()), omitted, omitted);
}

bool IsNumberTooLongForCell(std::string_view upper) {
  // Without an exponent a number's plain text is no longer than its own
  // text plus the "0" of a leading separator: only a long text or an
  // exponent can fail, and only those pay for a reading.
  const bool exponent = upper.find('E') != std::string_view::npos;
  if (!exponent && static_cast<double>(upper.size()) + 1 <= kCellLimit) return false;
  const std::string read = engine::ReadNumberText(upper);
  if (read.find('#') != std::string::npos) {
    if (read != "#NUM!" || !exponent) return false;
    // "#NUM!" is both "not a number" and "an expansion beyond every bound":
    // it is the latter when the same text with exponent 0 is a number.
    const std::size_t e = upper.rfind('E');
    std::size_t from = e + 2;
    std::size_t to = from;
    while (to < upper.size() && IsDigitChar(upper[to])) ++to;
    if (e + 1 >= upper.size() || to == from) return false;
    std::string zero(upper);
    zero.replace(from, to - from, "0");
    return engine::ReadNumberText(zero).find('#') == std::string::npos;
  }
  // The integer part decides: a tiny number (1E-40000) has few significant
  // digits and is shown in exponent form; a huge one has digits to the
  // separator that no cell holds.
  std::string_view body(read);
  if (!body.empty() && body.front() == '-') body.remove_prefix(1);
  body = body.substr(0, body.find(engine::GetDecimalSeparator()));
  const std::size_t lead = body.find_first_not_of('0');
  const std::size_t integer_digits = lead == std::string_view::npos ? 0 : body.size() - lead;
  return static_cast<double>(integer_digits) > kCellLimit;
}

WalkEnd WalkList(std::span<const Value> list, DirectiveReader& directives, const ListVisitor& visit,
                 const ListWalkOptions& options) {
  bool first = true;
  WalkEnd end = WalkEnd::kCompleted;
  auto one = [&](const Value& v, bool in_array) {
    const std::string text = in_array && options.values_are_text && v.isError()
                                 ? std::string(HostErrorText(v.error()))
                                 : TextOfListValue(v);
    if (text.empty()) return true;
    const std::string upper = ToUpperText(text);
    const bool as_data = first && options.first_value_is_data;
    first = false;
    if (!as_data && IsDirective(upper)) {
      directives.Read(text);
      return true;
    }
    if (!as_data && !options.values_are_text && IsNumberTooLongForCell(upper)) {
      end = WalkEnd::kValueTooLong;
      return false;
    }
    if (!visit(ListItem{text, upper, in_array})) {
      end = WalkEnd::kStopped;
      return false;
    }
    return true;
  };
  for (const Value& arg : list) {
    if (!arg.isArray()) {
      if (!one(arg, false)) return end;
      continue;
    }
    // Cells are stored row by row, which is the order of the walk.
    for (const Value& cell : arg.array().cells) {
      if (!one(cell, true)) return end;
    }
  }
  return end;
}

std::string ComposeListResult(std::string_view number, const type_Restrictionator& options) {
  if (number.empty()) return std::string();
  if (engine::HasError(number)) return std::string(number);
  // Number texts from the dispatcher are in normal form already; a value
  // taken from the list as it stands (an extreme, say) may still carry
  // quotes, a currency symbol, thousands separators or an exponent.
  engine::type_CleanUp clean = engine::CleanUp(number, true, true);
  if (clean.IsError) return clean.NumClean;
  return ComposeNumberText(clean.NumClean, options);
}

}  // namespace decimora::frame
