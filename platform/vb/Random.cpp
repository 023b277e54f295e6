#include "vb/Random.h"

#include <chrono>
#include <cstdint>

namespace vb {

std::uint64_t splitmix64(std::uint64_t& x)
{
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

std::uint64_t rotl(std::uint64_t x, int k)
{
    return (x << k) | (x >> (64 - k));
}

// xoshiro256**: fast, with no weakness that a trainer's shuffles could show.
struct Generator {
    std::uint64_t s[4];

    void seed(std::uint64_t value)
    {
        for (std::uint64_t& word : s)
            word = splitmix64(value);
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(s[1] * 5, 7) * 9;
        const std::uint64_t t = s[1] << 17;
        s[2] ^= s[0];
        s[3] ^= s[1];
        s[1] ^= s[2];
        s[0] ^= s[3];
        s[2] ^= t;
        s[3] = rotl(s[3], 45);
        return result;
    }
};

Generator& generator()
{
    static Generator g = [] {
        Generator fixed{};
        fixed.seed(0);
        return fixed;
    }();
    return g;
}

} // namespace

float rnd()
{
    // The top 24 bits: every value k / 2^24 is exact in single precision,
    // so the result never rounds up to 1.
    return static_cast<float>(generator().next() >> 40) * (1.0f / 16777216.0f);
}

void randomize()
{
    // The counter tells apart reseeds that read the same clock value; the
    // wall clock tells apart runs of the program.
    static std::uint64_t counter = 0;
    std::uint64_t mix = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::uint64_t h = splitmix64(mix);
    h ^= rotl(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()), 29);
    h += ++counter * 0xD1B54A32D192ED03ull;
    generator().seed(splitmix64(h));
}

} // namespace vb
