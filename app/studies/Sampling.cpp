#include "Sampling.h"

#include <boost/math/distributions/lognormal.hpp>
#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// SplitMix64's finaliser: a bijection of 64-bit words that mixes every bit.
uint64_t Mix(uint64_t z)
{
    z += 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// Streams of one input: its values, and the order of its strata.
uint64_t ValueStream(std::size_t input) { return 2 * input; }
uint64_t StrataStream(std::size_t input) { return 2 * input + 1; }

// The strata of one input in a random order (Fisher and Yates).
std::vector<int> Strata(uint64_t seed, std::size_t input, int count)
{
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    for (int i = count - 1; i > 0; --i) {
        const auto j = static_cast<int>(UniformDraw(seed, StrataStream(input), static_cast<uint64_t>(i)) * (i + 1));
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(std::min(j, i))]);
    }
    return order;
}

template <typename Distribution>
double TruncatedQuantile(const Distribution& distribution, const TDistribution& d, double lowestBound, double u)
{
    const double lo = d.Min && *d.Min > lowestBound ? boost::math::cdf(distribution, *d.Min) : 0.0;
    const double hi = d.Max ? boost::math::cdf(distribution, *d.Max) : 1.0;
    double x = boost::math::quantile(distribution, std::clamp(lo + u * (hi - lo), 1e-300, 1.0 - 0x1p-53));
    if (d.Min)
        x = std::max(x, *d.Min);
    if (d.Max)
        x = std::min(x, *d.Max);
    return x;
}

}  // namespace

double UniformDraw(uint64_t seed, uint64_t stream, uint64_t index)
{
    const uint64_t bits = Mix(Mix(Mix(seed) ^ stream) ^ index);
    return (static_cast<double>(bits >> 12) + 0.5) * 0x1p-52;
}

double NormalCdf(double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); }

double NormalQuantile(double u) { return boost::math::quantile(boost::math::normal(), u); }

double BoundsProbability(const TDistribution& d)
{
    if (d.Kind == TDistributionKind::Uniform || d.Cov == 0)
        return 1;
    const double sd = d.Cov * std::fabs(d.Mean);
    if (d.Kind == TDistributionKind::Normal) {
        const boost::math::normal normal(d.Mean, sd);
        return (d.Max ? boost::math::cdf(normal, *d.Max) : 1.0) - (d.Min ? boost::math::cdf(normal, *d.Min) : 0.0);
    }
    const double sigma = std::sqrt(std::log1p(d.Cov * d.Cov));
    const boost::math::lognormal lognormal(std::log(d.Mean) - sigma * sigma / 2, sigma);
    return (d.Max ? boost::math::cdf(lognormal, *d.Max) : 1.0) -
           (d.Min && *d.Min > 0 ? boost::math::cdf(lognormal, *d.Min) : 0.0);
}

double Quantile(const TDistribution& d, double u)
{
    if (d.Kind == TDistributionKind::Uniform)
        return *d.Min + u * (*d.Max - *d.Min);
    if (d.Cov == 0)
        return d.Mean;
    if (d.Kind == TDistributionKind::Normal)
        return TruncatedQuantile(boost::math::normal(d.Mean, d.Cov * std::fabs(d.Mean)), d, -INFINITY, u);
    // Lognormal: ln X is normal with variance ln(1 + cov^2), and the mean of X
    // is exp(mu + sigma^2 / 2).
    const double sigma = std::sqrt(std::log1p(d.Cov * d.Cov));
    return TruncatedQuantile(boost::math::lognormal(std::log(d.Mean) - sigma * sigma / 2, sigma), d, 0, u);
}

std::vector<std::vector<double>> DrawSamples(const TProbabilisticStudy& study)
{
    const int count = study.Realisations;
    const std::size_t inputs = study.Inputs.size();
    std::vector<std::vector<int>> strata;
    if (study.Sampling == TSampling::LatinHypercube)
        for (std::size_t j = 0; j < inputs; ++j)
            strata.push_back(Strata(study.Seed, j, count));

    std::vector<std::vector<double>> samples(static_cast<std::size_t>(count), std::vector<double>(inputs));
    std::vector<double> u(inputs);
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(i);
        for (std::size_t j = 0; j < inputs; ++j) {
            u[j] = UniformDraw(study.Seed, ValueStream(j), index);
            if (!strata.empty())
                u[j] = (strata[j][index] + u[j]) / count;
        }
        if (study.Correlation) {
            // The second input's normal score leans on the first's.
            const auto a = static_cast<std::size_t>(study.Correlation->First);
            const auto b = static_cast<std::size_t>(study.Correlation->Second);
            const double rho = study.Correlation->Coefficient;
            const double z = rho * NormalQuantile(u[a]) + std::sqrt(1 - rho * rho) * NormalQuantile(u[b]);
            u[b] = std::clamp(NormalCdf(z), 0x1p-53, 1.0 - 0x1p-53);
        }
        for (std::size_t j = 0; j < inputs; ++j)
            samples[index][j] = Quantile(study.Inputs[j].Distribution, u[j]);
    }
    return samples;
}
