// The registration table: the one list of every worksheet function and public
// worker, with what a host's function wizard shows (parameters and their
// descriptions, category, description, whether it returns an array, an
// example) and its entry point. The command line, its listings and host
// registration all read it.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "api/cls_decimora.h"
#include "platform/variant.h"

namespace decimora {

struct Param {
  std::string_view name;
  bool optional = false;
  std::string_view description;  // one sentence, shown by the wizard and by --help
};

// Arguments arrive padded with omitted values up to the declared count (an
// open-ended function receives every argument given, at least that many).
using Entry = Value (*)(cls_Decimora& dcm, std::span<const Value> args);

struct FunctionRow {
  std::string_view name;         // as the host knows it, e.g. "dcmADD", "dcmPI"
  std::string_view category;     // one of the host categories, or kWorkerCategory
  std::string_view description;  // shown in the host's function wizard and by --help
  std::vector<Param> params;
  bool openEnded = false;        // the last parameter repeats
  Entry entry = nullptr;         // nullptr: not available yet (answers #NAME?)
  bool returnsArray = false;     // the result is an array (array-entered in a sheet)
  std::string_view example;        // one formula, e.g. =dcmADD("0.1", "0.2")
  std::string_view exampleResult;  // what the command line prints for it (cells: TAB, rows: newline)
};

// Example results that depend on the machine name what stands there by
// these placeholders: the user's login name, the library's directory.
#define DCM_EXAMPLE_LOGIN_NAME "<login name>"
#define DCM_EXAMPLE_LIBRARY_DIRECTORY "<library directory>"

// Public workers (Osrel_Divide, Get_Mantissa, ...) are callable but are not
// registered with the host.
inline constexpr std::string_view kWorkerCategory = "Public Worker";

// In registration order: the host categories first, then the workers.
const std::vector<FunctionRow>& FunctionTable();

// Case-insensitive; also finds a worker. nullptr when unknown.
const FunctionRow* FindFunction(std::string_view name);

// Calls a row with the given arguments. Unknown or unavailable functions
// answer the host error #NAME?; too many arguments the host error #VALUE!.
// A required argument given as an omitted value (an empty place in the
// list) arrives as an empty value.
Value CallFunction(cls_Decimora& dcm, const FunctionRow& row, std::vector<Value> args);

}  // namespace decimora
