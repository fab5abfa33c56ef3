// The attributes of a Karteikartenverwaltung as the host reads and assigns
// them: the constructor's attributes in construction order, then the bounds
// of a learning step, the pass flag, the drill's `vergessene_karten_liste`
// (absent until created) and the two read-only look-ahead windows
// `voraus_1_min` and `voraus_10_min`.
//
// The three attributes that hold objects (`reihenfolge_anzeigen`,
// `zeitberechnung`, `hc`) are not listed: a binding hands them out as
// wrappers of the objects themselves.
#pragma once

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/host_attribute.hpp"

namespace tavo::kk {

const HostAttributes<Karteikartenverwaltung>& manager_attributes();

}  // namespace tavo::kk
