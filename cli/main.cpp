// decimora: evaluates worksheet formulas of the Decimora library from the
// command line, from a stream of lines, or at an interactive prompt.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "api/registry.h"
#include "cli/options.h"
#include "cli/output.h"
#include "cli/reference.h"
#include "cli/session.h"
#include "platform/allocator.h"
#include "platform/locale.h"

#ifdef DECIMORA_HAVE_READLINE
#include <readline/history.h>
#include <readline/readline.h>
#endif

namespace {

using namespace decimora;
using namespace decimora::cli;

constexpr const char* kPrompt = "decimora> ";

std::optional<std::string> ReadPromptedLine(Console& console) {
#ifdef DECIMORA_HAVE_READLINE
  (void)console;
  char* raw = readline(kPrompt);
  if (raw == nullptr) return std::nullopt;  // Ctrl-D; readline ends the prompt line itself
  std::string line(raw);
  std::free(raw);
  if (line.find_first_not_of(" \t") != std::string::npos) add_history(line.c_str());
  return line;
#else
  console.Prompt(kPrompt);
  std::string line;
  if (!std::getline(std::cin, line)) {
    console.Print("\n");  // Ctrl-D: end the prompt line
    return std::nullopt;
  }
  return line;
#endif
}

int Help(Console& console, const Options& opt) {
  if (opt.operands.empty()) {
    console.Print(UsageText());
    return kExitOk;
  }
  int status = kExitOk;
  for (const std::string& name : opt.operands) {
    if (const FunctionRow* row = FindFunction(name)) {
      console.Print(FunctionHelpText(*row));
      continue;
    }
    const std::string hint = DidYouMean(name);
    console.Error("unknown function '" + name + "'" + (hint.empty() ? "" : "; " + hint));
    status = kExitSyntax;
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  platform::KeepFreedMemoryForReuse();
  // Standard output gets a buffer of its own: nothing here writes it through
  // C stdio, and each result line is a single copy into the buffer.
  std::ios::sync_with_stdio(false);
  static char out_buffer[1 << 16];
  std::cout.rdbuf()->pubsetbuf(out_buffer, sizeof out_buffer);
  // The separators and currency come from the POSIX locale unless overridden.
  std::setlocale(LC_ALL, "");
  Console console(std::cout, std::cerr);

  Options opt;
  try {
    opt = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    platform::SetLocaleOverrides(opt.locale);
    CheckEffectiveSeparators(opt.locale.currencySymbol.has_value());
  } catch (const UsageError& e) {
    console.Error(e.what());
    std::cerr << UsageLine();
    return kExitSyntax;
  }
  console.SetJson(opt.json);

  if (opt.help) return Help(console, opt);
  if (opt.version) {
    console.Print(VersionText());
    return kExitOk;
  }
  if (opt.list) {
    console.Print(ListText());
    return kExitOk;
  }
  if (opt.help_html) {
    console.Print(ReferenceHtml());
    return kExitOk;
  }

  Session session(console);
  if (!opt.operands.empty()) {
    session.RunArguments(opt.operands);
  } else if (isatty(STDIN_FILENO)) {
    session.RunInteractive([&console] { return ReadPromptedLine(console); });
  } else {
    // One output line per input line, arrays included, so results stay
    // aligned with their formulas.
    console.SetArraysOnOneLine(true);
    session.RunBatch(STDIN_FILENO);
  }
  return session.ExitStatus();
}
