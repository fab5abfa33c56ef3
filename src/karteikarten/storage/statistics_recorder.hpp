// StatisticsRecorder: the bookkeeping of answers.
//
// It keeps the per-day card lists and counters of the current collection
// (the registered one named by the session's sammlungsort_name), records
// statistics in the day statistics store (settings/kkv_alle.dat in the
// application data directory), and sums them up again. Three metadata keys
// are settings rather than collection values; they are redirected to the
// session's attributes and stored with the settings. Every write through
// set_metadaten is also recorded in the day statistics store, dated with
// the learning day.
//
// An answer is logged (see collection/answer_log.hpp): begin_answer starts
// its log row in the answered collection, and until that collection's next
// save every statistic recorded for it joins the row instead of going to
// the store; the save writes the row with the card, and the statistics
// store applies it from the log.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "karteikarten/cards/karteikarte.hpp"
#include "karteikarten/session/session_state.hpp"
#include "karteikarten/storage/haendesammlung_container.hpp"
#include "karteikarten/storage/settings.hpp"
#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class StatisticsRecorder {
 public:
  // Everything given must outlive the recorder.
  StatisticsRecorder(platform::Environment& env, SessionState& state, HaendesammlungContainer& hc,
                     SettingsStore& settings_store)
      : env_(env), state_(state), hc_(hc), settings_store_(settings_store) {}

  // ---- day statistics ----

  // Adds 1 to today's counter `key` of the current collection.
  void update_um_1(const std::string& key);
  // Records one statistic value in the day statistics store: `key` is the
  // tuple (year, month, day, wert), `name` the statistic. Throws when
  // neither the store nor its backup can be opened; then nothing is recorded.
  void add_to_shelve(const std::string& sammlungsname, const Tuple& key, const std::string& name);
  // Sums the statistic `key` over the stored collections ("alle") or the
  // registered ones, over all days or today ("heute"): {"anzahl": n}, and for
  // "zeitdauer_heute" also "kk", "reizung", "alleinspiel", "gegenspiel".
  Dict iterate_key_shelve(const std::string& key, bool heute = false, bool alle = true) const;
  // The stored statistics of the collection `key`, in the nested layout, or
  // None.
  Value get_data_from_shelve(const std::string& key) const;
  // Reads the store and changes nothing.
  void get_value_from_shelve_heute(const std::string& key) const;
  // The stored collection names that do not end with "_vergessen".
  List get_liste_alle_from_alte_daten() const;
  // Prints "in erstelle_cashing" and the two values; stores nothing.
  void erstelle_cashing(const Value& key, const Value& data) const;
  // The total answer time in minutes.
  double gesamte_zeitdauer_heute(bool heute = false) const;
  // {today's learning-day key: wert}; `key` is not used.
  Dict set_heute_bezogener_wert(const Value& key, const Value& wert) const;
  // Today's value of the day-bound value dictionary[key], or None; a plain
  // integer found there is first dated today, in place.
  Value get_heute_bezogener_wert_aus_dict(const Dict& dictionary, const std::string& key) const;

  // ---- card metadata of the current collection ----

  // Today's value under `key`, or its default.
  Value get_metadaten(const std::string& key) const;
  // Writes today's value and records it in the day statistics store.
  void set_metadaten(const Value& wert, const std::string& key);
  void add_cardid_to_schon_gelernt(const Karteikarte* card, const std::string& key,
                                   const std::optional<std::string>& name = std::nullopt);
  void add_bezeichner_to_kkv_info(const std::string& bezeichner, const std::string& key,
                                  const std::string& name = "");
  void remove_cardid_from_metadata(const Karteikarte& card, const std::string& key);
  void remove_from_again_in_queue(const Karteikarte& card);
  void set_reps(bool reizung = false);
  void set_karte_heute_schon_gelernt(const Karteikarte& card, bool test,
                                     const std::string& response);
  void faellig_liste_eintragen(const Value& wert, const Value& now);

  // ---- an answer's records ----
  //
  // Each records one part of an answer to `card` with `response` in the
  // answered collection (KeyError when it is not registered); the card's
  // scheduling reads the card as it was before the answer.

  // A new card: seen today, and counted as new (and right unless "again").
  void record_new_card(const Karteikarte& card, const std::string& response);
  // A review card counts once a day as reviewed, split into mature
  // (interval of 21 days or more) and young cards; a further answer the
  // same day counts as learnt again. Nothing in the forgotten-cards mode.
  void record_review_card(const Karteikarte& card, const std::string& response);
  void record_seen_today(const Karteikarte& card);
  // "again", and "good" with learning steps still ahead, keep the card in
  // today's queue of cards answered "again"; any other answer takes it out.
  void record_again_queue(const Karteikarte& card, const std::string& response,
                          bool steps_ahead);
  // A right answer to a card neither seen new nor failed today.
  void record_right_first_time(const Karteikarte& card, const std::string& response);
  // A forgotten card: failed today, counted, and recorded in the store.
  void record_lapse(const Karteikarte& card);

  // The registered collection named by sammlungsort_name; KeyError when
  // there is none.
  SammlungRef answered_collection() const;

  // ---- the answer log ----

  // Starts the log row of the answer `response` to `card` in the answered
  // collection, with the card's state as its record holds it now. Nothing
  // is logged without a current collection, or for a card it lacks.
  void begin_answer(const Karteikarte& card, const std::string& response);
  // Sets the interval the scheduling returned on the answer begun last.
  void set_answer_interval(const Value& interval);
  // Drops the answer begun last, recording its statistics in the store at
  // once: for an answer the scheduling rejected after recording some.
  void abandon_answer();

 private:
  // The log row the statistics of the collection `name` join now: its
  // newest unsaved answer, or nullptr.
  UnsavedLogEntry* answer_in_progress(const std::string& name) const;

  platform::Environment& env_;
  SessionState& state_;
  HaendesammlungContainer& hc_;
  SettingsStore& settings_store_;
};

}  // namespace tavo::kk
