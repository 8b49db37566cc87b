#include "xml/NameIndex.h"

#include <chrono>
#include <cstdint>
#include <exception>
#include <random>

namespace tavrel::xml {

uint64_t NameHashBasis() {
  static const uint64_t basis = [] {
    // The clock and where this code lies (address-space randomisation) too,
    // in case the system has no random device.
    static const char here = 0;
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    reinterpret_cast<uintptr_t>(&here);
    try {
      std::random_device device;
      seed ^= (uint64_t{device()} << 32) ^ device();
    } catch (const std::exception&) {
    }
    // FNV-1a's own basis, moved by the seed.
    return 14695981039346656037ULL ^ (seed * 0x9E3779B97F4A7C15ULL);
  }();
  return basis;
}

}  // namespace tavrel::xml
