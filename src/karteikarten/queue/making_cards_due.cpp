// Making new cards due: giving a card that was never shown its first due
// moment, the start of the learning day, and recording it in today's
// "neue_karte_heute_faellig_gestellt" of its own collection, the list the
// daily new-card limit counts.
//
// The recording writes through the current collection (sammlungsort_name),
// so it switches to the card's collection for the write and always switches
// back: the current collection never changes as a side effect.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/cards/entry.hpp"
#include "karteikarten/queue/card_chooser.hpp"
#include "platform/common_functions.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

constexpr const char* put_due_today_key = "neue_karte_heute_faellig_gestellt";

// Puts the current collection name back when the scope ends, also when an
// exception ends it.
class SammlungsortRestorer {
 public:
  explicit SammlungsortRestorer(SessionState& state)
      : state_(state), kept_(state.sammlungsort_name) {}
  ~SammlungsortRestorer() { state_.sammlungsort_name = kept_; }
  SammlungsortRestorer(const SammlungsortRestorer&) = delete;
  SammlungsortRestorer& operator=(const SammlungsortRestorer&) = delete;

 private:
  SessionState& state_;
  const std::optional<std::string> kept_;
};

const kk::Haendesammlung& existing(const SammlungRef& sammlung) {
  if (!sammlung) throw TypeError("'NoneType' object has no attribute 'karten'");
  return *sammlung;
}

struct NewCard {
  std::string name;
  std::int64_t fudge;
};

// The new card of `sammlung` with the lowest fudge, the first one met on a
// tie; nothing when it has no new card. KeyError "'fudge'" for a new card
// without a fudge.
std::optional<NewCard> lowest_fudge_new_card(const kk::Haendesammlung& sammlung) {
  std::optional<NewCard> best;
  for (const auto& [name, record] : sammlung.karten) {
    if (!record->due.is_none()) continue;
    const std::int64_t fudge = stored_fudge(record);
    if (!best || fudge < best->fudge) best = NewCard{name, fudge};
  }
  return best;
}

}  // namespace

void CardChooser::put_due(const kk::Haendesammlung& sammlung, const std::string& kartenname) {
  const CardRef& record = sammlung.karten.at(kartenname);
  record.edit().due = Due::at(env_.cf.get_startzeit_tag_today(state_.startzeit_tag));
  const SammlungsortRestorer restorer(state_);
  state_.sammlungsort_name = sammlung.name;
  recorder_.add_cardid_to_schon_gelernt(nullptr, put_due_today_key, kartenname);
}

void CardChooser::make_karte_due(const std::string& kartenname,
                                            const SammlungRef& sammlung) {
  put_due(existing(sammlung), kartenname);
}

std::optional<std::string> CardChooser::make_one_due(std::int64_t grenzwert) {
  std::optional<NewCard> best;
  SammlungRef best_sammlung;
  for (const SammlungRef& sammlung : hc_.liste_aller_sammlungen) {
    if (!sammlung->heute_faellig_gestellt_kleiner_grenzwert(grenzwert)) continue;
    const std::optional<NewCard> candidate = lowest_fudge_new_card(*sammlung);
    if (candidate && (!best || candidate->fudge < best->fudge)) {
      best = candidate;
      best_sammlung = sammlung;
    }
  }
  if (!best) return std::nullopt;
  put_due(*best_sammlung, best->name);
  return best->name;
}

std::optional<std::string> CardChooser::make_one_due_eine_sammlung(
    std::int64_t grenzwert, const std::string& sammlungsname) {
  const SammlungRef sammlung = hc_.sammlung_named(sammlungsname);
  if (!sammlung->heute_faellig_gestellt_kleiner_grenzwert(grenzwert)) return std::nullopt;
  const std::optional<NewCard> best = lowest_fudge_new_card(*sammlung);
  if (!best) return std::nullopt;
  put_due(*sammlung, best->name);
  return best->name;
}

// The number to put due, diff, is what today's limit leaves after the cards
// already put due today, at most the new cards there are. Cards put due on
// an earlier day and never answered are made new again first, so they count
// as new. The threshold `minimum` is the fudge of the diff-th new card in
// fudge order, so exactly the diff new cards with the lowest fudge qualify.
void CardChooser::make_all_cards_for_today() {
  const SammlungRef& sammlung = hc_.aktuelle_haendesammlung;
  const std::optional<std::int64_t> limit_heute = limits_.get_grenzwert_neue_karten_heute();
  if (!sammlung || !limit_heute) return;
  sammlung->reset_due_to_none_if_not_faellig();
  const std::int64_t diff =
      std::max<std::int64_t>(0, std::min(*limit_heute - sammlung->get_anzahl_vormals_neu_heute(),
                                         sammlung->anzahl_due_none()));
  if (diff == 0) return;
  const std::vector<std::int64_t> fudge_liste = sammlung->fudge_liste_erstellen();
  if (fudge_liste.empty()) return;
  const std::size_t last = std::min<std::size_t>(diff, fudge_liste.size()) - 1;
  sammlung->set_due_to_now(*limit_heute, fudge_liste[last], diff);
}

double CardChooser::sortiere_neue_karten_heute_nach_faellig_gestellt(
    const std::pair<std::string, std::optional<DateTime>>& element) const {
  if (!element.second) return env_.cf.get_now() + 1000;
  return element.second->to_epoch_seconds();
}

void CardChooser::korrigiere_ueberschuss(const SammlungRef& sammlung,
                                                    std::int64_t ueberschuss) {
  const Value heute = existing(sammlung).get_metadata_heute(put_due_today_key);
  // Each key is taken once, so that cards without a moment keep one order
  // while the clock runs.
  std::vector<std::pair<double, std::string>> noted;
  for (const auto& [name, record] : sammlung->karten) {
    if (heute.is_list() && heute.as_list().contains(name)) {
      noted.emplace_back(
          sortiere_neue_karten_heute_nach_faellig_gestellt({name, record->faellig_erstes_mal}),
          name);
    }
  }
  std::ranges::stable_sort(noted, {}, &std::pair<double, std::string>::first);
  const std::size_t anzahl =
      std::min<std::size_t>(std::max<std::int64_t>(ueberschuss, 0), noted.size());
  for (std::size_t i = 0; i < anzahl; ++i) {
    try {
      sammlung->remove_card(noted[i].second);
    } catch (const KeyError&) {
      // A card that cannot be removed stays; the next one is tried.
    }
  }
}

}  // namespace tavo::kk
