#include "karteikarten/frame/card_shown_again.hpp"

#include <utility>

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
  std::optional<Karteikarte> card = card_to_show_again(kkv, name);
  if (!card) return std::nullopt;
  const std::optional<Antwort> antwort = ask(*card, kkv.get_interval_responses(*card));
  if (!antwort) return std::nullopt;
  Value tage = answer_card(kkv, *card, *antwort);
  return LearningStepResult{std::move(*card), *kkv.sammlungsort_name, *antwort, std::move(tage)};
}

}  // namespace tavo::kk
