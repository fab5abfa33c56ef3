// SessionState: the state of a learning session that the host reads and
// sets as attributes of the manager and that the components share: the
// current collection, the daily limits, the modes (learning ahead, only
// new cards, the forgotten-cards drill) and the session's counters.
//
// The manager holds one and hands it to its components by reference; a
// component reads what the host may have set just before the call.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "karteikarten/session/reihenfolge_anzeigen.hpp"
#include "platform/common_functions.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/value.hpp"

namespace tavo::kk {

struct SessionState {
  // `vorauslernen`: days of learning ahead (0 for none); `nur_neue`: show
  // only new cards; `neue_karten_pro_tag`: the daily number of new cards,
  // 10 when absent or 0. Times are read from `cf`, which must outlive the
  // state.
  SessionState(const platform::Common_functions& cf, std::int64_t vorauslernen, bool nur_neue,
               std::optional<std::int64_t> neue_karten_pro_tag);

  std::int64_t default_neue_karten_pro_tag = 10;
  Reihenfolge_anzeigen reihenfolge_anzeigen;
  Dict reihenfolge;
  std::int64_t grenzwert_heute_due = 5;
  // The collection the current card belongs to.
  std::optional<std::string> sammlungsort_name;
  std::int64_t neue_karten_pro_tag;
  std::optional<std::int64_t> neue_karten_nur_heute;
  bool continuous_learning = false;
  // Set by the choice when the chosen card is a new one; the answer then
  // puts it due.
  bool make_karte_due_bool = false;
  // Any value the host puts there; see set_durchlauf10_counter.
  Value durchlauf_10_counter = 0;
  std::int64_t vergessen_in_letzten_tagen_groesstmoeglicher_wert = 30;
  std::int64_t vergessen_wie_weit_zurueck = 0;
  int startzeit_tag = 3;
  std::shared_ptr<platform::Zeitberechnungen> zeitberechnung;
  std::optional<std::int64_t> anzahl_neue_karten_in_sammlung_vorhanden;
  std::int64_t maximale_wiederholungen_pro_tag = 3;
  std::int64_t maximale_beantwortungszeit = 60;
  std::int64_t maximale_beantwortungszeit_reizung = 180;
  std::int64_t anzahl_heute_gelernt = 0;
  bool modus_vergessene_karten = false;
  Dict vergessene_karten_erfolgreich_gelernt_liste;
  // The next fudge of a forgotten card: ever smaller, so that the most
  // recently forgotten card comes first.
  std::int64_t fudge_nochmal = -1;
  std::int64_t vorauslernen_tage;
  bool nur_neue_karten_anzeigen;
  std::int64_t gepruefte_neue_karten = 0;
  // Bounds of a single learning step in minutes; set by set_minimum_values.
  std::optional<std::int64_t> NEW_STEPS_min;
  std::optional<std::int64_t> LAPSE_STEPS_min;
  // Reset by every choice of a collection.
  bool durchlauf_10_erfolgreich = false;
  // Absent until leere_vergessene_karten_liste creates it; nothing reads it.
  std::optional<List> vergessene_karten_liste;
};

}  // namespace tavo::kk
