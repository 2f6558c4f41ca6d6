#pragma once

// Texts and places of a chart axis's labels, in plain C++ so that they are
// tested without a display.
//
// Label formats are patterns of digit placeholders:
//   "#,##0.###"  thousands separated, up to three decimals:  1234.5 -> "1,234.5"
//   "#,##0"      whole numbers:                              150000 -> "150,000"
//   "#.0##E-0"   one digit, one to three decimals, exponent: 0.0002 -> "2.0E-4"
// "0" is a digit always shown, "#" a digit shown when needed, "," before the
// point asks for thousands separators, "E-" an exponent with a sign only when
// negative ("E+" always signed). Halves round away from zero.
//
//   AxisLabelText(1234.5, "#,##0.###")   // "1,234.5"
//   AxisTicks(0, 1, 6)                   // 0, 0.2, 0.4, 0.6, 0.8, 1

#include <string>
#include <string_view>
#include <vector>

// The label of `value` in `format`; std::invalid_argument for a pattern that
// is none of the forms above.
std::string AxisLabelText(double value, std::string_view format, std::string_view decimalPoint = ".",
                          std::string_view thousandsSeparator = ",");

inline constexpr std::string_view FixedAxisFormat = "#,##0.###";
inline constexpr std::string_view WholeAxisFormat = "#,##0";
inline constexpr std::string_view ExponentAxisFormat = "#.0##E-0";

// Format of an axis that runs from `minimum` to `maximum`: the exponent form
// when either end exceeds 100000 in magnitude or both lie below 0.001 (and
// are not both 0), the fixed form otherwise.
std::string_view ChooseAxisFormat(double minimum, double maximum);

// Values at which an axis from `minimum` to `maximum` carries labels: the
// multiples of a step of 1, 2 or 5 times a power of ten lying in the range,
// at most `maxLabels` of them (at least 2 asked). Empty for an empty or
// reversed range.
std::vector<double> AxisTicks(double minimum, double maximum, int maxLabels);
