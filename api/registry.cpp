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
                                      "How a negative result is written: 1 or omitted with a leading minus, 2 in "
                                      "parentheses, 0 without its sign.");
constexpr Param kFormatThousands =
    Opt("format_thousands", "TRUE to group the integer digits in thousands; FALSE or omitted for no grouping.");
constexpr Param kFormatCurrency =
    Opt("format_currency", "TRUE to write the result with the currency symbol; FALSE or omitted for none.");
constexpr Param kExponentialNotation =
    Opt("exponential_notation",
        "TRUE to write the result as digits times a power of ten (1.5E+20); FALSE or omitted for plain digits.");
constexpr Param kMaxSD =
    Opt("maximum_significant_digits",
        "The most significant digits the result keeps, at most 32,767; omitted or not a number means the default "
        "(dcmDEFAULTMAXSD).");
constexpr Param kFormatDecimalPlace =
    Opt("format_decimal_place",
        "A fixed number of digits after the decimal separator; omitted keeps the digits the result has.");
constexpr Param kPreserveDecimalPlace =
    Opt("preserve_decimal_place",
        "TRUE to keep trailing zeros after the decimal separator; FALSE or omitted to drop them.");
// The precision argument of the transcendental functions, named maxSD there.
constexpr Param kMaxSDShort = Opt(
    "maxSD", "The most significant digits of the result, 1 to 32,767; omitted means the default (dcmDEFAULTMAXSD).");
constexpr Param kRestrictInputLengths = Opt("restrict_input_lengths",
                                            "TRUE or omitted: operands of more than 16,383 digits in all give "
                                            "#NUM!; FALSE lifts that limit.");

// The four format options most functions take, in the class's order.
constexpr auto kFormat4 = Args(kFormatNegative, kFormatThousands, kFormatCurrency, kExponentialNotation);
constexpr auto kFormat4MaxSD = Join(kFormat4, Args(kMaxSD));
// The full option set of the operators and dcmFORMAT.
constexpr auto kAllOptions = Join(kFormat4MaxSD, Args(kFormatDecimalPlace, kPreserveDecimalPlace));
// dcmROOT and dcmPOWER put restrict_input_lengths before the decimal-place options.
constexpr auto kRootPowerOptions =
    Join(kFormat4MaxSD, Args(kRestrictInputLengths, kFormatDecimalPlace, kPreserveDecimalPlace));

// Descriptions shared by the own parameters of several rows.
constexpr std::string_view kFirstNumber =
    "The first number: a number text of up to 32,767 significant digits, or a number.";
constexpr std::string_view kNumber = "The number: a number text of up to 32,767 significant digits, or a number.";
constexpr std::string_view kValueList =
    "Numbers, texts and ranges, in any mix; a text \"format:...\" among them is a directive, not a value.";
constexpr std::string_view kAngle = "The angle in radians: a number text or a number.";
constexpr std::string_view kSignChoice =
    "The sign of the result: 1 the remainder's own, 2 the dividend's, 3 (or omitted) the divisor's, 4 positive, 5 "
    "negative.";

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

// Whether a row's result is one value or an array (entered into a block of
// cells).
enum ResultShape { kOneValue, kArray };

// What a row says about itself, apart from its parameters. The example is
// written for every row, available or not; it runs once the row has an entry.
struct Head {
  std::string_view name;
  std::string_view category;
  std::string_view description;
  std::string_view example;
  std::string_view exampleResult;
  ResultShape shape = kOneValue;
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
  row.returnsArray = head.shape == kArray;
  row.example = head.example;
  row.exampleResult = head.exampleResult;
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
  t.push_back(Bound<&cls_Decimora::dcmADD>(
      {"dcmADD", kOperators, "Adds two numbers" DCM_PRECISION, "=dcmADD(\"0.1\", \"0.2\")", "0.3"},
      Join(Args(Req("number1", kFirstNumber), Req("number2", "The number to add.")), kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmSUBTRACT>(
      {"dcmSUBTRACT", kOperators, "Subtracts the second number from the first" DCM_PRECISION,
       "=dcmSUBTRACT(\"3\", \"12.5\", 2)", "(9.5)"},
      Join(Args(Req("number1", kFirstNumber), Req("number2", "The number to subtract from the first.")), kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmMULTIPLY>(
      {"dcmMULTIPLY", kOperators, "Multiplies two numbers" DCM_PRECISION, "=dcmMULTIPLY(\"1.5\", \"-4\")", "-6"},
      Join(Args(Req("number1", kFirstNumber), Req("number2", "The number to multiply by.")), kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmDIVIDE>(
      {"dcmDIVIDE", kOperators, "Divides the first number by the second" DCM_PRECISION, "=dcmDIVIDE(\"1\", \"8\")",
       "0.125"},
      Join(Args(Req("number1", "The dividend: a number text of up to 32,767 significant digits, or a number."),
                Req("number2", "The divisor.")),
           kAllOptions)));
  t.push_back(Bound<&cls_Decimora::dcmPOWER>(
      {"dcmPOWER", kOperators, "Raises the first number to the power of the second" DCM_PRECISION,
       "=dcmPOWER(\"2\", \"-2\")", "0.25"},
      Join(Args(Req("number1", "The base: a number text of up to 32,767 significant digits, or a number."),
                Req("number2", "The exponent; a decimal exponent is taken as a fraction.")),
           kRootPowerOptions)));
  t.push_back(Bound<&cls_Decimora::dcmROOT>(
      {"dcmROOT", kOperators, "Returns the root of the first number, of the degree given by the second" DCM_PRECISION,
       "=dcmROOT(\"-8\", \"3\")", "-2"},
      Join(Args(Req("number1", "The radicand: a number text of up to 32,767 significant digits, or a number."),
                Req("number2", "The degree of the root; 2 for the square root.")),
           kRootPowerOptions)));
  t.push_back(Bound<&cls_Decimora::dcmISEQUAL>(
      {"dcmISEQUAL", kOperators, "Tests whether two numbers are equal" DCM_PRECISION, "=dcmISEQUAL(\"1.10\", \"1.1\")",
       "True"},
      Args(Req("number1", kFirstNumber), Req("number2", "The number to compare it with."))));
  t.push_back(Bound<&cls_Decimora::dcmISNOTEQUAL>(
      {"dcmISNOTEQUAL", kOperators, "Tests whether two numbers are not equal" DCM_PRECISION,
       "=dcmISNOTEQUAL(\"1.10\", \"1.1\")", "False"},
      Args(Req("number1", kFirstNumber), Req("number2", "The number to compare it with."))));
  t.push_back(Bound<&cls_Decimora::dcmISGREATER>(
      {"dcmISGREATER", kOperators, "Tests whether the first number is greater than the second" DCM_PRECISION,
       "=dcmISGREATER(\"10\", \"9.99\")", "True"},
      Args(Req("number1", kFirstNumber), Req("number2", "The number to compare it with."))));
  t.push_back(Bound<&cls_Decimora::dcmISGREATEROREQUAL>(
      {"dcmISGREATEROREQUAL", kOperators,
       "Tests whether the first number is greater than or equal to the second" DCM_PRECISION,
       "=dcmISGREATEROREQUAL(\"5\", \"5.0\")", "True"},
      Args(Req("number1", kFirstNumber), Req("number2", "The number to compare it with."))));
  t.push_back(Bound<&cls_Decimora::dcmISLESS>(
      {"dcmISLESS", kOperators, "Tests whether the first number is less than the second" DCM_PRECISION,
       "=dcmISLESS(\"-2\", \"1\")", "True"},
      Args(Req("number1", kFirstNumber), Req("number2", "The number to compare it with."))));
  t.push_back(Bound<&cls_Decimora::dcmISLESSOREQUAL>(
      {"dcmISLESSOREQUAL", kOperators,
       "Tests whether the first number is less than or equal to the second" DCM_PRECISION,
       "=dcmISLESSOREQUAL(\"2\", \"1\")", "False"},
      Args(Req("number1", kFirstNumber), Req("number2", "The number to compare it with."))));

  // --- Math ----------------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmABS>(
      {"dcmABS", kMath, "Returns the absolute value of a number" DCM_PRECISION, "=dcmABS(\"(5)\")", "5"},
      Join(Args(Req("num", kNumber)), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmACOS>(
      {"dcmACOS", kMath, "Returns the arccosine of a number, in radians" DCM_PRECISION, "=dcmACOS(\"1\")", "0"},
      Args(Req("num", "The cosine, from -1 to 1."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmASIN>(
      {"dcmASIN", kMath, "Returns the arcsine of a number, in radians" DCM_PRECISION, "=dcmASIN(\"0\")", "0"},
      Args(Req("num", "The sine, from -1 to 1."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmATAN>(
      {"dcmATAN", kMath, "Returns the arctangent of a number, in radians" DCM_PRECISION, "=dcmATAN(\"0\")", "0"},
      Args(Req("num", "The tangent: a number text or a number."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmCHANGESIGN>(
      {"dcmCHANGESIGN", kMath, "Changes the sign of a number" DCM_PRECISION, "=dcmCHANGESIGN(\"-5\")", "5"},
      Join(Args(Req("num", kNumber)), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmCOS>(
      {"dcmCOS", kMath, "Returns the cosine of an angle given in radians" DCM_PRECISION, "=dcmCOS(\"0\")", "1"},
      Args(Req("num", kAngle), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmDEGREES>(
      {"dcmDEGREES", kMath, "Converts an angle from radians to degrees" DCM_PRECISION, "=dcmDEGREES(\"0\")", "0"},
      Args(Req("radians", "The angle in radians."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmE>(
      {"dcmE", kMath, "Returns the number e to the given number of digits" DCM_PRECISION, "=dcmE(5)", "2.7182"},
      Args(
          Opt("digits", "How many significant digits of e to return (cut, not rounded); omitted means the default."))));
  t.push_back(Bound<&cls_Decimora::dcmEVEN>(
      {"dcmEVEN", kMath, "Rounds a number away from zero to the nearest even integer" DCM_PRECISION,
       "=dcmEVEN(\"-1.5\")", "-2"},
      Join(Args(Req("num", kNumber),
                Opt("RoundNegTowardZero", "TRUE to round a negative number toward zero instead of away from it.")),
           kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmEVEN2>(
      {"dcmEVEN2", kMath, "Rounds a number toward zero to the nearest even integer" DCM_PRECISION, "=dcmEVEN2(\"3.7\")",
       "2"},
      Join(Args(Req("num", kNumber),
                Opt("RoundNegAwayFromZero", "TRUE to round a negative number away from zero instead of toward it.")),
           kFormat4)));
  t.push_back(
      Bound<&cls_Decimora::dcmEXP>({"dcmEXP", kMath, "Returns e raised to the power of a number" DCM_PRECISION, "=dcmEXP(1, , 10)",
                                     "2.71828182846"},
                  Args(Req("num", "The power to raise e to."), kExponentialNotation, kMaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmFACT>(
      {"dcmFACT", kMath, "Returns the factorial of a number" DCM_PRECISION, "=dcmFACT(25)",
       "15511210043330985984000000"},
      Join(Args(Req("num", "The whole number, 0 to 9,273 (a fraction counts as its integer part).")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmFACTDOUBLE>(
      {"dcmFACTDOUBLE", kMath, "Returns the double factorial of a number" DCM_PRECISION, "=dcmFACTDOUBLE(7)", "105"},
      Join(Args(Req("num", "The whole number, 0 to 17,234 (a fraction counts as its integer part).")), kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmFRAC>(
      {"dcmFRAC", kMath, "Returns the fractional part of a number" DCM_PRECISION, "=dcmFRAC(\"12.345\")", "0.345"},
      Join(Args(Req("num", kNumber),
                Opt("as_int", "TRUE to return the fraction digits as a whole number (345 for 12.345)."),
                Opt("sign", "The sign of the result: 1 (or omitted) the number's own, 2 positive, 3 negative.")),
           kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmGCD>(
      {"dcmGCD", kMath, "Returns the greatest common divisor of whole numbers" DCM_PRECISION DCM_LIST_HINT,
       "=dcmGCD(12, 18, \"8\")", "2"},
      Args(Req("numlist",
               "Whole numbers (a fraction is truncated), texts and ranges; a negative number gives #NUM!."))));
  t.push_back(Bound<&cls_Decimora::dcmGCD2>(
      {"dcmGCD2", kMath,
       "Returns the greatest common divisor of numbers as given, decimals included" DCM_PRECISION DCM_LIST_HINT,
       "=dcmGCD2(\"1.5\", \"4.5\")", "1.5"},
      Args(Req("numlist", "Numbers as given, decimals included, texts and ranges."))));
  t.push_back(Bound<&cls_Decimora::dcmINT>(
      {"dcmINT", kMath, "Rounds a number down to the nearest integer" DCM_PRECISION, "=dcmINT(\"-0.1\")", "-1"},
      Join(Args(Req("num", kNumber)), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmLCM>(
      {"dcmLCM", kMath, "Returns the least common multiple of whole numbers" DCM_PRECISION DCM_LIST_HINT,
       "=dcmLCM(4, 6)", "12"},
      Args(Req("numlist",
               "Whole numbers (a fraction is truncated), texts and ranges; a negative number gives #NUM!."))));
  t.push_back(Bound<&cls_Decimora::dcmLCM2>(
      {"dcmLCM2", kMath,
       "Returns the least common multiple of numbers as given, decimals included" DCM_PRECISION DCM_LIST_HINT,
       "=dcmLCM2(\"1.5\", \"4.5\")", "4.5"},
      Args(Req("numlist", "Numbers as given, decimals included, texts and ranges; a negative number gives #NUM!."))));
  t.push_back(
      Bound<&cls_Decimora::dcmLN>({"dcmLN", kMath, "Returns the natural logarithm of a number" DCM_PRECISION, "=dcmLN(3, , 10)",
                                    "1.0986122881"},
                  Args(Req("num", "The positive number to take the logarithm of."), kExponentialNotation, kMaxSD)));
  t.push_back(
      Bound<&cls_Decimora::dcmLOG>({"dcmLOG", kMath, "Returns the logarithm of a number to the given base (10 if omitted)" DCM_PRECISION,
                   "=dcmLOG(1000)", "3"},
                  Args(Req("num", "The positive number to take the logarithm of."),
                       Opt("num_base", "The base of the logarithm; 10 when omitted."), kExponentialNotation, kMaxSD)));
  t.push_back(
      Bound<&cls_Decimora::dcmMOD>({"dcmMOD", kMath,
                                    "Returns the remainder of a division, the quotient rounded down and the result "
                                    "signed like the divisor unless chosen otherwise" DCM_PRECISION,
                                    "=dcmMOD(\"-7\", \"2\")", "1"},
                                   Join(Args(Req("dividend", "The number to divide."),
                                             Req("divisor", "The number to divide by."), Opt("sign", kSignChoice)),
                                        kFormat4MaxSD)));
  t.push_back(
      Bound<&cls_Decimora::dcmMODTRUNC>({"dcmMODTRUNC", kMath,
                                         "Returns the remainder of a division, the quotient truncated toward zero and "
                                         "the result signed like the divisor unless chosen otherwise" DCM_PRECISION,
                                         "=dcmMODTRUNC(\"-7.5\", \"2\")", "1.5"},
                                        Join(Args(Req("dividend", "The number to divide."),
                                                  Req("divisor", "The number to divide by."), Opt("sign", kSignChoice)),
                                             kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmNEG>(
      {"dcmNEG", kMath, "Returns the negative of the magnitude of a number" DCM_PRECISION, "=dcmNEG(\"-5\")", "-5"},
      Join(Args(Req("num", kNumber)), kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmODD>(
      {"dcmODD", kMath, "Rounds a number away from zero to the nearest odd integer" DCM_PRECISION, "=dcmODD(\"1.5\")",
       "3"},
      Join(Args(Req("num", kNumber),
                Opt("RoundNegTowardZero", "TRUE to round a negative number toward zero instead of away from it.")),
           kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmODD2>(
      {"dcmODD2", kMath, "Rounds a number toward zero to the nearest odd integer" DCM_PRECISION, "=dcmODD2(\"4.2\")",
       "3"},
      Join(Args(Req("num", kNumber),
                Opt("RoundNegAwayFromZero", "TRUE to round a negative number away from zero instead of toward it.")),
           kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmPi>(
      {"dcmPI", kMath, "Returns the number pi to the given number of digits" DCM_PRECISION, "=dcmPI(5)", "3.1415"},
      Args(Opt("digits",
               "How many significant digits of pi to return (cut, not rounded); omitted means the default."))));
  t.push_back(Bound<&cls_Decimora::dcmPRODUCT>(
      {"dcmPRODUCT", kMath, "Multiplies a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
       "=dcmPRODUCT(\"1.5\", \"2\", 4)", "12"},
      Args(Req("numlist", kValueList))));
  t.push_back(Bound<&cls_Decimora::dcmRADIANS>(
      {"dcmRADIANS", kMath, "Converts an angle from degrees to radians" DCM_PRECISION, "=dcmRADIANS(\"0\")", "0"},
      Args(Req("degrees", "The angle in degrees."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmREDUCEFRACTION>(
      {"dcmREDUCEFRACTION", kMath,
       "Reduces a fraction to its lowest terms; returns the fraction, numerator, divisor and the factor it was reduced "
       "by" DCM_PRECISION,
       "=dcmREDUCEFRACTION(\"6\", \"8\")", "3/4\t3\t4\t2\n3\t\t\t\n4\t\t\t\n2\t\t\t", kArray},
      Args(Req("Numerator", "The numerator: a number text or a number; decimals are allowed."),
           Req("divisor", "The divisor (denominator)."),
           Opt("simplify_signs", "TRUE to move a lone minus sign of the divisor to the numerator and cancel two."),
           Opt("always_simplify_fraction", "TRUE to reduce even when the numerator would grow (0.5/1.5 to 1/3)."),
           Opt("return_numerator", "TRUE to return only the reduced numerator."),
           Opt("return_divisor", "TRUE to return only the reduced divisor."),
           Opt("return_reduced_by", "TRUE to return only the factor the fraction was reduced by."),
           Opt("fraction_separator", "The text between numerator and divisor; \"/\" when omitted."))));
  t.push_back(Bound<&cls_Decimora::dcmREMAINDER>(
      {"dcmREMAINDER", kMath,
       "Returns the remainder of a division, the quotient rounded down and the result signed like the divisor unless "
       "chosen otherwise" DCM_PRECISION,
       "=dcmREMAINDER(\"7.5\", \"2\")", "1.5"},
      Join(Args(Req("dividend", "The number to divide."), Req("divisor", "The number to divide by."),
                Opt("sign", kSignChoice)),
           kFormat4MaxSD)));
  t.push_back(Bound<&cls_Decimora::dcmROUND>(
      {"dcmROUND", kMath, "Rounds a number to the given number of digits" DCM_PRECISION, "=dcmROUND(\"2.345\", 2)",
       "2.35"},
      Join(Args(Req("num", kNumber),
                Req("num_digits", "Digits after the decimal separator to round to; negative rounds before it.")),
           kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmROUNDDOWN>(
      {"dcmROUNDDOWN", kMath, "Rounds a number toward zero to the given number of digits" DCM_PRECISION,
       "=dcmROUNDDOWN(\"123.456\", -1)", "120"},
      Join(Args(Req("num", kNumber),
                Req("num_digits", "Digits after the decimal separator to keep; negative rounds before it.")),
           kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmROUNDUP>(
      {"dcmROUNDUP", kMath, "Rounds a number away from zero to the given number of digits" DCM_PRECISION,
       "=dcmROUNDUP(\"0.00001\", 2)", "0.01"},
      Join(Args(Req("num", kNumber),
                Req("num_digits", "Digits after the decimal separator to round to; negative rounds before it.")),
           kFormat4)));
  t.push_back(Bound<&cls_Decimora::dcmSIGN>(
      {"dcmSIGN", kMath, "Returns the sign of a number: 1, 0 or -1" DCM_PRECISION, "=dcmSIGN(\"-0.5\")", "-1"},
      Args(Req("num", kNumber))));
  t.push_back(Bound<&cls_Decimora::dcmSIN>(
      {"dcmSIN", kMath, "Returns the sine of an angle given in radians" DCM_PRECISION, "=dcmSIN(\"0\")", "0"},
      Args(Req("num", kAngle), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmSQRT>(
      {"dcmSQRT", kMath, "Returns the square root of a number" DCM_PRECISION, "=dcmSQRT(\"16\")", "4"},
      Args(Req("num", "The non-negative number to take the square root of."), kFormatThousands, kFormatCurrency,
           kExponentialNotation, kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmSQRTPI>(
      {"dcmSQRTPI", kMath, "Returns the square root of a number multiplied by pi" DCM_PRECISION,
       "=dcmSQRTPI(\"1\",,,,10)", "1.7724538507"},
      Args(Req("num", "The non-negative number to multiply by pi before the root is taken."), kFormatThousands,
           kFormatCurrency, kExponentialNotation, kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmSUM>(
      {"dcmSUM", kMath, "Adds the numbers in a range" DCM_PRECISION, "=dcmSUM({\"0.1\", \"0.2\"; \"0.3\", \"0.4\"})",
       "1"},
      Join(Args(Req("rngArray", "The range of cells to add; a cell that is not a number makes the sum an error.")),
           kFormat4MaxSD)));
  t.push_back(
      Bound<&cls_Decimora::dcmSUM2>({"dcmSUM2", kMath, "Adds a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
                                     "=dcmSUM2(\"0.1\", \"0.2\", {1, 2})", "3.3"},
                                    Args(Req("numlist", kValueList))));
  t.push_back(Bound<&cls_Decimora::dcmTAN>(
      {"dcmTAN", kMath, "Returns the tangent of an angle given in radians" DCM_PRECISION, "=dcmTAN(\"0\")", "0"},
      Args(Req("num", kAngle), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmTRUNC>(
      {"dcmTRUNC", kMath, "Truncates a number to the given number of digits (0 if omitted)" DCM_PRECISION,
       "=dcmTRUNC(\"-7.9\")", "-7"},
      Join(Args(Req("num", kNumber),
                Opt("num_digits",
                    "Digits after the decimal separator to keep; 0 when omitted, negative truncates before it.")),
           kFormat4)));

  // --- Text ----------------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmEXCLUDE>(
      {"dcmEXCLUDE", kText,
       "Removes every occurrence of the listed texts from the first value" DCM_PRECISION DCM_LIST_HINT,
       "=dcmEXCLUDE(\"1,234,567\", \",\")", "1234567"},
      Args(Req("numlist", "The text to clean first, then the texts to remove from it, and directives."))));
  t.push_back(Bound<&cls_Decimora::dcmEXCLUDENOTNUM>(
      {"dcmEXCLUDENOTNUM", kText,
       "Removes the listed texts from the first value and returns the number left in it" DCM_PRECISION DCM_LIST_HINT,
       "=dcmEXCLUDENOTNUM(\"1,234,567\", \",\")", "1234567"},
      Args(Req("numlist", "The text to clean first, then the texts to remove from it, and directives."))));
  t.push_back(Bound<&cls_Decimora::dcmEXTRACT>(
      {"dcmEXTRACT", kText,
       "Returns only the occurrences of the listed texts in the first value" DCM_PRECISION DCM_LIST_HINT,
       "=dcmEXTRACT(\"a1b2a3\", \"a\")", "aa"},
      Args(Req("numlist", "The text to search first, then the texts to keep from it, and directives."))));
  t.push_back(Bound<&cls_Decimora::dcmEXTRACTNUM>(
      {"dcmEXTRACTNUM", kText,
       "Returns the occurrences of the listed texts in the first value together with the number in the rest of "
       "it" DCM_PRECISION DCM_LIST_HINT,
       "=dcmEXTRACTNUM(\"a1b2\", \"a\")", "a12"},
      Args(Req("numlist", "The text to search first, then the texts to keep from it, and directives."))));

  // --- Statistical -----------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmAVERAGE>(
      {"dcmAVERAGE", kStatistical, "Returns the average of a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
       "=dcmAVERAGE(1, 2, \"abc\")", "1.5"},
      Args(Req("numlist", kValueList))));
  t.push_back(Bound<&cls_Decimora::dcmCOUNT>(
      {"dcmCOUNT", kStatistical, "Counts the numbers in a list of values and ranges." DCM_LIST_HINT,
       "=dcmCOUNT(\"0.1\", \"x\", 2)", "2"},
      Args(Req("numlist", kValueList))));
  t.push_back(Bound<&cls_Decimora::dcmLARGE>(
      {"dcmLARGE", kStatistical, "Returns the k-th largest number in a range" DCM_PRECISION, "=dcmLARGE({5, 1, 3}, 1)",
       "5"},
      Args(Req("numlist", "The range of numbers."), Req("k", "Which largest value to return: 1 for the largest."))));
  t.push_back(Bound<&cls_Decimora::dcmMAX>(
      {"dcmMAX", kStatistical, "Returns the largest number in a list of values and ranges" DCM_PRECISION DCM_LIST_HINT,
       "=dcmMAX(\"1E+30\", \"999\")", "1000000000000000000000000000000"},
      Args(Req("numlist", kValueList))));
  t.push_back(Bound<&cls_Decimora::dcmMEDIAN>(
      {"dcmMEDIAN", kStatistical, "Returns the median of a list of numbers and ranges" DCM_PRECISION DCM_LIST_HINT,
       "=dcmMEDIAN(4, 1, 3, 2)", "2.5"},
      Args(Req("numlist", kValueList))));
  t.push_back(Bound<&cls_Decimora::dcmMIN>(
      {"dcmMIN", kStatistical, "Returns the smallest number in a list of values and ranges" DCM_PRECISION DCM_LIST_HINT,
       "=dcmMIN(\"-1\", \"0.5\")", "-1"},
      Args(Req("numlist", kValueList))));
  // The size of the block a frequency table is written into (rows, cols) is
  // the array-entered cell block, which the workbook supplies, so the list
  // itself is the only parameter a formula gives.
  t.push_back(Bound<&cls_Decimora::dcmMODE>(
      {"dcmMODE", kStatistical,
       "Returns the most frequent number in a list of values and ranges, or a frequency table with "
       "format:table" DCM_PRECISION DCM_LIST_HINT,
       "=dcmMODE(1, 2, 2, \"format:table\")", "2\t2\n1\t1", kArray},
      Args(Req("numlist", "Numbers, texts and ranges, in any mix; a text \"format:...\" among them is a "
                          "directive, not a value. format:table returns a table of counts and values."))));
  t.push_back(Bound<&cls_Decimora::dcmSMALL>(
      {"dcmSMALL", kStatistical, "Returns the k-th smallest number in a range" DCM_PRECISION, "=dcmSMALL({5, 1, 3}, 1)",
       "1"},
      Args(Req("numlist", "The range of numbers."), Req("k", "Which smallest value to return: 1 for the smallest."))));
  t.push_back(Bound<&cls_Decimora::dcmRANK>(
      {"dcmRANK", kStatistical, "Returns the rank of a number in a range" DCM_PRECISION, "=dcmRANK(7, {9, 7, 7, 5})",
       "2"},
      Args(Req("num", "The number whose rank is wanted."), Req("numlist", "The range of numbers it is ranked in."),
           Opt("ascending", "TRUE to rank from the smallest; FALSE or omitted from the largest."),
           Opt("tie_compensation", "TRUE to give tied numbers the average of their ranks."))));
  t.push_back(Bound<&cls_Decimora::dcmPOISSON>(
      {"dcmPOISSON", kStatistical,
       "Returns the Poisson probability of exactly, or at most, the target number of events" DCM_PRECISION,
       "=dcmPOISSON(2, 3, FALSE, , 20)", "0.224041807655387743422"},
      Args(Req("target_num", "The number of events (a fraction counts as its integer part)."),
           Req("average_num", "The expected number of events."),
           Req("is_cumulative", "TRUE for the probability of at most target_num events, FALSE for exactly that many."),
           kExponentialNotation, kMaxSD, kRestrictInputLengths)));

  // --- Information -----------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmISERROR>(
      {"dcmISERROR", kInformation, "Returns TRUE if the value is an error value.", "=dcmISERROR(\"12#4\")", "TRUE"},
      Args(Req("num", "The value to test."))));
  t.push_back(Bound<&cls_Decimora::dcmISEVEN>(
      {"dcmISEVEN", kInformation, "Returns TRUE if the number is even" DCM_PRECISION, "=dcmISEVEN(\"-4\")", "TRUE"},
      Args(Req("num", kNumber))));
  t.push_back(
      Bound<&cls_Decimora::dcmISNUMBER>({"dcmISNUMBER", kInformation,
                                         "Returns TRUE if the value can be read as a number by Decimora.",
                                         "=dcmISNUMBER(\"1.5E+3\")", "TRUE"},
                                        Args(Req("num", "The value to test."))));
  t.push_back(Bound<&cls_Decimora::dcmISODD>(
      {"dcmISODD", kInformation, "Returns TRUE if the number is odd" DCM_PRECISION, "=dcmISODD(\"7.9\")", "TRUE"},
      Args(Req("num", kNumber))));

  // --- Add-in information ----------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmTEST>(
      {"dcmTEST", kAddIn, "Returns a welcome message with the user's login name, showing that Decimora is working.",
       "=dcmTEST()", "Welcome to Decimora 3.1b, " DCM_EXAMPLE_LOGIN_NAME "!"},
      Args()));
  t.push_back(Bound<&cls_Decimora::dcmVERSION>(
      {"dcmVERSION", kAddIn, "Returns the version number of Decimora.", "=dcmVERSION()", "3.1b"}, Args()));
  // Here dcmXLA returns the host error #NAME?: this library has no entry for it.
  t.push_back(Unavailable(
      {"dcmXLA", kAddIn, "Returns information about the Decimora add-in workbook.", "=dcmXLA()", "#NAME?"}, Args()));

  t.push_back(Bound<&cls_Decimora::dcmABOUT>(
      {"dcmABOUT", kAddIn,
       "Shows the About window of Decimora, with its version and the default maximum of significant digits, where "
       "the host has windows; returns an empty value.",
       "=dcmABOUT()", ""},
      Args()));

  // --- Miscellaneous ---------------------------------------------------------
  t.push_back(Bound<&cls_Decimora::dcmSORT>(
      {"dcmSORT", kMiscellaneous,
       "Sorts the values of a range, numbers first in numeric order" DCM_PRECISION " Must be array-entered.",
       "=dcmSORT({1; 100; 20}, TRUE)", "100\n20\n1", kArray},
      Args(Req("numlist", "The range of values to sort."), Opt("descending", "TRUE to sort from the largest."),
           Opt("left_to_right", "TRUE to fill the result row by row; FALSE or omitted column by column."),
           Opt("fit_to_array", "TRUE to fill the whole array-entered block, padding with blank_text."),
           Opt("blank_text", "The text written into cells beyond the values."),
           Opt("rows", "Rows of the result block."), Opt("cols", "Columns of the result block."))));
  t.push_back(Bound<&cls_Decimora::dcmFORMAT>(
      {"dcmFORMAT", kMiscellaneous,
       "Formats a number: negative style, thousands separators, currency, exponential notation and decimal "
       "places" DCM_PRECISION,
       "=dcmFORMAT(\"-1234567.891\", 2, TRUE)", "(1,234,567.891)"},
      Join(Args(Req("number", "The number to write: a number text or a number.")), kAllOptions)));

  // --- More information ------------------------------------------------------
  // Here More_Information returns the host error #NAME?: this library has no entry for it.
  t.push_back(Unavailable(
      {"More_Information", kMoreInfo, "Shows where to find more information about Decimora and its functions.",
       "=More_Information()", "#NAME?"},
      Args()));

  // --- Public workers (callable, never registered with the host) -------------
  t.push_back(Bound<&cls_Decimora::dcmDEFAULTMAXSD>(
      {"dcmDEFAULTMAXSD", kWorkerCategory,
       "Returns the default maximum number of significant digits used when a function omits it.", "=dcmDEFAULTMAXSD()",
       "100"},
      Args()));
  t.push_back(Bound<&cls_Decimora::Restrictionator>(
      {"Restrictionator", kWorkerCategory,
       "Normalises the format options of a call and returns them as one row: negative format, thousands, currency, "
       "exponential notation, maxSD, decimal places, preserve decimal places.",
       "=Restrictionator(2, TRUE)", "2\tTRUE\tFALSE\tFALSE\t100\t\tFALSE", kArray},
      kAllOptions));
  t.push_back(Bound<&cls_Decimora::PublicRestrictionatorCaller>(
      {"PublicRestrictionatorCaller", kWorkerCategory,
       "Normalises the first five format options of a call, as Restrictionator does without the decimal-place options.",
       "=PublicRestrictionatorCaller(, TRUE)", "1\tTRUE\tFALSE\tFALSE\t100\t\tFALSE", kArray},
      kFormat4MaxSD));
  t.push_back(Bound<&cls_Decimora::Osrel_Divide>(
      {"Osrel_Divide", kWorkerCategory,
       "Divides one unsigned digit string by another to the given number of significant digits; returns the digits and "
       "their power of ten.",
       "=Osrel_Divide(\"1\", \"3\", 10)", "3333333333\t-10", kArray},
      Args(Req("iBig", "The unsigned digit string to divide."), Req("kBig", "The unsigned digit string to divide by."),
           Req("Precision", "How many significant digits the quotient gets."))));
  t.push_back(Bound<&cls_Decimora::myInverse5>(
      {"myInverse5", kWorkerCategory,
       "Returns about p significant digits of the reciprocal of an unsigned digit string, with their power of ten.",
       "=myInverse5(\"3\", 10)", "3333333333\t-10", kArray},
      Args(Req("kBig", "The unsigned digit string whose reciprocal is wanted."),
           Req("p", "About how many significant digits the reciprocal gets."))));
  t.push_back(Bound<&cls_Decimora::DivisionDecimalPosition>(
      {"DivisionDecimalPosition", kWorkerCategory,
       "Estimates the number of integer digits of the quotient dividend / divisor of two unsigned digit strings.",
       "=DivisionDecimalPosition(\"3\", \"1000\")", "3"},
      Args(Req("divisor", "The unsigned digit string of the divisor."),
           Req("dividend", "The unsigned digit string of the dividend."))));
  t.push_back(
      Bound<&cls_Decimora::Min>({"Min", kWorkerCategory, "Returns the smaller of two values.", "=Min(3, 5)", "3"},
                                Args(Req("num1", "The first value."), Req("num2", "The second value."))));
  t.push_back(
      Bound<&cls_Decimora::Max>({"Max", kWorkerCategory, "Returns the larger of two values.", "=Max(3, 5)", "5"},
                                Args(Req("num1", "The first value."), Req("num2", "The second value."))));
  t.push_back(Bound<&cls_Decimora::GetHalfofLong>(
      {"GetHalfofLong", kWorkerCategory, "Halves a 32-bit integer, rounding down.", "=GetHalfofLong(7)", "3"},
      Args(Req("num_as_long", "A whole number from -2,147,483,648 to 2,147,483,647."))));
  t.push_back(Bound<&cls_Decimora::Get_Mantissa>({"Get_Mantissa", kWorkerCategory,
                           "Returns the mantissa of a non-negative number: 0.m, or the digits m as an integer.",
                           "=Get_Mantissa(\"500.25\")", "0.50025"},
                          Args(Req("num", "The non-negative number."),
                               Opt("as_integer", "TRUE to return the mantissa digits as a whole number."))));
  t.push_back(Bound<&cls_Decimora::Get_Exponent>({"Get_Exponent", kWorkerCategory,
                           "Returns the power of ten x for which a non-negative number is 0.m times 10 to the x.",
                           "=Get_Exponent(\"500.25\")", "3"},
                          Args(Req("num", "The non-negative number."))));
  t.push_back(Bound<&cls_Decimora::Combine_Mantissa_And_Exponent>({"Combine_Mantissa_And_Exponent", kWorkerCategory,
                           "Returns mantissa times 10 to the power exponent, computed in double precision.",
                           "=Combine_Mantissa_And_Exponent(\"0.5\", \"3\")", "500"},
                          Args(Req("mantissa", "The mantissa, read as a double."),
                               Req("exponent", "The power of ten, a 32-bit whole number."))));
  t.push_back(
      Bound<&cls_Decimora::Test_Mantissa_And_Exponent>({"Test_Mantissa_And_Exponent", kWorkerCategory,
                   "Splits a non-negative number into mantissa and exponent and joins them again in double precision.",
                   "=Test_Mantissa_And_Exponent(\"500.25\")", "500.25"},
                  Args(Req("num", "The non-negative number."))));
  t.push_back(
      Bound<&cls_Decimora::Cos_Function>({"Cos_Function", kWorkerCategory, "Returns the cosine of an angle given in radians" DCM_PRECISION,
                   "=Cos_Function(\"0\")", "1"},
                  Args(Req("num", kAngle), kMaxSDShort)));
  t.push_back(
      Bound<&cls_Decimora::Tan_Function>({"Tan_Function", kWorkerCategory, "Returns the tangent of an angle given in radians" DCM_PRECISION,
                   "=Tan_Function(\"0\")", "0"},
                  Args(Req("num", kAngle), kMaxSDShort)));
  t.push_back(
      Bound<&cls_Decimora::ATan_Function>({"ATan_Function", kWorkerCategory, "Returns the arctangent of a number, in radians" DCM_PRECISION,
                   "=ATan_Function(\"0\")", "0"},
                  Args(Req("num", "The tangent: a number text or a number."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::ASin_Function>({"ASin_Function", kWorkerCategory,
                           "Returns the arcsine of a number, in radians" DCM_PRECISION, "=ASin_Function(\"0\")", "0"},
                          Args(Req("num", "The sine, from -1 to 1."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::ACos_Function>({"ACos_Function", kWorkerCategory,
                           "Returns the arccosine of a number, in radians" DCM_PRECISION, "=ACos_Function(\"1\")", "0"},
                          Args(Req("num", "The cosine, from -1 to 1."), kMaxSDShort)));
  t.push_back(Bound<&cls_Decimora::dcmHelpfilePath>(
      {"dcmHelpfilePath", kWorkerCategory,
       "Returns the full path of the Decimora function reference, an HTML page installed next to the library.",
       "=dcmHelpfilePath()", DCM_EXAMPLE_LIBRARY_DIRECTORY "/Decimora.html"},
      Args()));
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
