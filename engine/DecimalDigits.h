// Correctly rounded decimal digits of a float (ties to even), the digits
// the edit descriptors print.
#pragma once

namespace fio {

// |value| rounded to `digits` (at most 255) significant digits, written at
// `mantissa`: |value| = 0.d1d2...dn * 10^exponent. Zero gives all zeros and
// exponent 0. Returns the number of digits written.
int Decompose(float value, int digits, char* mantissa, int& exponent);

// |value| with `digits` (at most 255) digits after the point, no point for
// none, written from `p` up to `limit`; returns the end.
char* FixedDigits(char* p, char* limit, float value, int digits);

}  // namespace fio
