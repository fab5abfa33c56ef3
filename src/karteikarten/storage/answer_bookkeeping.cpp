// The records an answer leaves in the day's lists and counters: the card
// lists and counters of the current collection, the queue of cards answered
// "again" and the day statistics store. The card itself is not changed
// here.
#include <cstdint>
#include <optional>
#include <string>

#include "db/transaction.hpp"
#include "karteikarten/collection/answer_log.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
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

void StatisticsRecorder::begin_answer(const Karteikarte& card, const std::string& response) {
  if (!state_.sammlungsort_name || !card.name) return;
  const SammlungRef sammlung = hc_.get_richtige_sammlung(*state_.sammlungsort_name);
  const CardRef record = sammlung ? sammlung->karten.find(card.get_name()) : nullptr;
  if (record == nullptr) return;
  sammlung->unsaved_log.push_back(
      begin_logged_answer(*sammlung, card.get_name(), *record, response, env_.cf.get_now()));
}

void StatisticsRecorder::set_answer_interval(const Value& interval) {
  if (!state_.sammlungsort_name) return;
  if (UnsavedLogEntry* answer = answer_in_progress(*state_.sammlungsort_name)) {
    answer->row.answer.interval = interval;
  }
}

void StatisticsRecorder::abandon_answer() {
  if (!state_.sammlungsort_name || !answer_in_progress(*state_.sammlungsort_name)) return;
  const SammlungRef sammlung = hc_.get_richtige_sammlung(*state_.sammlungsort_name);
  const List recordings = sammlung->unsaved_log.back().row.answer.recordings;
  sammlung->unsaved_log.pop_back();
  if (recordings.size() == 0) return;
  DayStatisticsStore store = DayStatisticsStore::open_for_recording(day_statistics_path(env_));
  db::Transaction transaction(store.connection());
  store.record_each(recordings);
  transaction.commit();
}

UnsavedLogEntry* StatisticsRecorder::answer_in_progress(const std::string& name) const {
  const SammlungRef sammlung = hc_.get_richtige_sammlung(name);
  if (sammlung == nullptr || sammlung->unsaved_log.empty()) return nullptr;
  UnsavedLogEntry& newest = sammlung->unsaved_log.back();
  return newest.row.undoes ? nullptr : &newest;
}

}  // namespace tavo::kk
