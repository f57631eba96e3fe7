// What Calc learns about the worksheet functions, derived from the one
// registration table (api/registry.*): which rows it gets, the fixed group
// each lands in, the text its Function Wizard shows, which parameters are
// Booleans, and how a host error is written as Calc's own error value.
// Nothing here depends on the LibreOffice SDK, so the tests run everywhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "api/registry.h"
#include "platform/variant.h"

namespace decimora::calc {

// The programmatic name of the add-in. Workbooks store every call as this
// name and the method's ("of:=ORG.DECIMORA.ADDIN.DCMADD(...)"), so neither may
// ever change once released.
inline constexpr std::string_view kServiceName = "org.decimora.AddIn";
inline constexpr std::string_view kImplementationName = "org.decimora.AddInImpl";
// The UNO interface whose methods are the worksheet functions.
inline constexpr std::string_view kInterfaceName = "org.decimora.XDecimora";

// The rows Calc gets: every row of the registry except the public workers,
// in registry order.
std::vector<const FunctionRow*> HostRows();

// Calc only knows its fixed function groups ("Mathematical", "Statistical",
// "Text", "Information", "Add-In", ...). Every category of the registry is
// mapped to the closest one; a category without a mapping lands in "Add-In".
std::string_view CalcCategory(std::string_view registry_category);
// Whether the registry category has a mapping of its own (a new category
// must be given one deliberately).
bool HasCalcCategory(std::string_view registry_category);

// The description the Function Wizard shows: the registry's, followed by the
// registry's own category name, which Calc's fixed groups cannot show.
std::string ShownDescription(const FunctionRow& row);

// A Boolean parameter: its registry description begins with "TRUE" (the
// convention of every flag of the table). Calc has no Boolean type at its
// add-in interface, so TRUE and FALSE arrive as 1 and 0 and are turned back
// into Booleans for these parameters only.
bool IsFlagParam(const Param& param);

// Calc's code of a host error (what ERROR.TYPE and the cell report): 519
// #VALUE!, 532 #DIV/0!, 503 #NUM!, 524 #REF!, 525 #NAME?, 521 #NULL!, 32767 #N/A.
std::uint16_t CalcErrorCode(HostError e);
// A host error as Calc's error value: a quiet NaN whose low bits carry the code.
double CalcErrorValue(HostError e);
// The code an error value carries; 0 for any other double.
std::uint16_t CalcErrorCodeOf(double d);

// A number cell or literal as the functions receive it. Where the parameter
// is a Boolean, 1/0 become TRUE/FALSE; elsewhere the double stays the host's
// number, which every function reads as the text the host shows for it (15
// significant digits).
Value FromCalcNumber(double d, bool flag);
// A text: exact. Inside a range, Calc gives a blank cell as the empty text;
// it becomes an empty cell, as the functions expect of a blank.
Value FromCalcText(std::string_view utf8, bool in_range);

// Makes the calling thread's default maximum of significant digits the one
// stored now. Calc keeps one add-in object for the whole session and may
// calculate on more than one thread, while the default can change under it
// (the settings dialog, the command line, another office): the store is
// looked at (one stat) before every call and read again when it changed or
// when this thread has never read it.
void RefreshDefaultMaxSD();

}  // namespace decimora::calc
