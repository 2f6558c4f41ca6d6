// Random projects of every shape the input data file can hold, inside and
// beyond the engine's capacities, for the tests that need many projects.
#pragma once

#include <random>
#include <string>
#include <vector>

namespace engine_test {

inline constexpr unsigned kRandomProjectSeed = 20261207;

// The project numbered `trial` (its title), drawn from `random`.
inline std::string RandomProject(std::mt19937& random, int trial)
{
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const bool generated = pick(0, 1) == 1;
    const int units = pick(1, 2);
    const double pile = uniform(5, 60);
    std::string text = "random " + std::to_string(trial) + "\n" + std::to_string(pick(1, 60)) + " " +
                       std::to_string(pick(0, 1)) + " " + std::to_string(units) + "\n";
    if (generated) {
        const int layers = pick(1, 22);
        text += "2 \n" + std::to_string(layers) + "\n";
        double top = 0;
        std::vector<int> soils;
        for (int i = 0; i < layers; ++i) {
            double bottom = top + uniform(0.5, 2.0 * pile / layers + 1);
            soils.push_back(pick(1, 6));
            text += std::to_string(i + 1) + " " + std::to_string(soils.back()) + " " + std::to_string(top) + " " +
                    std::to_string(bottom) + "\n";
            top = bottom;
        }
        for (int r = 0; r < 2 * layers; ++r) {
            bool clay = soils[r / 2] % 2 == 1;
            text += std::to_string(uniform(0.01, 0.08)) + " " + (clay ? std::to_string(uniform(1, 20)) : "0") +
                    " " + (clay ? "0" : std::to_string(uniform(25, 42))) + " " +
                    std::to_string(uniform(0.005, 0.02)) + " " + std::to_string(uniform(0.5, 8)) + " " +
                    (pick(0, 1) ? std::to_string(uniform(0, 300)) : "0") + "\n";
        }
        text += "2\n1E7 0\n2E7 " + std::to_string(pile) + "\n";
    } else {
        const int curves = pick(1, 6);
        text += "1 \n" + std::to_string(curves) + "\n";
        for (int c = 0; c < curves; ++c) {
            const int points = pick(1, 8);
            text += std::to_string(c + 1) + " " + std::to_string(c * pile / curves) + " " + std::to_string(points) +
                    "\n";
            for (int m = 0; m < points; ++m)
                text += std::to_string(uniform(0, 5)) + " " + std::to_string(m * uniform(0.01, 0.3)) + "\n";
        }
        text += "2\n1E6 0\n3E6 " + std::to_string(pile) + "\n";
        const int tipPoints = pick(1, 6);
        text += std::to_string(tipPoints) + "\n";
        for (int m = 0; m < tipPoints; ++m)
            text += std::to_string(m * uniform(10, 500)) + " " + std::to_string(m * uniform(0.01, 0.5)) + "\n";
    }
    text += "0.0001 " + std::to_string(pile) + " 12 113.1\n";
    const int tips = pick(-1, 52);
    text += std::to_string(tips) + "\n";
    for (int k = 0; k < tips; ++k)
        text += std::to_string(uniform(-0.2, 1.0)) + "\n";
    const int loads = pick(0, 4);
    text += std::to_string(loads) + "\n";
    for (int k = 0; k < loads; ++k)
        text += std::to_string(uniform(10, 5000)) + "\n";
    if (pick(0, 1)) {
        text += "2\n0 " + std::to_string(uniform(0, 0.5)) + "\n" + std::to_string(pile) + " 0\n";
    } else {
        text += " 0\n";
    }
    text += pick(0, 1) ? " 1\n2\n0 1 1\n" + std::to_string(pile) + " 1.5 0.8\n" : " 0\n";
    text += pick(0, 1) ? " 1\n1.2 0.9\n" : " 0\n";
    return text;
}

}  // namespace engine_test
