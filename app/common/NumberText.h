#pragma once

// The general number format that cells, numeric fields, graph labels and the
// entry evaluator's intermediate values are written in.

#include <string>
#include <string_view>

// `value` with `digits` significant digits, trailing zeros dropped and the
// decimal `point` only where a fraction remains. Fixed notation when the
// rounded value has at most `digits` whole digits and a magnitude of at
// least 0.00001; otherwise the exponent form: mantissa, "E", a "-" only for
// a negative exponent, and at least `exponentDigits` exponent digits
// ("1E-6", "1.2345679E8"; with 2 digits "2E-06"). Zero, negative zero
// included, is "0"; infinities and NaN are "INF", "-INF" and "NAN".
std::string GeneralNumberText(long double value, int digits, std::string_view point = ".", int exponentDigits = 1);
