// The host's learning loop, in one place.
#include "karteikarten/frame/learning_step.hpp"

#include <utility>

#include "value/errors.hpp"

namespace tavo::kk {

Value answer_card(Karteikartenverwaltung& kkv, Karteikarte& card, const Antwort& antwort) {
  const Value tage = kkv.schedule(None, card, antwort.response, false);
  card.change_due(tage);
  card.set_letzte_antwort(antwort.response, false);
  card.set_last_interval_no_lapse(tage, antwort.response, false);
  card.set_beantwortungszeit(antwort.beantwortungszeit);
  card.set_last_interval(tage);
  if (antwort.response != "again") kkv.set_karte_heute_schon_gelernt(card, false, antwort.response);
  if (!kkv.sammlungsort_name) throw KeyError("no current collection: sammlungsort_name is unset");
  kkv.hc.sammlung_named(*kkv.sammlungsort_name)->aendere_karteikarte_in_dictionary(card);
  kkv.dictionary_speichern(None, false);
  return tage;
}

std::optional<LearningStepResult> learning_step(Karteikartenverwaltung& kkv, const AskAnswer& ask) {
  std::optional<Karteikarte> card = kkv.get_card();
  if (!card) return std::nullopt;
  const std::optional<Antwort> antwort = ask(*card, kkv.get_interval_responses(*card));
  if (!antwort) return std::nullopt;
  Value tage = answer_card(kkv, *card, *antwort);
  return LearningStepResult{std::move(*card), *kkv.sammlungsort_name, *antwort, std::move(tage)};
}

}  // namespace tavo::kk
