#include "karteikarten/cards/fudge_permutation.hpp"

#include <bit>

namespace tavo::kk {
namespace {

constexpr int rounds = 4;

// A well-mixed 64-bit function of the right half, the key and the round.
std::uint64_t round_function(std::uint64_t half, std::uint64_t key, int round) {
  std::uint64_t x = half ^ (key + 0x9e3779b97f4a7c15ULL * static_cast<std::uint64_t>(round + 1));
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

}  // namespace

FudgePermutation::FudgePermutation(std::uint64_t key, std::size_t size) : key_(key), size_(size) {
  const unsigned bits = size > 1 ? static_cast<unsigned>(std::bit_width(size - 1)) : 1;
  half_bits_ = (bits + 1) / 2;
  half_mask_ = (std::uint64_t{1} << half_bits_) - 1;
}

std::int64_t FudgePermutation::at(std::size_t index) const {
  // The network permutes [0, 4^half_bits); walking the cycle from `index`
  // reaches a value below size() again, and distinct indexes reach distinct
  // values.
  std::uint64_t value = index;
  do {
    value = shuffle(value);
  } while (value >= size_);
  return static_cast<std::int64_t>(value) + 1;
}

std::uint64_t FudgePermutation::shuffle(std::uint64_t value) const {
  std::uint64_t left = value >> half_bits_;
  std::uint64_t right = value & half_mask_;
  for (int round = 0; round < rounds; ++round) {
    const std::uint64_t mixed = left ^ (round_function(right, key_, round) & half_mask_);
    left = right;
    right = mixed;
  }
  return (left << half_bits_) | right;
}

}  // namespace tavo::kk
