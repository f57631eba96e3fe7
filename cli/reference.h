// The function reference: one HTML page of every row of the registration
// table (signature, category, description, arguments, example and result),
// written by `decimora --help-html`. The build writes it beside the program
// as Decimora.html, which dcmHelpfilePath names.
#pragma once

#include <string>
#include <string_view>

namespace decimora::cli {

std::string ReferenceHtml();

// Text with &, <, > and " written as HTML entities.
std::string EscapeHtml(std::string_view text);

}  // namespace decimora::cli
