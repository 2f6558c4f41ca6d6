#pragma once

// Draws of a probabilistic study: plain random or Latin hypercube sampling,
// a correlation between two inputs through their normal scores, and the
// quantiles of the distributions. Every number derives from the seed and the
// realisation's index alone, so a study draws the same values whatever the
// order in which its realisations are analysed.

#include "StudyDefinition.h"

#include <cstdint>
#include <vector>

// A uniform number in (0, 1), both ends excluded, for a seed, a stream and
// an index (a counter-based generator: no state between calls).
double UniformDraw(uint64_t seed, uint64_t stream, uint64_t index);

// The probability a distribution's bounds keep (1 without bounds).
double BoundsProbability(const TDistribution& distribution);

// The value of the distribution, truncated to its bounds, at probability u
// of the truncated distribution (0 < u < 1).
double Quantile(const TDistribution& distribution, double u);

// The standard normal distribution and its inverse.
double NormalCdf(double z);
double NormalQuantile(double u);

// The study's draws: one row of input values per realisation.
std::vector<std::vector<double>> DrawSamples(const TProbabilisticStudy& study);
