// The registration table. Rows for the host come first, grouped by category
// in the order the host registers them; the public workers follow. A function
// becomes callable by binding its row to the face's method (Bound<&method>),
// which also checks at compile time that the row declares exactly as many
// parameters as the method takes; until then the row is Unavailable and
// answers #NAME?.

#include "api/registry.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <span>
#include <type_traits>
#include <utility>

namespace decimora {
namespace {

constexpr std::string_view kOperators = "High-Precision Operators";
constexpr std::string_view kMath = "High-Precision Math";
constexpr std::string_view kText = "High-Precision Text";
constexpr std::string_view kStatistical = "High-Precision Statistical";
constexpr std::string_view kInformation = "High-Precision Information";
constexpr std::string_view kAddIn = "Decimora Add-In Information";
constexpr std::string_view kMiscellaneous = "High-Precision Miscellaneous";
constexpr std::string_view kMoreInfo = "High-Precision - More Info";

constexpr Param Req(std::string_view name, std::string_view description = {}) { return {name, false, description}; }
constexpr Param Opt(std::string_view name, std::string_view description = {}) { return {name, true, description}; }

// Parameter lists are arrays, so that their length is known when a row is bound.
template <typename... P>
constexpr std::array<Param, sizeof...(P)> Args(P... params) {
  return {params...};
}

// A function's own parameters followed by one of the shared option tails.
template <std::size_t A, std::size_t B>
constexpr std::array<Param, A + B> Join(const std::array<Param, A>& head, const std::array<Param, B>& tail) {
  std::array<Param, A + B> out{};
  for (std::size_t i = 0; i < A; ++i) out[i] = head[i];
  for (std::size_t i = 0; i < B; ++i) out[A + i] = tail[i];
  return out;
}

// The shared option tails, each option with the one description every row
// that takes it shows.
constexpr Param kFormatNegative = Opt("format_negative",
                                      "How a negative result is written: 1 (or omitted) a leading minus, 2 in "
                                      "parentheses, 3 a trailing minus, 4 a leading minus with a space.");
constexpr Param kFormatThousands =
    Opt("format_thousands", "TRUE to group the integer digits in thousands; FALSE or omitted for no grouping.");
constexpr Param kFormatCurrency =
    Opt("format_currency", "TRUE to write the result with the currency symbol; FALSE or omitted for none.");
constexpr Param kExponentialNotation = Opt("exponential_notation",
                                           "TRUE to write the result as digits times a power of ten (1.5E+20); "
                                           "FALSE or omitted for plain digits.");
constexpr Param kMaxSD = Opt("maximum_significant_digits",
                             "The most significant digits the result keeps, 1 to 32,767; omitted means the "
                             "default (dcmDEFAULTMAXSD).");
constexpr Param kFormatDecimalPlace = Opt("format_decimal_place",
                                          "A fixed number of digits after the decimal separator; omitted keeps "
                                          "the digits the result has.");
constexpr Param kPreserveDecimalPlace = Opt("preserve_decimal_place",
                                            "TRUE to keep trailing zeros after the decimal separator; FALSE or "
                                            "omitted to drop them.");
constexpr Param kRestrictInputLengths = Opt("restrict_input_lengths",
                                            "TRUE or omitted to refuse operands whose work would not fit a "
                                            "cell; FALSE to compute anyway.");

// The four format options most functions take, in the class's order.
constexpr auto kFormat4 = Args(kFormatNegative, kFormatThousands, kFormatCurrency, kExponentialNotation);
constexpr auto kFormat4MaxSD = Join(kFormat4, Args(kMaxSD));
// The full option set of the operators and dcmFORMAT.
constexpr auto kAllOptions = Join(kFormat4MaxSD, Args(kFormatDecimalPlace, kPreserveDecimalPlace));
// dcmROOT and dcmPOWER put restrict_input_lengths before the decimal-place options.
constexpr auto kRootPowerOptions =
    Join(kFormat4MaxSD, Args(kRestrictInputLengths, kFormatDecimalPlace, kPreserveDecimalPlace));

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

Value ToValue(Value v) { return v; }
Value ToValue(const type_Restrictionator& r) { return RecordRow(r); }
Value ToValue(const engine::type_Division_Osrel& r) { return RecordRow(r); }

// What a row says about itself, apart from its parameters.
struct Head {
  std::string_view name;
  std::string_view category;
  std::string_view description;
};

// The shape of a face method: how many arguments it takes, and whether it
// takes an open-ended list (one span of every argument given).
template <typename>
struct MethodShape;
template <typename R, typename... A>
struct MethodShape<R (cls_Decimora::*)(A...)> {
  static constexpr std::size_t kArity = sizeof...(A);
  static constexpr bool kList = kArity == 1 && (std::is_same_v<std::remove_cvref_t<A>, std::span<const Value>> && ...);
};

template <auto M, std::size_t... I>
Value CallFixed(cls_Decimora& dcm, [[maybe_unused]] std::span<const Value> args, std::index_sequence<I...>) {
  return ToValue((dcm.*M)(args[I]...));
}

template <auto M>
Value Enter(cls_Decimora& dcm, std::span<const Value> args) {
  using Shape = MethodShape<decltype(M)>;
  if constexpr (Shape::kList) {
    return ToValue((dcm.*M)(args));
  } else {
    return CallFixed<M>(dcm, args, std::make_index_sequence<Shape::kArity>{});
  }
}

template <std::size_t N>
FunctionRow Unbound(const Head& head, const std::array<Param, N>& params) {
  FunctionRow row;
  row.name = head.name;
  row.category = head.category;
  row.description = head.description;
  row.params.assign(params.begin(), params.end());
  return row;
}

// A row bound to the face's method M. A list method declares its one
// repeating parameter; any other declares exactly the method's parameters.
template <auto M, std::size_t N>
FunctionRow Bound(const Head& head, const std::array<Param, N>& params) {
  using Shape = MethodShape<decltype(M)>;
  static_assert(Shape::kList ? N == 1 : N == Shape::kArity,
                "a row must declare exactly the parameters of the method it binds");
  FunctionRow row = Unbound(head, params);
  row.openEnded = Shape::kList;
  row.entry = &Enter<M>;
  return row;
}

// A row whose function is not available yet; kList marks an open-ended list.
enum ListFlag { kFixed, kList };
template <std::size_t N>
FunctionRow Unavailable(const Head& head, const std::array<Param, N>& params, ListFlag list = kFixed) {
  FunctionRow row = Unbound(head, params);
  row.openEnded = list == kList;
  return row;
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
  t.push_back(Bound<&cls_Decimora::dcmADD>({"dcmADD", kOperators, "Adds two numbers" DCM_PRECISION},
                                           Join(Args(Req("number1"), Req("number2")), kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmSUBTRACT>(
      {"dcmSUBTRACT", kOperators, "Subtracts the second number from the first" DCM_PRECISION},
      Join(Args(Req("number1"), Req("number2")), kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmMULTIPLY>({"dcmMULTIPLY", kOperators, "Multiplies two numbers" DCM_PRECISION},
                                                Join(Args(Req("number1"), Req("number2")), kAllOptions)));
  t.push_back(
      Bound<&cls_Decimora::dcmDIVIDE>({"dcmDIVIDE", kOperators, "Divides the first number by the second" DCM_PRECISION},
                                      Join(Args(Req("number1"), Req("number2")), kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmPOWER>(
      {"dcmPOWER", kOperators, "Raises the first number to the power of the second" DCM_PRECISION},
      Join(Args(Req("number1"), Req("number2")), kRootPowerOptions)));
  t.push_back(Unavailable(
      {"dcmROOT", kOperators, "Returns the root of the first number, of the degree given by the second" DCM_PRECISION},
      Join(Args(Req("number1"), Req("number2")), kRootPowerOptions)));
  t.push_back(
      Bound<&cls_Decimora::dcmISEQUAL>({"dcmISEQUAL", kOperators, "Tests whether two numbers are equal" DCM_PRECISION},
                                       Args(Req("number1"), Req("number2"))));
  t.push_back(Bound<&cls_Decimora::dcmISNOTEQUAL>(
      {"dcmISNOTEQUAL", kOperators, "Tests whether two numbers are not equal" DCM_PRECISION},
      Args(Req("number1"), Req("number2"))));
  t.push_back(Bound<&cls_Decimora::dcmISGREATER>(
      {"dcmISGREATER", kOperators, "Tests whether the first number is greater than the second" DCM_PRECISION},
      Args(Req("number1"), Req("number2"))));
  t.push_back(Bound<&cls_Decimora::dcmISGREATEROREQUAL>(
      {"dcmISGREATEROREQUAL", kOperators,
       "Tests whether the first number is greater than or equal to the second" DCM_PRECISION},
      Args(Req("number1"), Req("number2"))));
  t.push_back(Bound<&cls_Decimora::dcmISLESS>(
      {"dcmISLESS", kOperators, "Tests whether the first number is less than the second" DCM_PRECISION},
      Args(Req("number1"), Req("number2"))));
  t.push_back(Bound<&cls_Decimora::dcmISLESSOREQUAL>(
      {"dcmISLESSOREQUAL", kOperators,
       "Tests whether the first number is less than or equal to the second" DCM_PRECISION},
      Args(Req("number1"), Req("number2"))));

  // --- Math ----------------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmABS>({"dcmABS", kMath, "Returns the absolute value of a number" DCM_PRECISION},
                                           Join(Args(Req("num")), kFormat4)));
  t.push_back(Unavailable({"dcmACOS", kMath, "Returns the arccosine of a number, in radians" DCM_PRECISION},
                          Args(Req("num"), Opt("maxSD"))));
  t.push_back(Unavailable({"dcmASIN", kMath, "Returns the arcsine of a number, in radians" DCM_PRECISION},
                          Args(Req("num"), Opt("maxSD"))));
  t.push_back(Unavailable({"dcmATAN", kMath, "Returns the arctangent of a number, in radians" DCM_PRECISION},
                          Args(Req("num"), Opt("maxSD"))));
  t.push_back(Bound<&cls_Decimora::dcmCHANGESIGN>(
      {"dcmCHANGESIGN", kMath, "Changes the sign of a number" DCM_PRECISION}, Join(Args(Req("num")), kFormat4)));
  t.push_back(Unavailable({"dcmCOS", kMath, "Returns the cosine of an angle given in radians" DCM_PRECISION},
                          Args(Req("num"), Opt("maxSD"))));
  t.push_back(Unavailable({"dcmDEGREES", kMath, "Converts an angle from radians to degrees" DCM_PRECISION},
                          Args(Req("radians"), Opt("maxSD"))));
  t.push_back(Unavailable({"dcmE", kMath, "Returns the number e to the given number of digits" DCM_PRECISION},
                          Args(Opt("digits"))));
  t.push_back(Bound<&cls_Decimora::dcmEVEN>(
      {"dcmEVEN", kMath, "Rounds a number away from zero to the nearest even integer" DCM_PRECISION},
      Join(Args(Req("num"), Opt("RoundNegTowardZero")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmEVEN2>(
      {"dcmEVEN2", kMath, "Rounds a number toward zero to the nearest even integer" DCM_PRECISION},
      Join(Args(Req("num"), Opt("RoundNegAwayFromZero")), kFormat4)));
  t.push_back(Unavailable({"dcmEXP", kMath, "Returns e raised to the power of a number" DCM_PRECISION},
                          Args(Req("num"), Opt("exponential_notation"), Opt("maximum_significant_digits"))));
  t.push_back(Bound<&cls_Decimora::dcmFACT>({"dcmFACT", kMath, "Returns the factorial of a number" DCM_PRECISION},
                                            Join(Args(Req("num")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmFACTDOUBLE>(
      {"dcmFACTDOUBLE", kMath, "Returns the double factorial of a number" DCM_PRECISION},
      Join(Args(Req("num")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmFRAC>({"dcmFRAC", kMath, "Returns the fractional part of a number" DCM_PRECISION},
                                            Join(Args(Req("num"), Opt("as_int"), Opt("sign")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmGCD>(
      {"dcmGCD", kMath, "Returns the greatest common divisor of whole numbers" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Bound<&cls_Decimora::dcmGCD2>(
      {"dcmGCD2", kMath,
       "Returns the greatest common divisor of numbers as given, decimals included" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(
      Bound<&cls_Decimora::dcmINT>({"dcmINT", kMath, "Rounds a number down to the nearest integer" DCM_PRECISION},
                                   Join(Args(Req("num")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmLCM>(
      {"dcmLCM", kMath, "Returns the least common multiple of whole numbers" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Bound<&cls_Decimora::dcmLCM2>(
      {"dcmLCM2", kMath,
       "Returns the least common multiple of numbers as given, decimals included" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Unavailable({"dcmLN", kMath, "Returns the natural logarithm of a number" DCM_PRECISION},
                          Args(Req("num"), Opt("exponential_notation"), Opt("maximum_significant_digits"))));
  t.push_back(Unavailable(
      {"dcmLOG", kMath, "Returns the logarithm of a number to the given base (10 if omitted)" DCM_PRECISION},
      Args(Req("num"), Opt("num_base"), Opt("exponential_notation"), Opt("maximum_significant_digits"))));
  t.push_back(Bound<&cls_Decimora::dcmMOD>(
      {"dcmMOD", kMath,
       "Returns the remainder of a division, the quotient rounded down and the result signed like the "
       "divisor unless chosen otherwise" DCM_PRECISION},
      Join(Args(Req("dividend"), Req("divisor"), Opt("sign")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmMODTRUNC>(
      {"dcmMODTRUNC", kMath,
       "Returns the remainder of a division, the quotient truncated toward zero and the result signed like "
       "the divisor unless chosen otherwise" DCM_PRECISION},
      Join(Args(Req("dividend"), Req("divisor"), Opt("sign")), kFormat4MaxSD)));
  t.push_back(
      Bound<&cls_Decimora::dcmNEG>({"dcmNEG", kMath, "Returns the negative of the magnitude of a number" DCM_PRECISION},
                                   Join(Args(Req("num")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmODD>(
      {"dcmODD", kMath, "Rounds a number away from zero to the nearest odd integer" DCM_PRECISION},
      Join(Args(Req("num"), Opt("RoundNegTowardZero")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmODD2>(
      {"dcmODD2", kMath, "Rounds a number toward zero to the nearest odd integer" DCM_PRECISION},
      Join(Args(Req("num"), Opt("RoundNegAwayFromZero")), kFormat4)));
  t.push_back(Unavailable({"dcmPI", kMath, "Returns the number pi to the given number of digits" DCM_PRECISION},
                          Args(Opt("digits"))));
  t.push_back(Bound<&cls_Decimora::dcmPRODUCT>(
      {"dcmPRODUCT", kMath, "Multiplies a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Unavailable({"dcmRADIANS", kMath, "Converts an angle from degrees to radians" DCM_PRECISION},
                          Args(Req("degrees"), Opt("maxSD"))));
  t.push_back(Bound<&cls_Decimora::dcmREDUCEFRACTION>(
      {"dcmREDUCEFRACTION", kMath,
       "Reduces a fraction to its lowest terms; returns the fraction, numerator, divisor and the factor it "
       "was reduced by" DCM_PRECISION},
      Args(Req("Numerator"), Req("divisor"), Opt("simplify_signs"), Opt("always_simplify_fraction"),
           Opt("return_numerator"), Opt("return_divisor"), Opt("return_reduced_by"), Opt("fraction_separator"))));
  t.push_back(Bound<&cls_Decimora::dcmREMAINDER>(
      {"dcmREMAINDER", kMath,
       "Returns the remainder of a division, the quotient rounded down and the result signed like the "
       "divisor unless chosen otherwise" DCM_PRECISION},
      Join(Args(Req("dividend"), Req("divisor"), Opt("sign")), kFormat4MaxSD)));
  t.push_back(
      Bound<&cls_Decimora::dcmROUND>({"dcmROUND", kMath, "Rounds a number to the given number of digits" DCM_PRECISION},
                                     Join(Args(Req("num"), Req("num_digits")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmROUNDDOWN>(
      {"dcmROUNDDOWN", kMath, "Rounds a number toward zero to the given number of digits" DCM_PRECISION},
      Join(Args(Req("num"), Req("num_digits")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmROUNDUP>(
      {"dcmROUNDUP", kMath, "Rounds a number away from zero to the given number of digits" DCM_PRECISION},
      Join(Args(Req("num"), Req("num_digits")), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmSIGN>(
      {"dcmSIGN", kMath, "Returns the sign of a number: 1, 0 or -1" DCM_PRECISION}, Args(Req("num"))));
  t.push_back(Unavailable({"dcmSIN", kMath, "Returns the sine of an angle given in radians" DCM_PRECISION},
                          Args(Req("num"), Opt("maxSD"))));
  t.push_back(Unavailable(
      {"dcmSQRT", kMath, "Returns the square root of a number" DCM_PRECISION},
      Args(Req("num"), Opt("format_thousands"), Opt("format_currency"), Opt("exponential_notation"), Opt("maxSD"))));
  t.push_back(Unavailable(
      {"dcmSQRTPI", kMath, "Returns the square root of a number multiplied by pi" DCM_PRECISION},
      Args(Req("num"), Opt("format_thousands"), Opt("format_currency"), Opt("exponential_notation"), Opt("maxSD"))));
  t.push_back(Bound<&cls_Decimora::dcmSUM>({"dcmSUM", kMath, "Adds the numbers in a range" DCM_PRECISION},
                                           Join(Args(Req("rngArray")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmSUM2>(
      {"dcmSUM2", kMath, "Adds a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT}, Args(Req("numlist"))));
  t.push_back(Unavailable({"dcmTAN", kMath, "Returns the tangent of an angle given in radians" DCM_PRECISION},
                          Args(Req("num"), Opt("maxSD"))));
  t.push_back(Bound<&cls_Decimora::dcmTRUNC>(
      {"dcmTRUNC", kMath, "Truncates a number to the given number of digits (0 if omitted)" DCM_PRECISION},
      Join(Args(Req("num"), Opt("num_digits")), kFormat4)));

  // --- Text ----------------------------------------------------------------
  t.push_back(
      Unavailable({"dcmEXCLUDE", kText,
                   "Removes every occurrence of the listed texts from the first value" DCM_PRECISION DCM_LIST_HINT},
                  Args(Req("numlist")), kList));
  t.push_back(Unavailable(
      {"dcmEXCLUDENOTNUM", kText,
       "Removes the listed texts from the first value and returns the number left in it" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist")), kList));
  t.push_back(
      Unavailable({"dcmEXTRACT", kText,
                   "Returns only the occurrences of the listed texts in the first value" DCM_PRECISION DCM_LIST_HINT},
                  Args(Req("numlist")), kList));
  t.push_back(
      Unavailable({"dcmEXTRACTNUM", kText,
                   "Returns the occurrences of the listed texts in the first value together with the number in the "
                   "rest of it" DCM_PRECISION DCM_LIST_HINT},
                  Args(Req("numlist")), kList));

  // --- Statistical -----------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmAVERAGE>(
      {"dcmAVERAGE", kStatistical, "Returns the average of a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Bound<&cls_Decimora::dcmCOUNT>(
      {"dcmCOUNT", kStatistical, "Counts the numbers in a list of values and ranges." DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Unavailable({"dcmLARGE", kStatistical, "Returns the k-th largest number in a range" DCM_PRECISION},
                          Args(Req("numlist"), Req("k"))));
  t.push_back(Bound<&cls_Decimora::dcmMAX>(
      {"dcmMAX", kStatistical, "Returns the largest number in a list of values and ranges" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  t.push_back(Unavailable(
      {"dcmMEDIAN", kStatistical, "Returns the median of a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist")), kList));
  t.push_back(Bound<&cls_Decimora::dcmMIN>(
      {"dcmMIN", kStatistical,
       "Returns the smallest number in a list of values and ranges" DCM_PRECISION DCM_LIST_HINT},
      Args(Req("numlist"))));
  // The size of the block a frequency table is written into (rows, cols) is
  // the array-entered cell block, which the workbook supplies, so the list
  // itself is the only parameter a formula gives.
  t.push_back(Unavailable({"dcmMODE", kStatistical,
                           "Returns the most frequent number in a list of values and ranges, or a frequency table with "
                           "format:table" DCM_PRECISION DCM_LIST_HINT},
                          Args(Req("numlist")), kList));
  t.push_back(Unavailable({"dcmSMALL", kStatistical, "Returns the k-th smallest number in a range" DCM_PRECISION},
                          Args(Req("numlist"), Req("k"))));
  t.push_back(Unavailable({"dcmRANK", kStatistical, "Returns the rank of a number in a range" DCM_PRECISION},
                          Args(Req("num"), Req("numlist"), Opt("ascending"), Opt("tie_compensation"))));
  t.push_back(
      Unavailable({"dcmPOISSON", kStatistical,
                   "Returns the Poisson probability of exactly, or at most, the target number of events" DCM_PRECISION},
                  Args(Req("target_num"), Req("average_num"), Req("is_cumulative"), Opt("exponential_notation"),
                       Opt("maximum_significant_digits"), Opt("restrict_input_lengths"))));

  // --- Information -----------------------------------------------------------
  t.push_back(
      Unavailable({"dcmISERROR", kInformation, "Returns TRUE if the value is an error value."}, Args(Req("num"))));
  t.push_back(Bound<&cls_Decimora::dcmISEVEN>(
      {"dcmISEVEN", kInformation, "Returns TRUE if the number is even" DCM_PRECISION}, Args(Req("num"))));
  t.push_back(
      Unavailable({"dcmISNUMBER", kInformation, "Returns TRUE if the value can be read as a number by Decimora."},
                  Args(Req("num"))));
  t.push_back(Bound<&cls_Decimora::dcmISODD>(
      {"dcmISODD", kInformation, "Returns TRUE if the number is odd" DCM_PRECISION}, Args(Req("num"))));

  // --- Add-in information ----------------------------------------------------
  t.push_back(Unavailable({"dcmTEST", kAddIn, "Returns a welcome message showing that Decimora is working."}, Args()));
  t.push_back(Unavailable({"dcmVERSION", kAddIn, "Returns the version number of Decimora."}, Args()));
  // Here dcmXLA returns the host error #NAME?: this library has no entry for it.
  t.push_back(Unavailable({"dcmXLA", kAddIn, "Returns information about the Decimora add-in workbook."}, Args()));

  // --- Miscellaneous ---------------------------------------------------------
  t.push_back(Unavailable(
      {"dcmSORT", kMiscellaneous,
       "Sorts the values of a range, numbers first in numeric order" DCM_PRECISION " Must be array-entered."},
      Args(Req("numlist"), Opt("descending"), Opt("left_to_right"), Opt("fit_to_array"), Opt("blank_text"), Opt("rows"),
           Opt("cols"))));
  t.push_back(Bound<&cls_Decimora::dcmFORMAT>(
      {"dcmFORMAT", kMiscellaneous,
       "Formats a number: negative style, thousands separators, currency, exponential notation and decimal "
       "places" DCM_PRECISION},
      Join(Args(Req("number")), kAllOptions)));

  // --- More information ------------------------------------------------------
  // Here More_Information returns the host error #NAME?: this library has no entry for it.
  t.push_back(Unavailable(
      {"More_Information", kMoreInfo, "Shows where to find more information about Decimora and its functions."},
      Args()));

  // --- Public workers (callable, never registered with the host) -------------
  t.push_back(Bound<&cls_Decimora::dcmDEFAULTMAXSD>(
      {"dcmDEFAULTMAXSD", kWorkerCategory,
       "Returns the default maximum number of significant digits used when a function omits it."},
      Args()));
  t.push_back(Bound<&cls_Decimora::Restrictionator>(
      {"Restrictionator", kWorkerCategory,
       "Normalises the format options of a call and returns them as one row: negative format, thousands, "
       "currency, exponential notation, maxSD, decimal places, preserve decimal places."},
      kAllOptions));
  t.push_back(Bound<&cls_Decimora::PublicRestrictionatorCaller>(
      {"PublicRestrictionatorCaller", kWorkerCategory,
       "Normalises the first five format options of a call, as Restrictionator does without the decimal-place "
       "options."},
      kFormat4MaxSD));
  t.push_back(Bound<&cls_Decimora::Osrel_Divide>(
      {"Osrel_Divide", kWorkerCategory,
       "Divides one unsigned digit string by another to the given number of significant digits; returns the "
       "digits and their power of ten."},
      Args(Req("iBig"), Req("kBig"), Req("Precision"))));
  t.push_back(Bound<&cls_Decimora::myInverse5>(
      {"myInverse5", kWorkerCategory,
       "Returns about p significant digits of the reciprocal of an unsigned digit string, with their power of "
       "ten."},
      Args(Req("kBig"), Req("p"))));
  t.push_back(Bound<&cls_Decimora::DivisionDecimalPosition>(
      {"DivisionDecimalPosition", kWorkerCategory,
       "Estimates the number of integer digits of the quotient dividend / divisor of two unsigned digit "
       "strings."},
      Args(Req("divisor"), Req("dividend"))));
  t.push_back(Bound<&cls_Decimora::Min>({"Min", kWorkerCategory, "Returns the smaller of two values."},
                                        Args(Req("num1"), Req("num2"))));
  t.push_back(Bound<&cls_Decimora::Max>({"Max", kWorkerCategory, "Returns the larger of two values."},
                                        Args(Req("num1"), Req("num2"))));
  t.push_back(Bound<&cls_Decimora::GetHalfofLong>(
      {"GetHalfofLong", kWorkerCategory, "Halves a 32-bit integer, rounding down."}, Args(Req("num_as_long"))));
  t.push_back(Unavailable({"Get_Mantissa", kWorkerCategory,
                           "Returns the mantissa of a non-negative number: 0.m, or the digits m as an integer."},
                          Args(Req("num"), Opt("as_integer"))));
  t.push_back(Unavailable({"Get_Exponent", kWorkerCategory,
                           "Returns the power of ten x for which a non-negative number is 0.m times 10 to the x."},
                          Args(Req("num"))));
  t.push_back(Unavailable({"Combine_Mantissa_And_Exponent", kWorkerCategory,
                           "Returns mantissa times 10 to the power exponent, computed in double precision."},
                          Args(Req("mantissa"), Req("exponent"))));
  t.push_back(
      Unavailable({"Test_Mantissa_And_Exponent", kWorkerCategory,
                   "Splits a non-negative number into mantissa and exponent and joins them again in double precision."},
                  Args(Req("num"))));
  t.push_back(
      Unavailable({"Cos_Function", kWorkerCategory, "Returns the cosine of an angle given in radians" DCM_PRECISION},
                  Args(Req("num"), Opt("maxSD"))));
  t.push_back(
      Unavailable({"Tan_Function", kWorkerCategory, "Returns the tangent of an angle given in radians" DCM_PRECISION},
                  Args(Req("num"), Opt("maxSD"))));
  t.push_back(
      Unavailable({"ATan_Function", kWorkerCategory, "Returns the arctangent of a number, in radians" DCM_PRECISION},
                  Args(Req("num"), Opt("maxSD"))));
  t.push_back(
      Unavailable({"ASin_Function", kWorkerCategory, "Returns the arcsine of a number, in radians" DCM_PRECISION},
                  Args(Req("num"), Opt("maxSD"))));
  t.push_back(
      Unavailable({"ACos_Function", kWorkerCategory, "Returns the arccosine of a number, in radians" DCM_PRECISION},
                  Args(Req("num"), Opt("maxSD"))));
  t.push_back(
      Unavailable({"dcmHelpfilePath", kWorkerCategory, "Returns the full path of the Decimora help file."}, Args()));
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
    return row.entry(dcm, std::span<const Value>(args));
  } catch (...) {
    return Value::Error(HostError::Value);
  }
}

}  // namespace decimora
