// Printing of Value in the host's plain-text forms.
//
// `repr` is the form the host shows for a value inside a container or in a
// diagnostic line: texts quoted and escaped as byte strings ('a', 'it\'s',
// '\xc3\xbc'), floats in their shortest round-trip form (4.0, 0.1, 1e+16),
// tuples with a trailing comma when they hold one item ((1,)), dicts in
// insertion order ({'x': 1}), date-times as datetime.datetime(2021, 9, 22, 1, 0).
// `str` differs only at the top level: a text prints as itself, a float with
// twelve significant digits (0.333333333333), a date-time as
// 2021-09-22 01:00:00.
#pragma once

#include <string>

#include "value/value.hpp"

namespace tavo {

std::string repr(const Value& value);
std::string str(const Value& value);

// A float as the host's repr writes it: the shortest text that reads back
// as the same number, with ".0" on whole numbers and an exponent outside
// 1e-4 <= |x| < 1e16; "inf", "-inf" and "nan" for the special values.
std::string float_repr(double number);

// A float as the host's str writes it: twelve significant digits, with an
// exponent outside 1e-4 <= |x| < 1e11.
std::string float_str(double number);

}  // namespace tavo
