// The attributes of a Karteikarte as the host reads and assigns them.
//
// Every data member except `reizung` (the shared record itself, which the
// binding hands out as live card data) is listed. The attributes a test
// card lacks (name, reps, karte_ist_neu, the two lists, the texts) and
// `steps`, which only a test card has, are absent while empty: reading one
// throws AttributeError. `learnstatus` crosses as its text and `due` as
// None, seconds or "done".
#pragma once

#include "karteikarten/cards/karteikarte.hpp"
#include "value/host_attribute.hpp"

namespace tavo::kk {

const HostAttributes<Karteikarte>& karteikarte_attributes();

}  // namespace tavo::kk
