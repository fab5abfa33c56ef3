// Access to the list a Heap_umwandler picks from, which it holds as a
// shared constant list.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "karteikarten/cards/heap_umwandler.hpp"

namespace tavo::binding {

inline const kk::Heap_umwandler::Liste& heap_liste(const kk::Heap_umwandler& umwandler) {
  return *umwandler.liste;
}

// Makes a copy of `liste` the list `umwandler` picks from.
inline void set_heap_liste(kk::Heap_umwandler& umwandler, kk::Heap_umwandler::Liste liste) {
  umwandler.liste = std::make_shared<const kk::Heap_umwandler::Liste>(std::move(liste));
}

}  // namespace tavo::binding
