// Helpers for the wrappers of the host components.
#pragma once

#include <memory>

#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::binding {

// The package's one environment, created when the package is imported:
// what the host sees as cf, pd and ih, and what every manager, collection
// and store the package creates is given. Not synchronised: the host calls
// the module from one thread at a time.
inline platform::Environment& package_environment() {
  static platform::Environment environment;
  return environment;
}

// A handle to `instance` that never deletes it: the process-wide instances
// live until the process ends, and every wrapper of one acts on it.
template <class Instance>
std::shared_ptr<Instance> unowned(Instance& instance) {
  return std::shared_ptr<Instance>(&instance, [](Instance*) {});
}

// The date-times of `functions` as values, which the wrappers can hold
// before converting them (a DateTime has no empty state).
inline Value datetime_now_value(const platform::Common_functions& functions) {
  return Value(functions.get_datetime_now());
}

inline Value now_startzeit_value(const platform::Common_functions& functions, int startzeit_tag) {
  return Value(functions.get_now_startzeit(startzeit_tag));
}

}  // namespace tavo::binding
