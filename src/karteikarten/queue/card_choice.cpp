// Choosing the next card: each collection offers one card out of at most
// five candidates (new cards within today's limit, reviews failed today or
// due now, within the first and within the second learning step), and the
// offers compete by due moment and fudge.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/cards/karten_identifier.hpp"
#include "karteikarten/queue/card_chooser.hpp"
#include "karteikarten/queue/review_order.hpp"
#include "platform/diagnostics.hpp"
#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

// Orders due moments: None first, then moments, then "done".
std::pair<int, double> due_rank(const Due& due) {
  if (due.is_none()) return {0, 0};
  if (due.is_done()) return {2, 0};
  return {1, due.seconds()};
}

void append(std::vector<Entry>& alle, const std::vector<Entry>& more) {
  alle.insert(alle.end(), more.begin(), more.end());
}

// Learning ahead switched off for one collection's choice, on the manager
// and on the collection, until resumed or the scope ends (also by an
// exception).
class LearningAheadPause {
 public:
  LearningAheadPause(SessionState& state, kk::Haendesammlung& sammlung)
      : state_(state),
        sammlung_(sammlung),
        manager_days_(state.vorauslernen_tage),
        collection_days_(sammlung.vorauslernen) {
    state_.vorauslernen_tage = 0;
    sammlung_.set_vorauslernen_tage(0);
  }
  ~LearningAheadPause() { resume(); }
  LearningAheadPause(const LearningAheadPause&) = delete;
  LearningAheadPause& operator=(const LearningAheadPause&) = delete;

  void resume() {
    state_.vorauslernen_tage = manager_days_;
    sammlung_.set_vorauslernen_tage(collection_days_);
  }

 private:
  SessionState& state_;
  kk::Haendesammlung& sammlung_;
  const std::int64_t manager_days_;
  const std::int64_t collection_days_;
};

// One choice on a collection: its view of the new and the soon-due cards,
// dropped when the choice ends (also by an exception).
class ChoiceScope {
 public:
  ChoiceScope(kk::Haendesammlung& sammlung, double voraus) : sammlung_(sammlung) {
    sammlung_.begin_choice(voraus);
  }
  ~ChoiceScope() { sammlung_.end_choice(); }
  ChoiceScope(const ChoiceScope&) = delete;
  ChoiceScope& operator=(const ChoiceScope&) = delete;

 private:
  kk::Haendesammlung& sammlung_;
};

}  // namespace

std::optional<Karteikarte> CardChooser::get_card() {
  hc_.fudge_erneuern();
  const auto [cardpointer, sammlungsname] = waehle_card_aus_mehreren_sammlungen();
  if (!cardpointer || cardpointer->empty()) {
    state_.sammlungsort_name = std::nullopt;
    return std::nullopt;
  }
  const std::string base = kk::base_collection_name(*sammlungsname);
  env_.diagnostics.check(cardpointer->starts_with(base));
  env_.diagnostics.check(hc_.get_index_from_name(base) != -1);
  // The card is read from the collection that offered it, which is the
  // base collection outside the forgotten-cards drill.
  const SammlungRef sammlung = hc_.sammlung_named(*sammlungsname);
  const CardRef& record = sammlung->karten.at(*cardpointer);
  if (!record->fragetext) {
    sammlung->set_handinfo_nur_reizung(*cardpointer, get_handinfo_from_cardpointer(*cardpointer));
  }
  Karteikarte card(record, *cardpointer, state_.startzeit_tag);
  state_.sammlungsort_name = base;
  return card;
}

CardAndCollection CardChooser::waehle_card_aus_mehreren_sammlungen() {
  const std::int64_t fudge = 1 + hc_.get_anzahl_karten();
  CardAndCollection best;
  for (const SammlungRef& sammlung : std::vector(hc_.liste_aller_sammlungen)) {
    CardAndCollection offer = state_.modus_vergessene_karten ? waehle_card_vergessene(sammlung, fudge)
                                                      : waehle_card_eine_sammlung(sammlung, fudge);
    best = best.first && !best.first->empty()
               ? vergleiche_card_eher_due(best.first, best.second, offer.first, offer.second)
               : std::move(offer);
  }
  if (best.first && !best.first->empty()) {
    env_.diagnostics.check(best.second &&
                          best.first->starts_with(kk::base_collection_name(*best.second)));
  } else {
    env_.diagnostics.check(!best.second || best.second->empty());
  }
  return best;
}

CardAndCollection CardChooser::vergleiche_card_eher_due(
    const std::optional<std::string>& cardpointer, const std::optional<std::string>& sammlungsname1,
    const std::optional<std::string>& otherpointer,
    const std::optional<std::string>& sammlungsname2) {
  const bool card_given = cardpointer && !cardpointer->empty();
  const bool other_given = otherpointer && !otherpointer->empty();
  if (!card_given) return {otherpointer, sammlungsname2};
  if (!other_given) return {cardpointer, sammlungsname1};
  const CardRef& card = hc_.sammlung_named(sammlungsname1.value_or(""))->karten.at(*cardpointer);
  const CardRef& other = hc_.sammlung_named(sammlungsname2.value_or(""))->karten.at(*otherpointer);
  const auto card_due = due_rank(card->due);
  const auto other_due = due_rank(other->due);
  if (card_due != other_due) {
    return card_due < other_due ? CardAndCollection{cardpointer, sammlungsname1}
                                : CardAndCollection{otherpointer, sammlungsname2};
  }
  if (stored_fudge(card) < stored_fudge(other)) return {cardpointer, sammlungsname1};
  return {otherpointer, sammlungsname2};
}

CardAndCollection CardChooser::waehle_card_eine_sammlung(
    const SammlungRef& sammlung, std::optional<std::int64_t> fudge) {
  state_.durchlauf_10_erfolgreich = false;
  state_.make_karte_due_bool = false;
  if (!state_.continuous_learning && state_.durchlauf_10_counter > Value(9)) return {};
  if (state_.modus_vergessene_karten) return waehle_card_vergessene(sammlung, fudge);
  if (!sammlung) throw AttributeError("'NoneType' object has no attribute 'karten'");

  const std::int64_t grenzwert_neue_karten_heute = limits_.bestimme_grenzwert_neue_karten_heute(sammlung);
  const std::int64_t grenzwert_wiederholungen = limits_.bestimme_grenzwert_wiederholungen(sammlung);
  const double voraus_1 = scheduler_.voraus_1_min();
  const double voraus_10 = scheduler_.voraus_10_min();
  const ChoiceScope choice(*sammlung, std::max({600.0, voraus_1, voraus_10}));

  // Reviews are counted without learning ahead first; only when fewer than
  // five are due does learning ahead fill the rotation.
  LearningAheadPause learning_ahead(state_, *sammlung);
  const std::int64_t ohne_vorauslernen =
      sammlung->get_anzahl_moegliche_wiederholungen(grenzwert_wiederholungen, std::nullopt, 600);
  std::int64_t grenzwert_maximale_wiederholungen = 0;
  if (!state_.nur_neue_karten_anzeigen) {
    grenzwert_maximale_wiederholungen = ohne_vorauslernen;
    if (ohne_vorauslernen < 5) {
      learning_ahead.resume();
      grenzwert_maximale_wiederholungen = sammlung->get_anzahl_moegliche_wiederholungen(
          grenzwert_wiederholungen, std::nullopt, 600);
    }
  }

  const std::int64_t g = sammlung->anzahl_due_none();
  const auto [neue_karten_soll, maximale_wiederholungen] =
      aufteilung_5(grenzwert_neue_karten_heute, grenzwert_maximale_wiederholungen, g);

  // New cards.
  const std::int64_t ausstehend = sammlung->berechne_anzahl_neue_karten_faellig_stellbar(
      grenzwert_neue_karten_heute, false, neue_karten_soll);
  Karten_Identifier neue(state_.sammlungsort_name.value_or(""));
  if (ausstehend > 0) {
    neue.add_two_tuple_list(env_.diagnostics, sammlung->finde_beste_neue_karte(ausstehend, std::min(ausstehend, g)));
  }
  const std::vector<Entry> heute_faellige = neue.get_3er_liste();
  check_id_faehig(heute_faellige);

  // Reviews failed today take the review places first when they fill them.
  std::vector<Entry> wiederholbare_karten;
  if (sammlung->get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt() >=
      grenzwert_maximale_wiederholungen) {
    wiederholbare_karten =
        sammlung->wandle_bezeichner_liste_in_karten_liste_um(first_in_review_order(
            *sammlung, sammlung->get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt(),
            maximale_wiederholungen));
  } else {
    sammlung->set_states_wiederholbare_in_x();
    wiederholbare_karten = sammlung->finde_beste_wiederholbare_karte(
        maximale_wiederholungen, 0, grenzwert_maximale_wiederholungen);
  }
  const std::int64_t maximale_wiederholungen_neu =
      maximale_wiederholungen - static_cast<std::int64_t>(wiederholbare_karten.size());
  env_.diagnostics.check(maximale_wiederholungen_neu >= 0);
  check_id_faehig(wiederholbare_karten);

  std::vector<Entry> alle = heute_faellige;
  if (!state_.nur_neue_karten_anzeigen) append(alle, wiederholbare_karten);

  // Reviews due within the first and within the second learning step.
  const std::int64_t moeglich_in_1 = sammlung->get_anzahl_moegliche_wiederholungen(
      grenzwert_wiederholungen, std::nullopt, voraus_1);
  const std::int64_t maximale_in_1 = std::max<std::int64_t>(maximale_wiederholungen_neu, 0);
  const std::int64_t grenzwert_in_1 = std::min(maximale_in_1, moeglich_in_1);
  const std::int64_t maximale_in_10 =
      std::max<std::int64_t>(maximale_wiederholungen_neu - grenzwert_in_1, 0);
  const std::int64_t moeglich_in_10 = sammlung->get_anzahl_moegliche_wiederholungen(
      grenzwert_wiederholungen, std::nullopt, voraus_10);
  const std::int64_t grenzwert_in_10 = std::min(maximale_in_10, moeglich_in_10);

  const std::int64_t add_due_in_1 = std::min(maximale_in_1, grenzwert_in_1);
  env_.diagnostics.check(add_due_in_1 >= 0);
  sammlung->set_states_wiederholbare_in_x();
  const std::vector<Entry> in_1 =
      sammlung->finde_beste_wiederholbare_karte(add_due_in_1, voraus_1, moeglich_in_1);
  check_id_faehig(in_1);
  if (!state_.nur_neue_karten_anzeigen) append(alle, in_1);

  const std::int64_t add_due_in_10 = std::min(maximale_in_10, grenzwert_in_10);
  env_.diagnostics.check(add_due_in_10 >= 0);
  const std::vector<Entry> in_10 =
      sammlung->finde_beste_wiederholbare_karte(add_due_in_10, voraus_10, moeglich_in_10);
  check_id_faehig(in_10);
  if (!state_.nur_neue_karten_anzeigen) append(alle, in_10);
  env_.diagnostics.check(alle.size() <= 5);

  const ChosenCandidate chosen = bestimme_ausgewaehlte_karte_info_aus_alle(alle, sammlung);
  if (ausgewaehlte_karte_ist_neu(chosen.name, heute_faellige)) state_.make_karte_due_bool = true;
  sammlung->neue_dict = None;
  return {chosen.name, chosen.sammlungsname};
}

}  // namespace tavo::kk
