// Helpers for the wrapper of the manager.
#pragma once

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/value.hpp"

namespace tavo::binding {

// The manager's present moment of the learning day as a value, which the
// wrapper can hold before converting it (a DateTime has no empty state).
inline Value manager_now_value(const kk::Karteikartenverwaltung& kkv) {
  return Value(kkv.get_now());
}

}  // namespace tavo::binding
