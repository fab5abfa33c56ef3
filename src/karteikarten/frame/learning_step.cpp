// The host's learning loop, in one place.
#include "karteikarten/frame/learning_step.hpp"

#include <cstdint>
#include <utility>

#include "karteikarten/collection/collection_conflict.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {

namespace {

// Throws what schedule throws for `response` on `card`, without recording
// anything; also ValueError when schedule would give no interval, as it
// does for "hard" and "easy" in the forgotten-cards drill.
void preview_answer(Karteikartenverwaltung& kkv, const Karteikarte& card,
                    const std::string& response) {
  Karteikarte copy = deep_copy(card);
  if (kkv.schedule(None, copy, response, true).is_none()) {
    throw ValueError("the forgotten-cards drill takes only \"again\" and \"good\", not " +
                     repr(Value(response)));
  }
}

// The answer time that counts: the measured time, at most the longest
// time counted for the card's kind.
Value counted_answer_time(const Karteikartenverwaltung& kkv, const Karteikarte& card,
                          const Value& beantwortungszeit) {
  const std::int64_t longest =
      card.nur_reizung ? kkv.maximale_beantwortungszeit_reizung : kkv.maximale_beantwortungszeit;
  return Value(longest) < beantwortungszeit ? Value(longest) : beantwortungszeit;
}

}  // namespace

bool accepts_response(Karteikartenverwaltung& kkv, const Karteikarte& card,
                      const std::string& response) {
  try {
    preview_answer(kkv, card, response);
    return true;
  } catch (const ValueError&) {
    return false;
  }
}

Value answer_card(Karteikartenverwaltung& kkv, Karteikarte& card, const Antwort& antwort) {
  preview_answer(kkv, card, antwort.response);
  const bool ahead = kkv.answers_ahead(card, antwort.response);
  const Value tage = kkv.schedule(None, card, antwort.response, false);
  card.change_due(kkv.environment().cf, tage);
  card.set_letzte_antwort(antwort.response, false);
  card.set_last_interval_no_lapse(tage, antwort.response, false);
  const Value zeit = counted_answer_time(kkv, card, antwort.beantwortungszeit);
  card.set_beantwortungszeit(zeit);
  card.set_last_interval(tage);
  if (!kkv.sammlungsort_name)
    throw KeyError("no current collection: sammlungsort_name is unset", std::nullopt);
  if (antwort.response != "again") {
    kkv.set_karte_heute_schon_gelernt(card, false, antwort.response);
    kkv.add_karte_vergessene_liste(card.get_name(), *kkv.sammlungsort_name);
  }
  kkv.set_metadaten(Tuple{card.get_modus(), zeit}, "zeitdauer_heute");
  const SammlungRef sammlung = kkv.hc.sammlung_named(*kkv.sammlungsort_name);
  sammlung->aendere_karteikarte_in_dictionary(card);
  // The card and the answer's log row are stored in one transaction; the
  // statistics store then applies the row.
  kkv.dictionary_speichern(None, false);
  // Its new due moment may still lie inside the look-ahead: this session
  // has shown it.
  if (ahead) sammlung->pass_over_in_choices(card.get_name());
  return tage;
}

std::optional<LearningStepResult> learning_step(Karteikartenverwaltung& kkv, const AskAnswer& ask) {
  return learning_step_on(kkv, kkv.get_card(), ask);
}

std::optional<LearningStepResult> learning_step_on(Karteikartenverwaltung& kkv,
                                                   std::optional<Karteikarte> card,
                                                   const AskAnswer& ask) {
  if (!card) return std::nullopt;
  const std::optional<Antwort> antwort = ask(*card, kkv.button_intervals(*card));
  if (!antwort) return std::nullopt;
  Value tage = answer_card(kkv, *card, *antwort);
  return LearningStepResult{std::move(*card), *kkv.sammlungsort_name, *antwort, std::move(tage)};
}

}  // namespace tavo::kk
