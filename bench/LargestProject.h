// The largest problem the engine accepts, as a project file: 900 increments,
// 50 tip movements (within the Q-w curve, which the engine requires of a
// 50-point curve), 100 user t-z curves of 100 points, a 50-point Q-w curve,
// 50 pile-head loads, a settlement profile of 100 points, factors off.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>

inline std::string LargestProject()
{
    std::ostringstream p;
    p << "largest problem\n900 0 1\n1 \n100\n";
    const double length = 1200.0;
    for (int c = 0; c < 100; ++c) {
        p << c + 1 << ' ' << length * c / 99.0 << " 100\n";
        for (int m = 0; m < 100; ++m) {
            double z = 0.002 * m * m;
            double t = 8.0 * (1.0 + c / 50.0) * std::min(1.0, z / 0.3);
            p << t << ' ' << z << '\n';
        }
    }
    p << "50\n";
    for (int k = 0; k < 50; ++k)
        p << 2.0e9 - 1.0e7 * k << ' ' << length * k / 49.0 << '\n';
    p << "50\n";
    for (int k = 0; k < 50; ++k)
        p << 400.0 * k * k << ' ' << 0.05 * k << '\n';
    p << "0.000001 " << length << " 24 452.4\n50\n";
    for (int k = 0; k < 50; ++k)
        p << 0.00096 * (k + 1) * (k + 1) << '\n';
    p << "50\n";
    for (int k = 0; k < 50; ++k)
        p << 20000.0 * (k + 1) << '\n';
    p << "100\n";
    for (int k = 0; k < 100; ++k)
        p << length * k / 99.0 << ' ' << 0.5 * (1.0 - k / 99.0) << '\n';
    p << " 0\n 0\n";
    return p.str();
}
