#include "platform/random_source.hpp"

#include <algorithm>
#include <numeric>

namespace tavo::platform {

RandomSource::RandomSource() : engine_(std::random_device{}()) {}

void RandomSource::seed(std::uint64_t seed) { engine_.seed(seed); }

std::vector<std::int64_t> RandomSource::permutation(std::int64_t first, std::size_t count) {
  std::vector<std::int64_t> numbers(count);
  std::iota(numbers.begin(), numbers.end(), first);
  std::shuffle(numbers.begin(), numbers.end(), engine_);
  return numbers;
}

}  // namespace tavo::platform
