// A reproducible white-noise signal, uniform in -1..1, for tests and benchmarks.
#pragma once

#include <random>
#include <vector>

inline std::vector<double> randomSignal(int n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(n);
    for (double& x : v)
        x = dist(rng);
    return v;
}
