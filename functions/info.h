// Information functions: what the library is (its version, a welcome text,
// where its function reference lies) and what a value is (an error value, a
// number the functions can read).
#pragma once

#include <string>
#include <string_view>

#include "platform/variant.h"

namespace decimora::functions {

// The version text workbooks may test; the program's own --version may differ.
inline constexpr std::string_view kVersionText = "3.1b";

// The function reference installed next to the library (generated from the
// registration table at build time).
inline constexpr std::string_view kFunctionReferenceFile = "Decimora.html";

Value dcmVERSION();
// "Welcome to Decimora 3.1b, <login name>!"
Value dcmTEST();
// The library's directory, "/" and the reference's file name.
Value dcmHelpfilePath();
// TRUE for a host error value and for any text holding "#" (every error text
// of the library begins with it); FALSE otherwise. An array cannot be
// tested: the host error #VALUE!.
Value dcmISERROR(const Value& num);
// Whether the value's text reads as a number to the functions (the number
// test of the comparisons, letter case as given: 1e3 is not one). A host
// error, a Boolean and an empty cell are not numbers; an array cannot be
// tested: the host error #VALUE!.
Value dcmISNUMBER(const Value& num);

}  // namespace decimora::functions
