// FudgePermutation: a random order of the numbers 1 to N, computed value by
// value instead of drawn and stored.
//
// Before every card choice each card gets a fresh "fudge", its place in a
// random permutation of all cards. Drawing and writing a million values
// would cost more than the choice itself; this permutation costs nothing
// until a value is read, and each value takes a few multiplications. It is
// a keyed Feistel network on the smallest even power of two that holds N,
// walked until it lands below N, so that every index maps to a distinct
// number of 1 to N.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tavo::kk {

class FudgePermutation {
 public:
  // The permutation of 1 to `size` that `key` chooses.
  FudgePermutation(std::uint64_t key, std::size_t size);

  std::size_t size() const { return size_; }
  // The number at `index`, 0 <= index < size().
  std::int64_t at(std::size_t index) const;

 private:
  std::uint64_t shuffle(std::uint64_t value) const;

  std::uint64_t key_;
  std::size_t size_;
  unsigned half_bits_ = 1;
  std::uint64_t half_mask_ = 1;
};

}  // namespace tavo::kk
