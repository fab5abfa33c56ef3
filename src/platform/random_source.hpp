// The module's source of randomness: jitter values and random orders.
//
// Seeded from the system's entropy; tests and reproducible sessions reseed
// it.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

namespace tavo::platform {

class RandomSource {
 public:
  RandomSource();
  // Makes the sequence that follows repeatable.
  void seed(std::uint64_t seed);
  // The numbers `first` to `first + count - 1`, each once, in a uniformly
  // random order.
  std::vector<std::int64_t> permutation(std::int64_t first, std::size_t count);
  // The generator, for the standard distributions and algorithms.
  std::mt19937_64& engine() { return engine_; }

 private:
  std::mt19937_64 engine_;
};

}  // namespace tavo::platform
