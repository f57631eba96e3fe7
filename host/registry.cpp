// The registration table. Rows for the host come first, grouped by category
// in the order the host registers them; the public workers follow. A function
// becomes callable by giving its row an entry (an adapter that unpacks the
// padded argument vector and calls the method); until then it answers #NAME?.

#include "host/registry.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>
#include <span>

namespace decimora {
namespace {

using Args = std::vector<Value>;

constexpr std::string_view kOperators = "High-Precision Operators";
constexpr std::string_view kMath = "High-Precision Math";
constexpr std::string_view kText = "High-Precision Text";
constexpr std::string_view kStatistical = "High-Precision Statistical";
constexpr std::string_view kInformation = "High-Precision Information";
constexpr std::string_view kAddIn = "Decimora Add-In Information";
constexpr std::string_view kMiscellaneous = "High-Precision Miscellaneous";
constexpr std::string_view kMoreInfo = "High-Precision - More Info";

constexpr Param Req(std::string_view name) { return {name, false}; }
constexpr Param Opt(std::string_view name) { return {name, true}; }

// Joins a function's own parameters and one of the shared option tails.
std::vector<Param> Params(std::initializer_list<Param> head, std::span<const Param> tail = {}) {
  std::vector<Param> out(head);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

// The four format options most functions take, in the class's order.
constexpr Param kFormat4[] = {Opt("format_negative"), Opt("format_thousands"), Opt("format_currency"),
                              Opt("exponential_notation")};
constexpr Param kFormat4MaxSD[] = {Opt("format_negative"), Opt("format_thousands"), Opt("format_currency"),
                                   Opt("exponential_notation"), Opt("maximum_significant_digits")};
// The full option set of the operators and dcmFORMAT.
constexpr Param kAllOptions[] = {
    Opt("format_negative"),       Opt("format_thousands"),           Opt("format_currency"),
    Opt("exponential_notation"),  Opt("maximum_significant_digits"), Opt("format_decimal_place"),
    Opt("preserve_decimal_place")};
// dcmROOT and dcmPOWER put restrict_input_lengths before the decimal-place options.
constexpr Param kRootPowerOptions[] = {
    Opt("format_negative"),      Opt("format_thousands"),           Opt("format_currency"),
    Opt("exponential_notation"), Opt("maximum_significant_digits"), Opt("restrict_input_lengths"),
    Opt("format_decimal_place"), Opt("preserve_decimal_place")};

// A record result travels as one row of its fields, in declaration order.
Value RecordRow(const type_Restrictionator& r) {
  Array row(1, 7);
  row.at(1, 1) = Value::Number(r.FormatNegative);
  row.at(1, 2) = Value::Bool(r.FormatThousands);
  row.at(1, 3) = Value::Bool(r.FormatCurrency);
  row.at(1, 4) = Value::Bool(r.ExponentialNotation);
  row.at(1, 5) = Value::Number(r.maxSD);
  row.at(1, 6) = r.FormatDecimalPlace.isOmitted() ? Value::Empty() : r.FormatDecimalPlace;
  row.at(1, 7) = Value::Bool(r.PreserveTrailingZerosAfterDecimal);
  return Value::FromArray(std::move(row));
}

// The division record: its digits as text, its power of ten as a number.
Value RecordRow(const engine::type_Division_Osrel& r) {
  Array row(1, 2);
  row.at(1, 1) = Value::Text(r.digits);
  row.at(1, 2) = Value::Number(r.powerOfTen);
  return Value::FromArray(std::move(row));
}

// Descriptions follow one pattern: what the function does, then the precision
// phrase; functions taking an open-ended list end with the directive syntax.
// Macros, so that each description stays one literal.
#define DCM_PRECISION ", with up to 32,767 significant digits of precision."
#define DCM_LIST_HINT " Optional argument: \"format:negative,thousands,currency,exponent,MSD=n\""

std::vector<FunctionRow> BuildTable() {
  std::vector<FunctionRow> t;
  t.reserve(100);

  // --- Operators -----------------------------------------------------------
  t.push_back({"dcmADD", kOperators, "Adds two numbers" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}, kAllOptions), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmADD(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
               }});
  t.push_back({"dcmSUBTRACT", kOperators, "Subtracts the second number from the first" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}, kAllOptions), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmSUBTRACT(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
               }});
  t.push_back({"dcmMULTIPLY", kOperators, "Multiplies two numbers" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}, kAllOptions), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmMULTIPLY(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
               }});
  t.push_back({"dcmDIVIDE", kOperators, "Divides the first number by the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}, kAllOptions), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmDIVIDE(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]);
               }});
  t.push_back({"dcmPOWER", kOperators, "Raises the first number to the power of the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}, kRootPowerOptions), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmPOWER(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
               }});
  t.push_back({"dcmROOT", kOperators,
               "Returns the root of the first number, of the degree given by the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}, kRootPowerOptions), false, nullptr});
  t.push_back({"dcmISEQUAL", kOperators, "Tests whether two numbers are equal" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISEQUAL(a[0], a[1]); }});
  t.push_back({"dcmISNOTEQUAL", kOperators, "Tests whether two numbers are not equal" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISNOTEQUAL(a[0], a[1]); }});
  t.push_back({"dcmISGREATER", kOperators, "Tests whether the first number is greater than the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISGREATER(a[0], a[1]); }});
  t.push_back({"dcmISGREATEROREQUAL", kOperators,
               "Tests whether the first number is greater than or equal to the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISGREATEROREQUAL(a[0], a[1]); }});
  t.push_back({"dcmISLESS", kOperators, "Tests whether the first number is less than the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISLESS(a[0], a[1]); }});
  t.push_back({"dcmISLESSOREQUAL", kOperators,
               "Tests whether the first number is less than or equal to the second" DCM_PRECISION,
               Params({Req("number1"), Req("number2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISLESSOREQUAL(a[0], a[1]); }});

  // --- Math ----------------------------------------------------------------
  t.push_back({"dcmABS", kMath, "Returns the absolute value of a number" DCM_PRECISION, Params({Req("num")}, kFormat4),
               false, [](cls_Decimora& d, const Args& a) { return d.dcmABS(a[0], a[1], a[2], a[3], a[4]); }});
  t.push_back({"dcmACOS", kMath, "Returns the arccosine of a number, in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"dcmASIN", kMath, "Returns the arcsine of a number, in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"dcmATAN", kMath, "Returns the arctangent of a number, in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"dcmCHANGESIGN", kMath, "Changes the sign of a number" DCM_PRECISION, Params({Req("num")}, kFormat4),
               false, [](cls_Decimora& d, const Args& a) { return d.dcmCHANGESIGN(a[0], a[1], a[2], a[3], a[4]); }});
  t.push_back({"dcmCOS", kMath, "Returns the cosine of an angle given in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"dcmDEGREES", kMath, "Converts an angle from radians to degrees" DCM_PRECISION,
               Params({Req("radians"), Opt("maxSD")}), false, nullptr});
  t.push_back({"dcmE", kMath, "Returns the number e to the given number of digits" DCM_PRECISION,
               Params({Opt("digits")}), false, nullptr});
  t.push_back({"dcmEVEN", kMath, "Rounds a number away from zero to the nearest even integer" DCM_PRECISION,
               Params({Req("num"), Opt("RoundNegTowardZero")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmEVEN(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmEVEN2", kMath, "Rounds a number toward zero to the nearest even integer" DCM_PRECISION,
               Params({Req("num"), Opt("RoundNegAwayFromZero")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmEVEN2(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmEXP", kMath, "Returns e raised to the power of a number" DCM_PRECISION,
               Params({Req("num"), Opt("exponential_notation"), Opt("maximum_significant_digits")}), false, nullptr});
  t.push_back({"dcmFACT", kMath, "Returns the factorial of a number" DCM_PRECISION, Params({Req("num")}, kFormat4MaxSD),
               false, [](cls_Decimora& d, const Args& a) { return d.dcmFACT(a[0], a[1], a[2], a[3], a[4], a[5]); }});
  t.push_back({"dcmFACTDOUBLE", kMath, "Returns the double factorial of a number" DCM_PRECISION,
               Params({Req("num")}, kFormat4MaxSD), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmFACTDOUBLE(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmFRAC", kMath, "Returns the fractional part of a number" DCM_PRECISION,
               Params({Req("num"), Opt("as_int"), Opt("sign")}, kFormat4MaxSD), false,
               [](cls_Decimora& d, const Args& a) {
                 return d.dcmFRAC(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
               }});
  t.push_back({"dcmGCD", kMath, "Returns the greatest common divisor of whole numbers" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmGCD(a); }});
  t.push_back({"dcmGCD2", kMath,
               "Returns the greatest common divisor of numbers as given, decimals included" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmGCD2(a); }});
  t.push_back({"dcmINT", kMath, "Rounds a number down to the nearest integer" DCM_PRECISION,
               Params({Req("num")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmINT(a[0], a[1], a[2], a[3], a[4]);
               }});
  t.push_back({"dcmLCM", kMath, "Returns the least common multiple of whole numbers" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmLCM(a); }});
  t.push_back({"dcmLCM2", kMath,
               "Returns the least common multiple of numbers as given, decimals included" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmLCM2(a); }});
  t.push_back({"dcmLN", kMath, "Returns the natural logarithm of a number" DCM_PRECISION,
               Params({Req("num"), Opt("exponential_notation"), Opt("maximum_significant_digits")}), false, nullptr});
  t.push_back({"dcmLOG", kMath, "Returns the logarithm of a number to the given base (10 if omitted)" DCM_PRECISION,
               Params({Req("num"), Opt("num_base"), Opt("exponential_notation"), Opt("maximum_significant_digits")}),
               false, nullptr});
  t.push_back({"dcmMOD", kMath,
               "Returns the remainder of a division, the quotient rounded down and the result signed like the "
               "divisor unless chosen otherwise" DCM_PRECISION,
               Params({Req("dividend"), Req("divisor"), Opt("sign")}, kFormat4MaxSD), false,
               [](cls_Decimora& d, const Args& a) {
                 return d.dcmMOD(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
               }});
  t.push_back({"dcmMODTRUNC", kMath,
               "Returns the remainder of a division, the quotient truncated toward zero and the result signed like "
               "the divisor unless chosen otherwise" DCM_PRECISION,
               Params({Req("dividend"), Req("divisor"), Opt("sign")}, kFormat4MaxSD), false,
               [](cls_Decimora& d, const Args& a) {
                 return d.dcmMODTRUNC(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
               }});
  t.push_back({"dcmNEG", kMath, "Returns the negative of the magnitude of a number" DCM_PRECISION,
               Params({Req("num")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmNEG(a[0], a[1], a[2], a[3], a[4]);
               }});
  t.push_back({"dcmODD", kMath, "Rounds a number away from zero to the nearest odd integer" DCM_PRECISION,
               Params({Req("num"), Opt("RoundNegTowardZero")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmODD(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmODD2", kMath, "Rounds a number toward zero to the nearest odd integer" DCM_PRECISION,
               Params({Req("num"), Opt("RoundNegAwayFromZero")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmODD2(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmPI", kMath, "Returns the number pi to the given number of digits" DCM_PRECISION,
               Params({Opt("digits")}), false, nullptr});
  t.push_back({"dcmPRODUCT", kMath, "Multiplies a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmPRODUCT(a); }});
  t.push_back({"dcmRADIANS", kMath, "Converts an angle from degrees to radians" DCM_PRECISION,
               Params({Req("degrees"), Opt("maxSD")}), false, nullptr});
  t.push_back(
      {"dcmREDUCEFRACTION", kMath,
       "Reduces a fraction to its lowest terms; returns the fraction, numerator, divisor and the factor it "
       "was reduced by" DCM_PRECISION,
       Params({Req("Numerator"), Req("divisor"), Opt("simplify_signs"), Opt("always_simplify_fraction"),
               Opt("return_numerator"), Opt("return_divisor"), Opt("return_reduced_by"), Opt("fraction_separator")}),
       false, [](cls_Decimora& d, const Args& a) {
         return d.dcmREDUCEFRACTION(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
       }});
  t.push_back({"dcmREMAINDER", kMath,
               "Returns the remainder of a division, the quotient rounded down and the result signed like the "
               "divisor unless chosen otherwise" DCM_PRECISION,
               Params({Req("dividend"), Req("divisor"), Opt("sign")}, kFormat4MaxSD), false,
               [](cls_Decimora& d, const Args& a) {
                 return d.dcmREMAINDER(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
               }});
  t.push_back({"dcmROUND", kMath, "Rounds a number to the given number of digits" DCM_PRECISION,
               Params({Req("num"), Req("num_digits")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmROUND(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmROUNDDOWN", kMath, "Rounds a number toward zero to the given number of digits" DCM_PRECISION,
               Params({Req("num"), Req("num_digits")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmROUNDDOWN(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmROUNDUP", kMath, "Rounds a number away from zero to the given number of digits" DCM_PRECISION,
               Params({Req("num"), Req("num_digits")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmROUNDUP(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});
  t.push_back({"dcmSIGN", kMath, "Returns the sign of a number: 1, 0 or -1" DCM_PRECISION, Params({Req("num")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmSIGN(a[0]); }});
  t.push_back({"dcmSIN", kMath, "Returns the sine of an angle given in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back(
      {"dcmSQRT", kMath, "Returns the square root of a number" DCM_PRECISION,
       Params({Req("num"), Opt("format_thousands"), Opt("format_currency"), Opt("exponential_notation"), Opt("maxSD")}),
       false, nullptr});
  t.push_back(
      {"dcmSQRTPI", kMath, "Returns the square root of a number multiplied by pi" DCM_PRECISION,
       Params({Req("num"), Opt("format_thousands"), Opt("format_currency"), Opt("exponential_notation"), Opt("maxSD")}),
       false, nullptr});
  t.push_back({"dcmSUM", kMath, "Adds the numbers in a range" DCM_PRECISION, Params({Req("rngArray")}, kFormat4MaxSD),
               false, [](cls_Decimora& d, const Args& a) { return d.dcmSUM(a[0], a[1], a[2], a[3], a[4], a[5]); }});
  t.push_back({"dcmSUM2", kMath, "Adds a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmSUM2(a); }});
  t.push_back({"dcmTAN", kMath, "Returns the tangent of an angle given in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"dcmTRUNC", kMath, "Truncates a number to the given number of digits (0 if omitted)" DCM_PRECISION,
               Params({Req("num"), Opt("num_digits")}, kFormat4), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmTRUNC(a[0], a[1], a[2], a[3], a[4], a[5]);
               }});

  // --- Text ----------------------------------------------------------------
  t.push_back({"dcmEXCLUDE", kText,
               "Removes every occurrence of the listed texts from the first value" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, nullptr});
  t.push_back(
      {"dcmEXCLUDENOTNUM", kText,
       "Removes the listed texts from the first value and returns the number left in it" DCM_PRECISION DCM_LIST_HINT,
       Params({Req("numlist")}), true, nullptr});
  t.push_back({"dcmEXTRACT", kText,
               "Returns only the occurrences of the listed texts in the first value" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, nullptr});
  t.push_back({"dcmEXTRACTNUM", kText,
               "Returns the occurrences of the listed texts in the first value together with the number in the "
               "rest of it" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, nullptr});

  // --- Statistical -----------------------------------------------------------
  t.push_back({"dcmAVERAGE", kStatistical,
               "Returns the average of a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmAVERAGE(a); }});
  t.push_back({"dcmCOUNT", kStatistical, "Counts the numbers in a list of values and ranges." DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmCOUNT(a); }});
  t.push_back({"dcmLARGE", kStatistical, "Returns the k-th largest number in a range" DCM_PRECISION,
               Params({Req("numlist"), Req("k")}), false, nullptr});
  t.push_back({"dcmMAX", kStatistical,
               "Returns the largest number in a list of values and ranges" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmMAX(a); }});
  t.push_back({"dcmMEDIAN", kStatistical,
               "Returns the median of a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, nullptr});
  t.push_back({"dcmMIN", kStatistical,
               "Returns the smallest number in a list of values and ranges" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, [](cls_Decimora& d, const Args& a) { return d.dcmMIN(a); }});
  // The size of the block a frequency table is written into (rows, cols) is
  // the array-entered cell block, which the workbook supplies, so the list
  // itself is the only parameter a formula gives.
  t.push_back({"dcmMODE", kStatistical,
               "Returns the most frequent number in a list of values and ranges, or a frequency table with "
               "format:table" DCM_PRECISION DCM_LIST_HINT,
               Params({Req("numlist")}), true, nullptr});
  t.push_back({"dcmSMALL", kStatistical, "Returns the k-th smallest number in a range" DCM_PRECISION,
               Params({Req("numlist"), Req("k")}), false, nullptr});
  t.push_back({"dcmRANK", kStatistical, "Returns the rank of a number in a range" DCM_PRECISION,
               Params({Req("num"), Req("numlist"), Opt("ascending"), Opt("tie_compensation")}), false, nullptr});
  t.push_back({"dcmPOISSON", kStatistical,
               "Returns the Poisson probability of exactly, or at most, the target number of events" DCM_PRECISION,
               Params({Req("target_num"), Req("average_num"), Req("is_cumulative"), Opt("exponential_notation"),
                       Opt("maximum_significant_digits"), Opt("restrict_input_lengths")}),
               false, nullptr});

  // --- Information -----------------------------------------------------------
  t.push_back({"dcmISERROR", kInformation, "Returns TRUE if the value is an error value.", Params({Req("num")}), false,
               nullptr});
  t.push_back({"dcmISEVEN", kInformation, "Returns TRUE if the number is even" DCM_PRECISION, Params({Req("num")}),
               false, [](cls_Decimora& d, const Args& a) { return d.dcmISEVEN(a[0]); }});
  t.push_back({"dcmISNUMBER", kInformation, "Returns TRUE if the value can be read as a number by Decimora.",
               Params({Req("num")}), false, nullptr});
  t.push_back({"dcmISODD", kInformation, "Returns TRUE if the number is odd" DCM_PRECISION, Params({Req("num")}), false,
               [](cls_Decimora& d, const Args& a) { return d.dcmISODD(a[0]); }});

  // --- Add-in information ----------------------------------------------------
  t.push_back({"dcmTEST", kAddIn, "Returns a welcome message showing that Decimora is working.", {}, false, nullptr});
  t.push_back({"dcmVERSION", kAddIn, "Returns the version number of Decimora.", {}, false, nullptr});
  // dcmXLA and More_Information are macros of the add-in workbook, not of
  // this library: they are listed so the host describes them, and have no entry.
  t.push_back({"dcmXLA", kAddIn, "Returns information about the Decimora add-in workbook.", {}, false, nullptr});

  // --- Miscellaneous ---------------------------------------------------------
  t.push_back({"dcmSORT", kMiscellaneous,
               "Sorts the values of a range, numbers first in numeric order" DCM_PRECISION " Must be array-entered.",
               Params({Req("numlist"), Opt("descending"), Opt("left_to_right"), Opt("fit_to_array"), Opt("blank_text"),
                       Opt("rows"), Opt("cols")}),
               false, nullptr});
  t.push_back({"dcmFORMAT", kMiscellaneous,
               "Formats a number: negative style, thousands separators, currency, exponential notation and decimal "
               "places" DCM_PRECISION,
               Params({Req("number")}, kAllOptions), false, [](cls_Decimora& d, const Args& a) {
                 return d.dcmFORMAT(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]);
               }});

  // --- More information ------------------------------------------------------
  t.push_back({"More_Information",
               kMoreInfo,
               "Shows where to find more information about Decimora and its functions.",
               {},
               false,
               nullptr});

  // --- Public workers (callable, never registered with the host) -------------
  t.push_back({"dcmDEFAULTMAXSD",
               kWorkerCategory,
               "Returns the default maximum number of significant digits used when a function omits it.",
               {},
               false,
               [](cls_Decimora& d, const Args&) { return d.dcmDEFAULTMAXSD(); }});
  t.push_back({"Restrictionator", kWorkerCategory,
               "Normalises the format options of a call and returns them as one row: negative format, thousands, "
               "currency, exponential notation, maxSD, decimal places, preserve decimal places.",
               Params({}, kAllOptions), false, [](cls_Decimora& d, const Args& a) {
                 return RecordRow(d.Restrictionator(a[0], a[1], a[2], a[3], a[4], a[5], a[6]));
               }});
  t.push_back({"PublicRestrictionatorCaller", kWorkerCategory,
               "Normalises the first five format options of a call, as Restrictionator does without the decimal-place "
               "options.",
               Params({}, kFormat4MaxSD), false, [](cls_Decimora& d, const Args& a) {
                 return RecordRow(d.PublicRestrictionatorCaller(a[0], a[1], a[2], a[3], a[4]));
               }});
  t.push_back({"Osrel_Divide", kWorkerCategory,
               "Divides one unsigned digit string by another to the given number of significant digits; returns the "
               "digits and their power of ten.",
               Params({Req("iBig"), Req("kBig"), Req("Precision")}), false,
               [](cls_Decimora& d, const Args& a) { return RecordRow(d.Osrel_Divide(a[0], a[1], a[2])); }});
  t.push_back({"myInverse5", kWorkerCategory,
               "Returns about p significant digits of the reciprocal of an unsigned digit string, with their power of "
               "ten.",
               Params({Req("kBig"), Req("p")}), false,
               [](cls_Decimora& d, const Args& a) { return RecordRow(d.myInverse5(a[0], a[1])); }});
  t.push_back({"DivisionDecimalPosition", kWorkerCategory,
               "Estimates the number of integer digits of the quotient dividend / divisor of two unsigned digit "
               "strings.",
               Params({Req("divisor"), Req("dividend")}), false,
               [](cls_Decimora& d, const Args& a) { return d.DivisionDecimalPosition(a[0], a[1]); }});
  t.push_back({"Min", kWorkerCategory, "Returns the smaller of two values.", Params({Req("num1"), Req("num2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.Min(a[0], a[1]); }});
  t.push_back({"Max", kWorkerCategory, "Returns the larger of two values.", Params({Req("num1"), Req("num2")}), false,
               [](cls_Decimora& d, const Args& a) { return d.Max(a[0], a[1]); }});
  t.push_back({"GetHalfofLong", kWorkerCategory, "Halves a 32-bit integer, rounding down.",
               Params({Req("num_as_long")}), false, [](cls_Decimora& d, const Args& a) { return d.GetHalfofLong(a[0]); }});
  t.push_back({"Get_Mantissa", kWorkerCategory,
               "Returns the mantissa of a non-negative number: 0.m, or the digits m as an integer.",
               Params({Req("num"), Opt("as_integer")}), false, nullptr});
  t.push_back({"Get_Exponent", kWorkerCategory,
               "Returns the power of ten x for which a non-negative number is 0.m times 10 to the x.",
               Params({Req("num")}), false, nullptr});
  t.push_back({"Combine_Mantissa_And_Exponent", kWorkerCategory,
               "Returns mantissa times 10 to the power exponent, computed in double precision.",
               Params({Req("mantissa"), Req("exponent")}), false, nullptr});
  t.push_back({"Test_Mantissa_And_Exponent", kWorkerCategory,
               "Splits a non-negative number into mantissa and exponent and joins them again in double precision.",
               Params({Req("num")}), false, nullptr});
  t.push_back({"Cos_Function", kWorkerCategory, "Returns the cosine of an angle given in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"Tan_Function", kWorkerCategory, "Returns the tangent of an angle given in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"ATan_Function", kWorkerCategory, "Returns the arctangent of a number, in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"ASin_Function", kWorkerCategory, "Returns the arcsine of a number, in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back({"ACos_Function", kWorkerCategory, "Returns the arccosine of a number, in radians" DCM_PRECISION,
               Params({Req("num"), Opt("maxSD")}), false, nullptr});
  t.push_back(
      {"dcmHelpfilePath", kWorkerCategory, "Returns the full path of the Decimora help file.", {}, false, nullptr});
  return t;
}

#undef DCM_PRECISION
#undef DCM_LIST_HINT

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

const std::vector<FunctionRow>& FunctionTable() {
  static const std::vector<FunctionRow> table = BuildTable();
  return table;
}

const FunctionRow* FindFunction(std::string_view name) {
  // The class spells pi's method dcmPi; case-insensitive lookup already maps
  // it to the host's dcmPI.
  for (const FunctionRow& row : FunctionTable()) {
    if (EqualsIgnoreCase(row.name, name)) return &row;
  }
  return nullptr;
}

Value CallFunction(cls_Decimora& dcm, const FunctionRow& row, std::vector<Value> args) {
  if (row.entry == nullptr) return Value::Error(HostError::Name);
  if (args.size() > row.params.size() && !row.openEnded) return Value::Error(HostError::Value);
  // A required argument left empty in the list (dcmADD(1,,2)) is an empty
  // value, as a blank cell is, and reads as 0; only optional ones can be
  // omitted.
  for (std::size_t i = 0; i < args.size() && i < row.params.size(); ++i) {
    if (args[i].isOmitted() && !row.params[i].optional && !(row.openEnded && i + 1 == row.params.size())) {
      args[i] = Value::Empty();
    }
  }
  if (args.size() < row.params.size()) args.resize(row.params.size(), Value::Omitted());
  // The methods report their own failures as values; anything thrown past
  // them (a conversion that cannot be made, memory) must not reach the host.
  try {
    return row.entry(dcm, args);
  } catch (...) {
    return Value::Error(HostError::Value);
  }
}

}  // namespace decimora
