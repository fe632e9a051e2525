#include "imaging/engine/random_numbers.h"

#include <chrono>
#include <random>

namespace scanvelt {
namespace {

std::mt19937_64& generator() {
    thread_local std::mt19937_64 engine = [] {
        std::random_device entropy;
        auto now = static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
        std::seed_seq seed{entropy(), entropy(), entropy(), static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32)};
        return std::mt19937_64(seed);
    }();
    return engine;
}

}  // namespace

double RandomUnit() {
    // generate_canonical may round up to 1.0 on some libraries; 53 random bits never do.
    return static_cast<double>(generator()() >> 11) * 0x1.0p-53;
}

}  // namespace scanvelt
