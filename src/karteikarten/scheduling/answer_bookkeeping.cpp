// The records an answer leaves in the day's lists and counters: the card
// lists and counters of the current collection, the queue of cards answered
// "again", the day statistics store, and the putting due of a freshly chosen
// new card. A preview (`test`) records nothing; the card itself is not
// changed here.
#include <cstdint>
#include <optional>
#include <string>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// Reviews of an interval of this many days or more count as mature ("alt").
const Value mature_interval = 21;

// True when `names`, one of today's card lists, holds `name`.
bool holds(const Value& names, const std::string& name) {
  return names.truthy() && names.as_list().contains(name);
}

// The name of the current collection; KeyError when there is none.
const std::string& current_name(const std::optional<std::string>& sammlungsort_name) {
  if (!sammlungsort_name)
    throw KeyError("no current collection: sammlungsort_name is unset", std::nullopt);
  return *sammlungsort_name;
}

}  // namespace

void Karteikartenverwaltung::answer_bookkeeping(AnswerStep step, const Karteikarte& card,
                                                const std::string& response, bool test) {
  if (test) return;
  switch (step) {
    case AnswerStep::new_card: return record_new_card(card, response);
    case AnswerStep::review_card: return record_review_card(card, response);
    case AnswerStep::seen_today: return record_seen_today(card);
    case AnswerStep::again_queue: return record_again_queue(card, response);
    case AnswerStep::right_first_time: return record_right_first_time(card, response);
    case AnswerStep::repetition: return set_reps(card.nur_reizung);
    case AnswerStep::early_review:
      return add_cardid_to_schon_gelernt(&card, "vorauslernen_modus_gelernt_karte_auf_again");
    case AnswerStep::lapse: return record_lapse(card);
  }
}

SammlungRef Karteikartenverwaltung::answered_collection() const {
  return hc.sammlung_named(current_name(sammlungsort_name));
}

void Karteikartenverwaltung::record_new_card(const Karteikarte& card, const std::string& response) {
  if (!card.get_karte_ist_neu()) return;
  add_cardid_to_schon_gelernt(&card, "neue_karten_heute_angesehen");
  update_um_1("neu");
  if (response != "again") update_um_1("neu_richtig");
}

// A review card counts once a day as reviewed, split into mature and young
// cards; a further answer the same day counts as learnt again. "again"
// never counts as right.
void Karteikartenverwaltung::record_review_card(const Karteikarte& card,
                                                const std::string& response) {
  if (modus_vergessene_karten || card.get_karte_ist_neu()) return;
  const bool right = response != "again";
  if (holds(answered_collection()->get_metadata_heute("heute_schon_angesehen"), card.get_name())) {
    update_um_1("erneut_gelernt");
    if (right) update_um_1("erneut_gelernt_richtig");
    return;
  }
  add_cardid_to_schon_gelernt(&card, "wiederholte_karten");
  const bool mature = card.interval >= mature_interval;
  update_um_1(mature ? "alt" : "wiederholt");
  if (right) update_um_1(mature ? "alt_richtig" : "wiederholt_richtig");
}

void Karteikartenverwaltung::record_seen_today(const Karteikarte& card) {
  add_cardid_to_schon_gelernt(&card, "heute_schon_angesehen");
  if (!make_karte_due_bool) return;
  make_karte_due(card.get_name(), answered_collection());
  make_karte_due_bool = false;
}

// "again", and "good" with learning steps still ahead (counted on the new
// card steps whatever the card's phase), keep the card in today's queue;
// any other answer takes it out.
void Karteikartenverwaltung::record_again_queue(const Karteikarte& card,
                                                const std::string& response) {
  if (modus_vergessene_karten) return;
  const bool steps_ahead = card.steps_index + 1 < static_cast<std::int64_t>(NEW_STEPS.size());
  if (response == "again" || (response == "good" && steps_ahead)) {
    add_cardid_to_schon_gelernt(&card, "again_in_queue");
  } else {
    remove_from_again_in_queue(card);
  }
}

// A right answer to a card neither seen new nor failed today.
void Karteikartenverwaltung::record_right_first_time(const Karteikarte& card,
                                                     const std::string& response) {
  // A day without a list holds no names yet: before the first failure of
  // the day every right answer counts.
  const SammlungRef sammlung = answered_collection();
  const std::string& name = card.get_name();
  if (response == "again" ||
      holds(sammlung->get_metadata_heute("neue_karten_heute_angesehen"), name) ||
      holds(sammlung->get_metadata_heute("heute_falsch"), name)) {
    return;
  }
  add_cardid_to_schon_gelernt(&card, "alte_karten_gleich_richtig");
}

void Karteikartenverwaltung::record_lapse(const Karteikarte& card) {
  if (modus_vergessene_karten) return;
  const std::string& sammlungsname = current_name(sammlungsort_name);
  add_cardid_to_schon_gelernt(&card, "heute_falsch");
  update_um_1("heute_falsch_anzahl");
  const DateTime now = get_now();
  add_to_shelve(sammlungsname, Tuple{now.year(), now.month(), now.day(), 1}, "heute_falsch_anzahl");
}

}  // namespace tavo::kk
