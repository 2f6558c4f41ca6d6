// The digits come from double arithmetic whose every rounding is checked
// with its exact error; where the check cannot decide, std::to_chars on the
// float's exact value does the work.
#include "DecimalDigits.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace fio {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The powers of ten that a double holds exactly.
constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kExactPowers = 22;

// 10^e for e from kLowestPower on, near enough for a first guess.
constexpr int kLowestPower = 46;
constexpr auto kNearPowersOfTen = [] {
    std::array<double, 2 * kLowestPower> powers{};
    double power = 1;
    for (int e = 0; e < kLowestPower; ++e, power *= 10) powers[kLowestPower + e] = power;
    power = 1;
    for (int e = 1; e <= kLowestPower; ++e) powers[kLowestPower - e] = power /= 10;
    return powers;
}();

// v * 10^s for v > 0 as the correctly rounded double. False when 10^|s| is
// not exact.
bool Scale(double v, int s, double& y) {
    if (s > kExactPowers || s < -kExactPowers) return false;
    const double p = kPowersOfTen[s < 0 ? -s : s];
    y = s >= 0 ? v * p : v / p;
    return true;
}

// The sign of the exact v * 10^s minus its rounding y (Scale's). Only a y
// that is a tie or a bound needs it: otherwise the rounding error, below half
// a unit in the last place of y, cannot move the exact value across it.
int ScaleError(double v, int s, double y) {
    const double p = kPowersOfTen[s < 0 ? -s : s];
    const double rest = s >= 0 ? std::fma(v, p, -y)   // exactly v * p - y
                               : std::fma(-y, p, v);  // exactly v - y * p, of the sign of v / p - y
    return (rest > 0) - (rest < 0);
}

// The integer nearest to the exact v * 10^s (ties to even) from its rounding y.
uint64_t RoundHalfEven(double v, int s, double y) {
    const uint64_t n = static_cast<uint64_t>(static_cast<int64_t>(y));  // 0 <= y < 2^63: its whole part
    const double fraction = y - static_cast<double>(n);
    if (fraction != 0.5) [[likely]]
        return n + (fraction > 0.5);
    const int error = ScaleError(v, s, y);
    return error > 0 || (error == 0 && n % 2 == 1) ? n + 1 : n;
}

// 10^-e for 0 <= e <= kExactPowers, each the double nearest to it.
constexpr auto kTenths = [] {
    std::array<double, kExactPowers + 1> tenths{};
    for (int e = 0; e <= kExactPowers; ++e) tenths[e] = 1.0 / kPowersOfTen[e];
    return tenths;
}();

// RoundSignificant's answer for the k guessed, by one multiplication, where
// that is sure: v * 10^s is then known within 2^-52 of itself, far below
// the margins kept to the halves between integers and to the bounds.
bool RoundQuickly(double v, int digits, int k, uint64_t& n) {
    const int s = digits - 1 - k;
    if (digits > 9 || s > kExactPowers || s < -kExactPowers) return false;
    const double y = s >= 0 ? v * kPowersOfTen[s] : v * kTenths[-s];
    if (!(y > kPowersOfTen[digits - 1] + 0.25 && y < kPowersOfTen[digits] - 0.25)) return false;
    const auto whole = static_cast<int64_t>(y);
    const double fraction = y - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) < 1.0e-6) return false;
    n = static_cast<uint64_t>(whole) + (fraction > 0.5);
    return n < static_cast<uint64_t>(kPowersOfTen[digits]);  // not rounded up to one more digit
}

// v > 0 rounded to `digits` significant digits: v ~ n * 10^(k - digits + 1)
// with n of exactly `digits` digits. False where this path cannot be sure.
bool RoundSignificant(double v, int digits, uint64_t& n, int& k) {
    if (digits > 15) return false;
    // A first guess at the decimal exponent from the binary one: 2^e <= v
    // gives e*log10(2) <= log10(v); 1233/4096 is a little below log10(2).
    const int binaryExponent = static_cast<int>((std::bit_cast<uint64_t>(v) >> 52) & 0x7ff) - 1023;
    k = (binaryExponent * 1233) >> 12;
    // It is floor(log10(v)) or one below: nearly always, the next power
    // tells which (an inexact power only costs the check below a retry).
    k += v >= kNearPowersOfTen[k + 1 + kLowestPower];
    if (RoundQuickly(v, digits, k, n)) return true;
    const double least = kPowersOfTen[digits - 1];
    const double beyond = kPowersOfTen[digits];
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int s = digits - 1 - k;
        double y = 0;
        if (!Scale(v, s, y)) return false;
        if (y > beyond || (y == beyond && ScaleError(v, s, y) >= 0)) {
            ++k;
        } else if (y < least || (y == least && ScaleError(v, s, y) < 0)) {
            --k;
        } else {
            n = RoundHalfEven(v, s, y);
            if (n == static_cast<uint64_t>(beyond)) {
                n = static_cast<uint64_t>(least);
                ++k;
            }
            return true;
        }
    }
    return false;
}

}  // namespace

int Decompose(float value, int digits, char* mantissa, int& exponent) {
    if (value == 0.0f || digits <= 0) {
        const int n = digits > 0 ? digits : 0;
        std::fill_n(mantissa, n, '0');
        exponent = 0;
        return n;
    }
    // The double holds the float exactly, so its digits are the float's.
    const double magnitude = std::fabs(static_cast<double>(value));
    uint64_t n = 0;
    int k = 0;
    if (RoundSignificant(magnitude, digits, n, k)) {
        for (int i = digits - 1; i >= 0; --i, n /= 10) mantissa[i] = static_cast<char>('0' + n % 10);
        exponent = k + 1;
        return digits;
    }
    char buffer[512];  // digits up to 255 and the exponent
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, digits - 1).ptr;
    int count = 0;
    const char* p = buffer;
    for (; p < end && *p != 'e'; ++p)
        if (IsDigit(*p)) mantissa[count++] = *p;
    int e = 0;
    std::from_chars(p + 2, end, e);
    exponent = (p[1] == '-' ? -e : e) + 1;
    return count;
}

char* FixedDigits(char* p, char* limit, float value, int digits) {
    const double magnitude = std::fabs(static_cast<double>(value));
    double y = 0;
    if (!Scale(magnitude, digits, y) || !(y < 1.0e15))
        return std::to_chars(p, limit, magnitude, std::chars_format::fixed, digits).ptr;
    char all[24];
    char* allEnd = std::to_chars(all, all + sizeof all, RoundHalfEven(magnitude, digits, y)).ptr;
    const int count = static_cast<int>(allEnd - all);
    const int whole = count > digits ? count - digits : 0;
    if (whole == 0) *p++ = '0';
    p = std::copy(all, all + whole, p);
    if (digits == 0) return p;
    *p++ = '.';
    p = std::fill_n(p, digits - (count - whole), '0');
    return std::copy(all + whole, allEnd, p);
}

}  // namespace fio
