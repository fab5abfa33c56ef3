// A run of the forgotten-cards drill, as a host holds it: from construction
// to destruction the manager drills the cards forgotten in the last days
// (see the forgotten-cards group of Karteikartenverwaltung), and the
// normal collections are parked, untouched. The host learns with the
// normal loop (learning_step or get_card and answer_card): "again" gives a
// card ten minutes and the lowest fudge, "good" finishes it for the run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "karteikarten/frame/karteikartenverwaltung.hpp"

namespace tavo::kk {

class ForgottenCardsDrill {
 public:
  // Starts a run over the cards forgotten in the last `tage` days.
  // ValueError unless 1 <= tage <= the manager's
  // vergessen_in_letzten_tagen_groesstmoeglicher_wert; nothing changes
  // then.
  ForgottenCardsDrill(Karteikartenverwaltung& kkv, std::int64_t tage);
  // Leaves the run: the normal collections are live again, the mode off.
  ~ForgottenCardsDrill();

  ForgottenCardsDrill(const ForgottenCardsDrill&) = delete;
  ForgottenCardsDrill& operator=(const ForgottenCardsDrill&) = delete;

  // The cards the run drills, over every collection.
  std::size_t anzahl_karten() const;

 private:
  Karteikartenverwaltung& kkv_;
};

// The cards of the running drill not yet finished in it ("good" or
// better), over every collection; 0 outside a drill.
std::int64_t cards_left_in_drill(const Karteikartenverwaltung& kkv);

}  // namespace tavo::kk
