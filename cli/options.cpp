#include "cli/options.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace decimora::cli {

namespace {

// A separator must not be mistaken for part of a number: digits, signs,
// parentheses (negative numbers), 'E' (exponents), '#' (error texts) and the
// quote of the formula syntax are excluded, as are control characters and
// non-ASCII. The thousands separator may be a space or a no-break space
// (U+00A0, U+202F), as many locales group digits with one.
bool UsableSeparator(std::string_view s, bool thousands) {
  if (thousands && (s == platform::kNoBreakSpace || s == platform::kNarrowNoBreakSpace)) return true;
  if (s.size() != 1) return false;
  const unsigned char c = static_cast<unsigned char>(s[0]);
  if (c == ' ' && thousands) return true;
  if (c <= 32 || c >= 127) return false;
  if (c >= '0' && c <= '9') return false;
  return std::string_view("-+#()Ee\"").find(static_cast<char>(c)) == std::string_view::npos;
}

std::string Separator(std::string_view option, std::string_view value) {
  const bool thousands = option == "thousands-separator";
  if (!UsableSeparator(value, thousands)) {
    throw UsageError("--" + std::string(option) + " needs exactly one ASCII character other than a digit, " +
                     (thousands ? "a control character" : "a blank") + ", '-', '+', '#', '(', ')', 'E' and '\"'" +
                     (thousands ? ", or a no-break space (U+00A0, U+202F)" : "") + " (got '" + std::string(value) +
                     "')");
  }
  return std::string(value);
}

// The symbol is removed wherever it stands before a number is read, so it
// must not hold anything a number is written with: a digit, a sign, a
// parenthesis, '#', or a separator (checked once the separators in effect
// are known). An 'E' is only refused where it could be an exponent, i.e.
// when the symbol is nothing but 'E's and blanks ("EUR" is fine).
std::string Currency(std::string_view value) {
  if (value.empty()) throw UsageError("--currency needs a symbol");
  if (value.find_first_of("0123456789#-+()") != std::string_view::npos) {
    throw UsageError("--currency cannot hold a digit, '#', '-', '+', '(' or ')' (got '" + std::string(value) + "')");
  }
  if (value.find_first_not_of("E \t") == std::string_view::npos) {
    throw UsageError("--currency needs more than 'E' and blanks, which are part of numbers (got '" +
                     std::string(value) + "')");
  }
  return std::string(value);
}

platform::CurrencyPlacement Placement(std::string_view value) {
  if (value == "before") return platform::CurrencyPlacement::Before;
  if (value == "after") return platform::CurrencyPlacement::After;
  throw UsageError("--currency-position must be 'before' or 'after' (got '" + std::string(value) + "')");
}

}  // namespace

Options ParseOptions(const std::vector<std::string>& args) {
  Options opt;
  bool options_done = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A formula may start with '-' (a negative number), so only "--word"
    // and "-letter" are options.
    const bool looks_like_option =
        !options_done && arg.size() >= 2 && arg[0] == '-' &&
        (arg[1] == '-' || (arg[1] >= 'a' && arg[1] <= 'z') || (arg[1] >= 'A' && arg[1] <= 'Z'));
    if (!looks_like_option) {
      opt.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    if (arg == "-h") {
      opt.help = true;
      continue;
    }
    if (arg[1] != '-') throw UsageError("unknown option '" + arg + "'");

    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
    std::optional<std::string> inline_value;
    if (eq != std::string::npos) inline_value = arg.substr(eq + 1);

    const auto value = [&]() -> std::string {
      if (inline_value) return *inline_value;
      if (i + 1 >= args.size()) throw UsageError("--" + name + " needs a value");
      return args[++i];
    };
    const auto flag = [&](bool& target) {
      if (inline_value) throw UsageError("--" + name + " takes no value");
      target = true;
    };

    if (name == "decimal-separator") {
      opt.locale.decimalSeparator = Separator(name, value())[0];
    } else if (name == "thousands-separator") {
      opt.locale.thousandsSeparator = Separator(name, value());
    } else if (name == "currency") {
      opt.locale.currencySymbol = Currency(value());
    } else if (name == "currency-position") {
      opt.locale.currencyPlacement = Placement(value());
    } else if (name == "json") {
      flag(opt.json);
    } else if (name == "list") {
      flag(opt.list);
    } else if (name == "version") {
      flag(opt.version);
    } else if (name == "help-html") {
      flag(opt.help_html);
    } else if (name == "help") {
      opt.help = true;
      if (inline_value) opt.operands.push_back(*inline_value);
    } else {
      throw UsageError("unknown option '" + arg + "'");
    }
  }
  if (!opt.help && (opt.list || opt.version || opt.help_html) && !opt.operands.empty()) {
    throw UsageError(std::string(opt.list ? "--list" : opt.version ? "--version" : "--help-html") +
                     " takes no formula");
  }
  return opt;
}

void CheckEffectiveSeparators(bool currency_given) {
  const char decimal = platform::LocaleDecimalSeparator();
  const std::string thousands = platform::LocaleThousandsSeparator();
  if (thousands == std::string_view(&decimal, 1)) {
    throw UsageError("the decimal and thousands separators must differ (both are '" + thousands + "')");
  }
  if (!currency_given) return;
  // A blank thousands separator may stand next to the symbol (" EUR" after
  // "1 234,50"): removing the symbol first leaves the number intact.
  const std::string symbol = platform::LocaleCurrencySymbol();
  const bool blank =
      thousands == " " || thousands == platform::kNoBreakSpace || thousands == platform::kNarrowNoBreakSpace;
  const auto refuse = [&](std::string_view which, std::string_view sep) {
    throw UsageError("--currency cannot hold the " + std::string(which) + " separator '" + std::string(sep) +
                     "' (got '" + symbol + "')");
  };
  if (symbol.find(decimal) != std::string::npos) refuse("decimal", std::string_view(&decimal, 1));
  if (!blank && symbol.find(thousands) != std::string::npos) refuse("thousands", thousands);
}

std::string UsageLine() { return "usage: decimora [OPTIONS] [FORMULA ...]\n"; }

std::string UsageText() {
  return UsageLine() +
         R"(
Evaluates each FORMULA and prints its result, one line per formula (an array
one line per row). Without FORMULA, reads one formula per line from standard
input, or offers a prompt when standard input is a terminal (leave with quit,
exit or Ctrl-D). Read from standard input, every formula gives exactly one
output line: an array is written as {1,2;3,4}, and an empty line or a formula
with a syntax error gives an empty line, so results stay aligned.

Options:
  --decimal-separator=C     decimal separator (default: from the locale)
  --thousands-separator=C   thousands separator (default: from the locale);
                            a space or no-break space (U+00A0, U+202F) is
                            allowed
  --currency=TEXT           currency symbol; a leading space is kept (" EUR");
                            no digit, sign, parenthesis, '#' or separator
  --currency-position=before|after
                            where the currency symbol stands
  --json                    print each result as one line of JSON
  --list                    list every function with its parameters
  --help [NAME]             show this text, or describe function NAME
  --help-html               write the function reference as one HTML page
  --version                 show the version

Formulas:
  dcmADD("0.1", 0.2)        a call; names ignore letter case
  dcmADD(1, 2, , TRUE)      an empty position omits that argument
  -12.5  1.5E+20            bare numbers are passed as text, digit for digit
  "text"                    text; "" inside stands for one quote
  TRUE  FALSE               Booleans
  #VALUE!  #N/A  ...        host error values
  {1,2;3,4}  {1,,3}         arrays: ',' between cells, ';' between rows;
                            an empty position is an empty cell
  BLANK()                   an empty cell
  VALUE(x)                  the host number (double) made from x
A leading '=' is allowed. A call takes at most 255 arguments. An unknown
function gives #NAME?.

Exit status: 0 when every formula was evaluated (error values are results),
2 on a syntax error or a bad command line, 1 on an internal error.
)";
}

std::string VersionText() { return "decimora " DECIMORA_VERSION "\n"; }

std::string Signature(const FunctionRow& row) {
  std::string s(row.name);
  s.push_back('(');
  for (std::size_t i = 0; i < row.params.size(); ++i) {
    if (i > 0) s.append(", ");
    const Param& p = row.params[i];
    if (p.optional) s.push_back('[');
    s.append(p.name);
    if (p.optional) s.push_back(']');
  }
  if (row.openEnded) s.append(row.params.empty() ? "..." : ", ...");
  s.push_back(')');
  return s;
}

std::string ListText() {
  static constexpr std::string_view kNotYet = "  (not available yet)";
  std::string out;
  std::string_view category;
  std::size_t missing = 0;
  std::size_t workers = 0;
  for (const FunctionRow& row : FunctionTable()) {
    if (row.category == kWorkerCategory) ++workers;
    if (row.category != category) {
      if (!out.empty()) out.push_back('\n');
      category = row.category;
      out.append(category).append(":\n");
    }
    out.append("  ").append(Signature(row));
    if (row.entry == nullptr) {
      out.append(kNotYet);
      ++missing;
    }
    out.push_back('\n');
  }
  out.append("\n")
      .append(std::to_string(FunctionTable().size() - workers))
      .append(" worksheet functions and ")
      .append(std::to_string(workers))
      .append(" public workers; ")
      .append(std::to_string(missing))
      .append(" not available yet.\n");
  return out;
}

std::string FunctionHelpText(const FunctionRow& row) {
  std::string out = Signature(row) + "\n";
  out.append("Category: ").append(row.category).append("\n");
  out.append(row.description).append("\n");
  if (!row.params.empty()) {
    out.append("Arguments:\n");
    // Names as in the signature (optional ones in brackets), descriptions aligned.
    const auto shown = [](const Param& p) {
      return p.optional ? "[" + std::string(p.name) + "]" : std::string(p.name);
    };
    std::size_t width = 0;
    for (const Param& p : row.params) width = std::max(width, shown(p).size());
    for (const Param& p : row.params) {
      const std::string name = shown(p);
      out.append("  ").append(name).append(width - name.size() + 2, ' ').append(p.description).append("\n");
    }
    if (row.openEnded) out.append("  The last argument may be repeated.\n");
  }
  if (row.returnsArray) out.append("Returns an array: enter it into a block of cells.\n");
  // An array result is shown as the command line prints it: one line per
  // row, indented under the formula.
  out.append("Example: ").append(row.example);
  if (row.exampleResult.find('\n') == std::string_view::npos) {
    out.append(" gives ").append(row.exampleResult).append("\n");
  } else {
    out.append(" gives\n");
    std::string_view rest = row.exampleResult;
    while (!rest.empty()) {
      const std::size_t end = std::min(rest.find('\n'), rest.size());
      out.append("  ").append(rest.substr(0, end)).append("\n");
      rest.remove_prefix(std::min(end + 1, rest.size()));
    }
  }
  if (row.entry == nullptr) out.append("Not available yet.\n");
  return out;
}

}  // namespace decimora::cli
