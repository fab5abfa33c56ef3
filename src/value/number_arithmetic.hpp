// Arithmetic on numeric Values as the host computes it: integers (and
// bools) give an integer, anything with a float gives a float.
#pragma once

#include "value/value.hpp"

namespace tavo {

// TypeError "unsupported operand type(s) for +: 'NoneType' and 'int'" for
// values that are not numbers.
Value add_numbers(const Value& a, const Value& b);
Value subtract_numbers(const Value& a, const Value& b);
Value multiply_numbers(const Value& a, const Value& b);

}  // namespace tavo
