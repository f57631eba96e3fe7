// Command-line options of `decimora`, the usage text and the listings made
// from the registration table.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "api/registry.h"
#include "platform/locale.h"

namespace decimora::cli {

struct Options {
  platform::LocaleOverrides locale;
  bool json = false;
  bool list = false;
  bool help = false;
  bool version = false;
  bool help_html = false;
  // Formulas to evaluate; with --help, the function names to describe.
  std::vector<std::string> operands;
};

// A command line that cannot be followed (exit status 2).
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// args excludes the program name. Throws UsageError.
Options ParseOptions(const std::vector<std::string>& args);

// After the overrides were applied: the decimal and thousands separators in
// effect must differ, and a currency symbol given on the command line must
// hold neither. Throws UsageError.
void CheckEffectiveSeparators(bool currency_given = false);

std::string UsageLine();   // "usage: decimora [OPTIONS] [FORMULA ...]\n"
std::string UsageText();   // --help
std::string VersionText(); // --version
std::string ListText();    // --list

// dcmADD(number1, number2, [format_negative], ...): optional parameters in
// brackets, an open-ended list ending in "...".
std::string Signature(const FunctionRow& row);
std::string FunctionHelpText(const FunctionRow& row);

}  // namespace decimora::cli
