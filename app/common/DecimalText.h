#pragma once

// Reading of decimal number texts shared by the entry evaluator and the word
// reader, independent of the process locale except for the separator the
// caller names.

#include <string>
#include <string_view>

struct TDecimal {
    enum TStatus { Ok, NotANumber, OutOfRange };
    TStatus Status;
    long double Value;  // valid when Status is Ok
};

// The whole text as a decimal number: an optional sign, digits with an
// optional `decimalPoint`, and an optional exponent such as "E-3".
// Texts such as "inf", "nan", "0x1F" or "1,5" (with point ".") are not numbers.
// A magnitude beyond the extended format is OutOfRange; one below it reads
// as its denormal or as zero ("1E-5000").
TDecimal ParseDecimal(std::string_view text, std::string_view decimalPoint);

// Decimal point of the C library's current LC_NUMERIC locale.
std::string LocaleDecimalPoint();
