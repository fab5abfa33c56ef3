// The records an answer leaves in the day's lists and counters: the card
// lists and counters of the current collection, the queue of cards answered
// "again" and the day statistics store. The card itself is not changed
// here.
#include <cstdint>
#include <optional>
#include <string>

#include "karteikarten/storage/statistics_recorder.hpp"
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
const std::string& current_name(const SessionState& state) {
  if (!state.sammlungsort_name) {
    throw KeyError("no current collection: sammlungsort_name is unset", std::nullopt);
  }
  return *state.sammlungsort_name;
}

}  // namespace

SammlungRef StatisticsRecorder::answered_collection() const {
  return hc_.sammlung_named(current_name(state_));
}

void StatisticsRecorder::record_new_card(const Karteikarte& card, const std::string& response) {
  if (!card.get_karte_ist_neu()) return;
  add_cardid_to_schon_gelernt(&card, "neue_karten_heute_angesehen");
  update_um_1("neu");
  if (response != "again") update_um_1("neu_richtig");
}

// A review card counts once a day as reviewed, split into mature and young
// cards; a further answer the same day counts as learnt again. "again"
// never counts as right.
void StatisticsRecorder::record_review_card(const Karteikarte& card,
                                                const std::string& response) {
  if (state_.modus_vergessene_karten || card.get_karte_ist_neu()) return;
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

void StatisticsRecorder::record_seen_today(const Karteikarte& card) {
  add_cardid_to_schon_gelernt(&card, "heute_schon_angesehen");
}

void StatisticsRecorder::record_again_queue(const Karteikarte& card, const std::string& response,
                                            bool steps_ahead) {
  if (state_.modus_vergessene_karten) return;
  if (response == "again" || (response == "good" && steps_ahead)) {
    add_cardid_to_schon_gelernt(&card, "again_in_queue");
  } else {
    remove_from_again_in_queue(card);
  }
}

// A right answer to a card neither seen new nor failed today.
void StatisticsRecorder::record_right_first_time(const Karteikarte& card,
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

void StatisticsRecorder::record_lapse(const Karteikarte& card) {
  if (state_.modus_vergessene_karten) return;
  const std::string& sammlungsname = current_name(state_);
  add_cardid_to_schon_gelernt(&card, "heute_falsch");
  update_um_1("heute_falsch_anzahl");
  const DateTime now = env_.cf.get_now_startzeit(state_.startzeit_tag);
  add_to_shelve(sammlungsname, Tuple{now.year(), now.month(), now.day(), 1}, "heute_falsch_anzahl");
}

}  // namespace tavo::kk
