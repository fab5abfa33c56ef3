#include "karteikarten/frame/card_shown_again.hpp"

#include "karteikarten/collection/haendesammlung_vergessen.hpp"

namespace tavo::kk {

std::optional<Karteikarte> card_to_show_again(Karteikartenverwaltung& kkv,
                                              const std::string& name) {
  for (const SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    const CardRef record = sammlung->karten.find(name);
    if (record == nullptr) continue;
    if (!record->fragetext) {
      sammlung->set_handinfo_nur_reizung(name, kkv.get_handinfo_from_cardpointer(name));
    }
    kkv.sammlungsort_name = base_collection_name(sammlung->name);
    // As the choice does: a new card offered outside the drill is put due
    // by its answer.
    kkv.make_karte_due_bool = !kkv.modus_vergessene_karten && record->due.is_none();
    return Karteikarte(record, name, kkv.startzeit_tag);
  }
  return std::nullopt;
}

std::optional<LearningStepResult> learning_step_again(Karteikartenverwaltung& kkv,
                                                      const std::string& name,
                                                      const AskAnswer& ask) {
  return learning_step_on(kkv, card_to_show_again(kkv, name), ask);
}

}  // namespace tavo::kk
