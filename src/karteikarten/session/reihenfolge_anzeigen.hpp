// Reihenfolge_anzeigen: the manager's display-order record. It is created
// empty with the manager and kept for the host; nothing in the module fills
// or reads it.
#pragma once

#include "value/value.hpp"

namespace tavo::kk {

struct Reihenfolge_anzeigen {
  Dict reihenfolge;
};

}  // namespace tavo::kk
