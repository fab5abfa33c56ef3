#include "value/number_arithmetic.hpp"

#include <functional>
#include <string>

#include "value/errors.hpp"

namespace tavo {
namespace {

template <class Operation>
Value combine(const char* symbol, const Value& a, const Value& b, Operation operation) {
  if (!a.is_number() || !b.is_number()) {
    throw TypeError(std::string("unsupported operand type(s) for ") + symbol + ": '" +
                    type_name(a) + "' and '" + type_name(b) + "'");
  }
  if (a.is_float() || b.is_float()) return operation(a.as_float(), b.as_float());
  return operation(a.as_int(), b.as_int());
}

}  // namespace

Value add_numbers(const Value& a, const Value& b) { return combine("+", a, b, std::plus<>()); }

Value subtract_numbers(const Value& a, const Value& b) {
  return combine("-", a, b, std::minus<>());
}

Value multiply_numbers(const Value& a, const Value& b) {
  return combine("*", a, b, std::multiplies<>());
}

}  // namespace tavo
