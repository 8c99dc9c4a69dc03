#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace tavi::tools {

// The random draws the made-up world navigation database is written from; one seed always
// gives the same draws.
class WorldRandom {
public:
    explicit WorldRandom(uint32_t seed) : engine(seed) {}

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(engine);
    }
    int uniformInt(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(engine);
    }
    bool chance(double probability) { return uniform(0.0, 1.0) < probability; }
    // Capital letters.
    std::string letters(int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('A' + uniformInt(0, 25));
        }
        return text;
    }

    std::mt19937 engine;
};

} // namespace tavi::tools
