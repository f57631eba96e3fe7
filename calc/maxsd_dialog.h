// The rules of the "Set Default Max SD" dialog and of the About window's
// default line, apart from any window: what the box holds after each edit,
// what OK stores, which formulas the recalculation re-enters. The windows in
// Calc (uno/windows.cpp) only show what this model says, so the tests drive
// the dialog through it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace decimora::calc {

inline constexpr std::string_view kMaxSDCaption = "Set Default Max SD";
inline constexpr std::string_view kMaxSDLabel = "Default Maximum Significant Digits";
inline constexpr std::string_view kRefusalTitle = "Decimora";
inline constexpr std::string_view kRefusal = "Enter digits (0-9) only.";
inline constexpr std::string_view kRecalculateTitle = "Set Default Max SD";

// The dialog's explanation: two paragraphs separated by an empty line.
std::string MaxSDExplanation();
// The question OK asks before the recalculation.
std::string RecalculateQuestion();
// The About window's line for the default: "Default Max SD:", a line break,
// the value.
std::string AboutMaxSDLine(double value);
// A default as the dialog and the settings file write it ("100").
std::string DefaultText(double value);

class MaxSDDialogModel {
 public:
  // The box starts with the current default, the caret at its end.
  explicit MaxSDDialogModel(double current_default);

  const std::string& text() const { return text_; }
  std::size_t caret() const { return caret_; }

  // After every edit. Digits only: at the first other character the edit is
  // refused (returns the message to show), the last accepted text comes back
  // and the caret stands where the offending character was. An empty text
  // counts as digits.
  std::optional<std::string_view> Edit(std::string_view new_text);

  struct OkResult {
    bool changed = false;       // false: the empty text keeps the old value; nothing stored
    double value = 0;           // the new default
    std::string stored;         // its text, as written to the settings file
    std::string error;          // the settings file could not be written (the value still applies)
  };
  // OK with the box's text: the new default is the number it holds (at most
  // 32,767, what a result can have), made the default of this thread and
  // written to the settings file the command line reads.
  OkResult Ok();

 private:
  std::string text_;
  std::string accepted_;
  std::size_t caret_ = 0;
};

// A named expression of a document: its name and what it stands for.
struct NamedExpression {
  std::string name;
  std::string content;
};

// Whether the recalculation re-enters a formula: it calls a function of the
// library ("dcm" in any letter case), or it uses a named expression whose
// content does.
bool CallsDecimora(std::string_view formula, const std::vector<NamedExpression>& names);

}  // namespace decimora::calc
