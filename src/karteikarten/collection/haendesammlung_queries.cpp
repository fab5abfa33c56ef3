// Haendesammlung: the queries that sort a collection's cards into new, due,
// seen, failed, reviewed and learnt, the candidate queries of the card
// choice, and putting new cards due in bulk. The terms are defined in the
// header.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <unordered_set>
#include <utility>
#include <vector>

#include "karteikarten/cards/card_record.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "platform/common_functions.hpp"

namespace tavo::kk {
namespace {

using kk::CardRecord;
using kk::CardRef;
using NameSet = std::unordered_set<std::string>;

constexpr double seconds_per_day = 86400;
const std::string put_due_key = "neue_karte_heute_faellig_gestellt";
const std::string seen_key = "heute_schon_angesehen";
const std::string new_seen_key = "neue_karten_heute_angesehen";
const std::string reviewed_key = "wiederholte_karten";
// No card passed over: the passing over belongs to a choice.
const NameSet no_cards;

// The present moment and the bounds of the current learning day.
struct Today {
  Today(const platform::Common_functions& clock, int startzeit_tag)
      : now(clock.get_now()),
        day_start(clock.get_startzeit_tag_today(startzeit_tag)),
        next_day_start(clock.next_learning_day_start(startzeit_tag)) {}

  bool still_due(const CardRecord& card) const {
    return card.due.is_moment() && card.due.seconds() < next_day_start;
  }
  bool no_longer_due(const CardRecord& card) const {
    return card.due.is_done() || (card.due.is_moment() && card.due.seconds() >= next_day_start);
  }

  double now;
  double day_start;
  double next_day_start;
};

bool due_by(const CardRecord& card, double end) {
  return card.due.is_moment() && card.due.seconds() <= end;
}

bool failed(const CardRecord& card) { return card.letzte_antwort == "again"; }

std::int64_t count(const NameList& names) { return static_cast<std::int64_t>(names.size()); }

// Today's list under `key` as stored: its texts, in order.
NameList today_list(const Haendesammlung& sammlung, const std::string& key) {
  NameList names;
  const Value today = sammlung.get_metadata_heute(key);
  if (!today.is_list()) return names;
  for (const Value& item : today.as_list().items()) {
    if (item.is_text()) names.push_back(item.as_text());
  }
  return names;
}

NameSet today_set(const Haendesammlung& sammlung, const std::string& key) {
  const NameList names = today_list(sammlung, key);
  return NameSet(names.begin(), names.end());
}

// The cards of today's list `key` that the collection holds and `keep`
// accepts, each once, in the list's order.
template <class Keep>
NameList listed_where(const Haendesammlung& sammlung, const std::string& key, Keep keep) {
  NameList names;
  NameSet taken;
  for (std::string& name : today_list(sammlung, key)) {
    const CardRef card = sammlung.karten.find(name);
    if (card && keep(name, *card) && taken.insert(name).second) names.push_back(std::move(name));
  }
  return names;
}

NameList listed(const Haendesammlung& sammlung, const std::string& key) {
  return listed_where(sammlung, key, [](const std::string&, const CardRecord&) { return true; });
}

template <class Keep>
NameList names_where(const kk::CardMap& karten, Keep keep) {
  NameList names;
  for (const auto& [name, card] : karten) {
    if (keep(name, *card)) names.push_back(name);
  }
  return names;
}

template <class Keep>
std::int64_t count_where(const kk::CardMap& karten, Keep keep) {
  std::int64_t total = 0;
  for (const auto& [name, card] : karten) total += keep(name, *card) ? 1 : 0;
  return total;
}

template <class Keep>
kk::Kartenhalter holder_where(const kk::CardMap& karten, Keep keep) {
  kk::Kartenhalter holder;
  for (const auto& [name, card] : karten) {
    if (keep(name, *card)) holder.add_karte(name, card);
  }
  return holder;
}

// The names of every stored day's list under `key`, counted.
std::int64_t all_days_count(const Dict& metadata, const std::string& key) {
  const Value* days = metadata.find(key);
  if (days == nullptr || !days->is_dict()) return 0;
  std::int64_t total = 0;
  for (const auto& [day, names] : days->as_dict()) {
    if (names.is_list()) total += static_cast<std::int64_t>(names.as_list().size());
  }
  return total;
}

std::int64_t allowance(std::int64_t limit, std::int64_t used) {
  return std::max<std::int64_t>(0, limit - used);
}

// A card of the choice's candidate queries, with the keys it is ordered by;
// `order` is its place in the card map.
struct Candidate {
  double due;
  std::int64_t fudge;
  std::size_t order;

  friend bool operator<(const Candidate& a, const Candidate& b) {
    return std::tie(a.due, a.fudge, a.order) < std::tie(b.due, b.fudge, b.order);
  }
};

// Moves the `anzahl` smallest candidates, ascending, to the front and drops
// the rest.
void keep_smallest(std::vector<Candidate>& candidates, std::int64_t anzahl) {
  const auto kept =
      std::min(candidates.size(), static_cast<std::size_t>(std::max<std::int64_t>(anzahl, 0)));
  std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(kept),
                    candidates.end());
  candidates.resize(kept);
}

}  // namespace

List list_of(const NameList& names) {
  List list;
  for (const std::string& name : names) list.append(name);
  return list;
}

NameList names_of(const Value& liste) {
  NameList names;
  if (liste.is_none()) return names;
  for (const Value& name : liste.as_list().items()) names.push_back(name.as_text());
  return names;
}

// ---- counts ----

std::int64_t Haendesammlung::get_anzahl_karten() const {
  return static_cast<std::int64_t>(karten.size());
}

std::int64_t Haendesammlung::anzahl_due_none() const {
  std::int64_t total = 0;
  visit_new_cards([&total](const ChoiceCard&) { ++total; });
  return total;
}

std::int64_t Haendesammlung::get_anzahl_vormals_neu_heute() const {
  return count(listed(*this, put_due_key));
}

std::int64_t Haendesammlung::get_anzahl_neue_karten_heute_angesehen() const {
  return count(listed(*this, new_seen_key));
}

std::int64_t Haendesammlung::get_anzahl_karten_heute_zum_ersten_mal_angesehen() const {
  return get_anzahl_neue_karten_heute_angesehen();
}

std::int64_t Haendesammlung::anzahl_karte_erfolgreich_gelernt() const {
  const Today today(environment_.cf, startzeit_tag);
  return count(listed_where(*this, seen_key, [&](const std::string&, const CardRecord& card) {
    return today.no_longer_due(card);
  }));
}

std::int64_t Haendesammlung::get_anzahl_karte_alt_erfolgreich_wiederholt_heute() const {
  const Today today(environment_.cf, startzeit_tag);
  return count(listed_where(*this, reviewed_key, [&](const std::string&, const CardRecord& card) {
    return today.no_longer_due(card);
  }));
}

std::int64_t Haendesammlung::anzahl_erfolgreich_wiederholte_karten() const {
  return count(get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig());
}

std::int64_t Haendesammlung::anzahl_wiederholte_karten() const {
  return count(listed(*this, reviewed_key));
}

std::int64_t Haendesammlung::anzahl_heute_planmaessig_wiederholte_karten() const {
  return anzahl_wiederholte_karten();
}

std::int64_t Haendesammlung::anzahl_insgesamt_planmaessig_wiederholte_karten() const {
  return all_days_count(metadata, reviewed_key);
}

std::int64_t Haendesammlung::anzahl_alte_karten_gleich_richtig_heute() const {
  return count(listed(*this, "alte_karten_gleich_richtig"));
}

std::int64_t Haendesammlung::anzahl_alte_karten_gleich_richtig_alle_daten() const {
  return all_days_count(metadata, "alte_karten_gleich_richtig");
}

std::int64_t Haendesammlung::anzahl_heute_falsch() const {
  return count(listed(*this, "heute_falsch"));
}

std::int64_t Haendesammlung::anzahl_karten_heute_falsch_alle_daten() const {
  return all_days_count(metadata, "heute_falsch");
}

std::int64_t Haendesammlung::get_anzahl_neue_karten_gleich_richtig() const {
  const NameSet failed_today = today_set(*this, "heute_falsch");
  return count(listed_where(*this, new_seen_key, [&](const std::string& name, const CardRecord&) {
    return !failed_today.contains(name);
  }));
}

std::int64_t Haendesammlung::anzahl_again_in_queue() const {
  return count(listed(*this, "again_in_queue"));
}

std::int64_t Haendesammlung::get_due_today(double voraus) const {
  const double end = environment_.cf.get_now() + voraus;
  return count_where(karten,
                     [&](const std::string&, const CardRecord& card) { return due_by(card, end); });
}

std::int64_t Haendesammlung::get_anzahl_moegliche_wiederholungen(
    std::int64_t grenzwert_wiederholungen, std::optional<std::int64_t> heute_erfolgreich_wiederholt,
    double voraus) {
  review_limit_ = grenzwert_wiederholungen;
  const auto [continuing, fresh] = reviews_due_by(review_window_end(voraus));
  const std::int64_t reviews_today =
      heute_erfolgreich_wiederholt.value_or(anzahl_wiederholte_karten());
  return continuing + std::min(fresh, allowance(grenzwert_wiederholungen, reviews_today));
}

std::int64_t Haendesammlung::wiederholbare_ueber_grenzwert(
    [[maybe_unused]] std::int64_t grenzwert_neu, std::int64_t grenzwert_wiederholungen,
    double voraus) const {
  const std::int64_t fresh = reviews_due_by(review_window_end(voraus)).second;
  return std::max<std::int64_t>(
      0, fresh - allowance(grenzwert_wiederholungen, anzahl_wiederholte_karten()));
}

std::int64_t Haendesammlung::berechne_anzahl_neue_karten_faellig_stellbar(
    std::int64_t grenzwert_neue_karten, bool modus_vergessene_karten,
    std::int64_t neue_karten_soll) const {
  std::int64_t stellbar = std::min(neue_karten_soll, anzahl_due_none());
  if (!modus_vergessene_karten) {
    stellbar = std::min(stellbar, grenzwert_neue_karten - get_anzahl_vormals_neu_heute());
  }
  return std::max<std::int64_t>(0, stellbar);
}

std::pair<std::int64_t, std::int64_t> Haendesammlung::anzahl_neue_karten_faellig_stellbar(
    std::int64_t grenzwert_neue_karten) const {
  return {
      berechne_anzahl_neue_karten_faellig_stellbar(grenzwert_neue_karten, false, anzahl_due_none()),
      count(get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt())};
}

std::pair<std::int64_t, std::int64_t> Haendesammlung::get_anzahl_karten_reizung_karteikarte()
    const {
  const std::int64_t bidding = count_where(
      karten, [](const std::string&, const CardRecord& card) { return card.nur_reizung == true; });
  return {bidding, get_anzahl_karten() - bidding};
}

bool Haendesammlung::heute_faellig_gestellt_kleiner_grenzwert(std::int64_t grenzwert) const {
  return get_anzahl_vormals_neu_heute() < grenzwert;
}

std::int64_t Haendesammlung::get_anzahl_heute_angesehen_nicht_erfolgreich_wiederholt() const {
  return count(get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt());
}

// ---- card names ----

NameList Haendesammlung::get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, put_due_key, [&](const std::string&, const CardRecord& card) {
    return today.no_longer_due(card);
  });
}

NameList Haendesammlung::get_bezeichner_neu_erfolgreich() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, new_seen_key, [&](const std::string&, const CardRecord& card) {
    return today.no_longer_due(card);
  });
}

NameList Haendesammlung::get_bezeichner_neu_erfolglos() const {
  return listed_where(*this, new_seen_key,
                      [](const std::string&, const CardRecord& card) { return failed(card); });
}

NameList Haendesammlung::get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, put_due_key, [&](const std::string&, const CardRecord& card) {
    return !card.karte_ist_neu && today.still_due(card);
  });
}

NameList Haendesammlung::get_bezeichner_heute_faellig_noch_nie_angesehen() const {
  return names_where(karten, [](const std::string&, const CardRecord& card) {
    return card.karte_ist_neu && !card.due.is_none();
  });
}

NameList Haendesammlung::get_bezeichner_heute_erstes_mal_angesehen() const {
  return listed(*this, new_seen_key);
}

NameList Haendesammlung::get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, put_due_key, [&](const std::string&, const CardRecord& card) {
    return today.still_due(card);
  });
}

NameList Haendesammlung::get_anzahl_heute_faellig_gestellt_noch_nicht_gelernt_due_heute() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, put_due_key, [&](const std::string&, const CardRecord& card) {
    return today.still_due(card) && due_by(card, today.now);
  });
}

NameList Haendesammlung::get_heute_due_nicht_heute_faellig_gestellt(double voraus) const {
  const NameSet put_due = today_set(*this, put_due_key);
  const double end = environment_.cf.get_now() + voraus;
  return names_where(karten, [&](const std::string& name, const CardRecord& card) {
    return due_by(card, end) && !put_due.contains(name);
  });
}

NameList Haendesammlung::get_bezeichner_wiederholte_karten() const {
  return listed(*this, reviewed_key);
}

NameList Haendesammlung::get_bezeichner_wiederholt_erfolgreich(double voraus) const {
  const double end = environment_.cf.get_now() + voraus;
  return listed_where(*this, reviewed_key, [&](const std::string&, const CardRecord& card) {
    return !failed(card) && !due_by(card, end);
  });
}

NameList Haendesammlung::get_bezeichner_wiederholt_erfolgreich_noch_faellig(
    const std::optional<NameList>& faellig) const {
  const Today today(environment_.cf, startzeit_tag);
  const NameSet restriction = faellig ? NameSet(faellig->begin(), faellig->end()) : NameSet();
  return listed_where(*this, reviewed_key, [&](const std::string& name, const CardRecord& card) {
    return !failed(card) && today.still_due(card) && (!faellig || restriction.contains(name));
  });
}

NameList Haendesammlung::get_bezeichner_wiederholt_erfolgreich_nicht_mehr_faellig() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, reviewed_key, [&](const std::string&, const CardRecord& card) {
    return !failed(card) && today.no_longer_due(card);
  });
}

NameList Haendesammlung::get_bezeichner_heute_wiederholt_nicht_erfolgreich(
    const std::optional<NameList>& faellig) const {
  const NameSet restriction = faellig ? NameSet(faellig->begin(), faellig->end()) : NameSet();
  return listed_where(*this, reviewed_key, [&](const std::string& name, const CardRecord& card) {
    return failed(card) && (!faellig || restriction.contains(name));
  });
}

NameList Haendesammlung::get_bezeichner_heute_angesehen_nicht_erfolgreich_wiederholt() const {
  const Today today(environment_.cf, startzeit_tag);
  return listed_where(*this, seen_key, [&](const std::string&, const CardRecord& card) {
    return failed(card) && today.still_due(card);
  });
}

NameList Haendesammlung::get_heute_angesehen() const { return listed(*this, seen_key); }

NameList Haendesammlung::get_bezeichner_heute_nicht_faellig_nicht_heute_angesehen(
    const std::optional<NameList>& faellig_aber_nicht_heute_bezeichner,
    const std::optional<NameList>& heute_angesehen) const {
  return set1_minus_set2(faellig_aber_nicht_heute_bezeichner.value_or(
                             get_due_aber_nicht_heute_faellig(600).get_bezeichner()),
                         heute_angesehen.value_or(get_heute_angesehen()));
}

NameList Haendesammlung::get_bezeichner_heute_nicht_faellig_heute_angesehen(
    const std::optional<NameList>& faellig_aber_nicht_heute_bezeichner,
    const std::optional<NameList>& heute_angesehen) const {
  return set1_intersection_set2(faellig_aber_nicht_heute_bezeichner.value_or(
                                    get_due_aber_nicht_heute_faellig(600).get_bezeichner()),
                                heute_angesehen.value_or(get_heute_angesehen()));
}

NameList Haendesammlung::get_vergessene_karten(double zeitpunkt_vergangenheit) const {
  return names_where(karten, [&](const std::string&, const CardRecord& card) {
    return card.zuletzt_vergessen && *card.zuletzt_vergessen != 0 &&
           *card.zuletzt_vergessen > zeitpunkt_vergangenheit;
  });
}

Dict Haendesammlung::get_neue_karten_im_umlauf() const {
  const NameList neue = get_due_none().get_bezeichner();
  return Dict{
      {"gesamt", list_of(neue)},
      {"gesamt_nicht_angesehen", list_of(set1_minus_set2(neue, get_heute_angesehen()))},
      {"heute_erstmalig_faellig_gestellt_noch_faellig",
       list_of(get_bezeichner_heute_erstmalig_faellig_gestellt_noch_faellig())},
      {"heute_erstmalig_faellig_gestellt_nicht_mehr_faellig",
       list_of(get_heute_faellig_gestellt_nicht_mehr_faellig_bezeichner())},
      {"faellig_gestellt_noch_nie_angesehen",
       list_of(get_bezeichner_heute_faellig_noch_nie_angesehen())},
  };
}

NameList Haendesammlung::set1_minus_set2(const NameList& a, const NameList& b) {
  const NameSet excluded(b.begin(), b.end());
  NameSet taken;
  NameList result;
  for (const std::string& name : a) {
    if (!excluded.contains(name) && taken.insert(name).second) result.push_back(name);
  }
  return result;
}

NameList Haendesammlung::set1_intersection_set2(const NameList& a, const NameList& b) {
  const NameSet included(b.begin(), b.end());
  NameSet taken;
  NameList result;
  for (const std::string& name : a) {
    if (included.contains(name) && taken.insert(name).second) result.push_back(name);
  }
  return result;
}

// ---- holders and candidates ----

kk::Kartenhalter Haendesammlung::get_due_none() const {
  return holder_where(
      karten, [](const std::string&, const CardRecord& card) { return card.due.is_none(); });
}

kk::Kartenhalter Haendesammlung::get_faellige_cards(double voraus, bool vorauslernen) const {
  const double end = vorauslernen ? review_window_end(voraus) : environment_.cf.get_now() + voraus;
  return holder_where(
      karten, [&](const std::string&, const CardRecord& card) { return due_by(card, end); });
}

kk::Kartenhalter Haendesammlung::get_due_aber_nicht_heute_faellig(double voraus) const {
  const double end = review_window_end(voraus);
  return holder_where(karten, [&](const std::string&, const CardRecord& card) {
    return !card.due.is_none() && !due_by(card, end);
  });
}

kk::Kartenhalter Haendesammlung::get_due_vor_heute() const {
  const double day_start = environment_.cf.get_startzeit_tag_today(startzeit_tag);
  return holder_where(karten, [&](const std::string&, const CardRecord& card) {
    return card.due.is_moment() && card.due.seconds() < day_start;
  });
}

std::vector<kk::Entry> Haendesammlung::finde_beste_neue_karte(
    std::int64_t anzahl, std::optional<std::int64_t> neue_im_umlauf) const {
  std::vector<Candidate> neue;
  visit_new_cards([&neue](const ChoiceCard& neu) { neue.push_back({0, neu.fudge, neu.order}); });
  keep_smallest(neue, std::min(anzahl, neue_im_umlauf.value_or(anzahl)));
  std::vector<kk::Entry> pairs;
  for (const Candidate& neu : neue) {
    const auto& [name, card] = *karten.entry_at(neu.order);
    pairs.push_back(kk::Entry{std::nullopt, card, name});
  }
  return pairs;
}

kk::Kartenhalter Haendesammlung::finde_beste_neue(std::int64_t anzahl,
                                                  [[maybe_unused]] double voraus) const {
  kk::Kartenhalter holder;
  for (const kk::Entry& neu : finde_beste_neue_karte(anzahl)) holder.add_karte(neu.name, neu.data);
  return holder;
}

std::vector<kk::Entry> Haendesammlung::finde_beste_wiederholbare_karte(
    std::int64_t anzahl, double voraus,
    std::optional<std::int64_t> wiederholbare_im_umlauf_anzahl) {
  if (!fresh_allowance_) set_states_wiederholbare_in_x();
  std::vector<Candidate> continuing;
  std::vector<Candidate> fresh;
  visit_due_by(review_window_end(voraus), [&](const ChoiceCard& due) {
    if (is_handed_out(due)) return;
    (due.continuing ? continuing : fresh).push_back({due.due, due.fudge, due.order});
  });
  const std::int64_t places = std::min(anzahl, wiederholbare_im_umlauf_anzahl.value_or(anzahl));
  keep_smallest(continuing, places);
  keep_smallest(fresh,
                std::min(places - static_cast<std::int64_t>(continuing.size()), *fresh_allowance_));
  std::vector<kk::Entry> triples;
  for (const std::vector<Candidate>* group : {&continuing, &fresh}) {
    for (const Candidate& candidate : *group) {
      const auto& [name, card] = *karten.entry_at(candidate.order);
      triples.push_back(kk::Entry{kk::stored_fudge(card), card, name});
    }
  }
  for (const kk::Entry& triple : triples) hand_out(triple);
  const auto fresh_taken = static_cast<std::int64_t>(fresh.size());
  fresh_handed_out_ += fresh_taken;
  *fresh_allowance_ -= fresh_taken;
  return triples;
}

std::vector<kk::Entry> Haendesammlung::bezeichner_liste_to_identifier_liste(
    const NameList& liste) const {
  std::vector<kk::Entry> triples;
  for (const std::string& name : liste) {
    const CardRef& card = karten.at(name);
    triples.push_back(kk::Entry{kk::stored_fudge(card), card, name});
  }
  return triples;
}

std::vector<kk::Entry> Haendesammlung::wandle_bezeichner_liste_in_karten_liste_um(
    const NameList& liste) {
  std::vector<kk::Entry> triples = bezeichner_liste_to_identifier_liste(liste);
  for (const kk::Entry& triple : triples) hand_out(triple);
  return triples;
}

// ---- choice state ----

void Haendesammlung::begin_choice(double voraus) {
  forget_handed_out();
  choice_cards_.emplace(karten, review_window_end(voraus), passed_over_,
                        today_set(*this, seen_key));
}

void Haendesammlung::end_choice() { choice_cards_.reset(); }

void Haendesammlung::pass_over_in_choices(const std::string& name) { passed_over_.insert(name); }

void Haendesammlung::forget_handed_out() {
  handed_out_.clear();
  handed_out_records_.clear();
  fresh_handed_out_ = 0;
  fresh_allowance_.reset();
}

void Haendesammlung::hand_out(const kk::Entry& card) {
  handed_out_.insert(card.name);
  handed_out_records_.push_back(card.data.get());
}

bool Haendesammlung::is_handed_out(const ChoiceCard& card) const {
  const bool record_handed_out = std::find(handed_out_records_.begin(), handed_out_records_.end(),
                                           card.record) != handed_out_records_.end();
  return record_handed_out && handed_out_.contains(karten.entry_at(card.order)->first);
}

Dict Haendesammlung::set_state_neue_dict() {
  forget_handed_out();
  const Dict neue = get_neue_karten_im_umlauf();
  neue_dict = neue;
  return neue;
}

void Haendesammlung::set_states_wiederholbare_in_x() {
  fresh_allowance_ =
      review_limit_ ? allowance(*review_limit_, anzahl_wiederholte_karten() + fresh_handed_out_)
                    : 0;
}

void Haendesammlung::set_handinfo_nur_reizung(const std::string& cardpointer,
                                              const Value& handinfo) {
  karten.at(cardpointer).edit().extra.set("handinfo", handinfo);
}

// ---- putting new cards due in bulk ----

void Haendesammlung::reset_due_to_none_if_not_faellig() {
  const NameSet put_due = today_set(*this, put_due_key);
  for (const auto& [name, card] : karten) {
    if (card->karte_ist_neu && !card->due.is_none() && !put_due.contains(name))
      card.edit().due = kk::Due();
  }
}

std::vector<std::int64_t> Haendesammlung::fudge_liste_erstellen() const {
  std::vector<std::int64_t> fudges;
  for (const auto& [name, card] : karten) {
    const std::optional<std::int64_t> fudge = card->fudge();
    if (card->due.is_none() && fudge) fudges.push_back(*fudge);
  }
  std::sort(fudges.begin(), fudges.end());
  return fudges;
}

void Haendesammlung::set_due_to_now(std::int64_t limit, std::int64_t minimum, std::int64_t diff) {
  std::vector<Candidate> neue;
  const std::vector<kk::CardMap::ChoiceKey>& keys = karten.choice_keys();
  for (std::size_t place = 0; place < keys.size(); ++place) {
    if (!keys[place].due.is_none()) continue;
    const std::optional<std::int64_t> fudge = karten.choice_fudge(place);
    if (fudge && *fudge <= minimum) neue.push_back({0, *fudge, place});
  }
  keep_smallest(neue, std::min(diff, limit - get_anzahl_vormals_neu_heute()));
  const double start = environment_.cf.get_startzeit_tag_today(startzeit_tag);
  for (const Candidate& neu : neue) {
    const auto& [name, card] = *karten.entry_at(neu.order);
    card.edit().due = kk::Due::at(start);
    set_metadata(put_due_key, name);
  }
}

// ---- review windows ----

double Haendesammlung::review_window_end(double voraus) const {
  return environment_.cf.get_now() + voraus + static_cast<double>(vorauslernen) * seconds_per_day;
}

std::pair<std::int64_t, std::int64_t> Haendesammlung::reviews_due_by(double end) const {
  std::pair<std::int64_t, std::int64_t> counts{0, 0};
  visit_due_by(end,
               [&](const ChoiceCard& due) { ++(due.continuing ? counts.first : counts.second); });
  return counts;
}

template <class Visit>
void Haendesammlung::visit_due_by(double end, Visit visit) const {
  const auto visit_gathered = [&](ChoiceCards& cards) {
    for (const ChoiceCard& due : cards.due_by(karten, end)) {
      if (due.due <= end) visit(due);
    }
  };
  if (choice_cards_) {
    visit_gathered(*choice_cards_);
    return;
  }
  ChoiceCards gathered(karten, end, no_cards, today_set(*this, seen_key));
  visit_gathered(gathered);
}

template <class Visit>
void Haendesammlung::visit_new_cards(Visit visit) const {
  const auto visit_gathered = [&](const ChoiceCards& cards) {
    for (const ChoiceCard& neu : cards.new_cards()) visit(neu);
  };
  if (choice_cards_) {
    visit_gathered(*choice_cards_);
    return;
  }
  visit_gathered(ChoiceCards(karten, -std::numeric_limits<double>::infinity(), no_cards, {}));
}

}  // namespace tavo::kk
