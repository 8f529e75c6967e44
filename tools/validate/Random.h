// The random numbers of plovik-validate's combinations.
#pragma once

#include <cstdint>

namespace plovikvalidate {

// A small deterministic generator (the same numbers on every platform).
class Random {
  public:
    explicit Random(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    // 0 to n - 1.
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }

  private:
    uint32_t state_;
};

}  // namespace plovikvalidate
