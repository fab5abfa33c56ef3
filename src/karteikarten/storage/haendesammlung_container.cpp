// The container of registered collections: registration from the store,
// jitter renumbering and the by-name operations.
#include "karteikarten/storage/haendesammlung_container.hpp"

#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "db/error.hpp"
#include "karteikarten/cards/card_record.hpp"
#include "karteikarten/cards/fudge_permutation.hpp"
#include "karteikarten/cards/hand_module.hpp"
#include "karteikarten/storage/answer_log_applier.hpp"
#include "karteikarten/storage/recursive_update.hpp"
#include "karteikarten/storage/shelve_opening.hpp"
#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/random_source.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

const std::string rule_line(50, '*');

// The learning fields every card starts with.
const Dict& initial_learning_state() {
  static const Dict state = card_record_to_value(CardRecord{});
  return state;
}

// Turns every key of `modul` that is not yet a card name into one; renamed
// entries move behind the others, as a delete and insert does. The mapping
// is rebuilt once rather than edited entry by entry, which would cost a
// pass over the whole mapping for every renamed card.
void normalise_card_names(Dict& modul, const std::string& name) {
  std::vector<Dict::Entry> kept;
  std::vector<Dict::Entry> renamed;
  for (const auto& [key, hand] : modul) {
    std::string card_name = card_name_of(key, name);
    if (key == Value(card_name)) {
      kept.emplace_back(key, hand);
    } else {
      renamed.emplace_back(std::move(card_name), hand);
    }
  }
  if (renamed.empty()) return;
  modul.clear();
  for (auto& [key, hand] : kept) modul.set(std::move(key), std::move(hand));
  for (auto& [key, hand] : renamed) modul.set(std::move(key), std::move(hand));
}

// The record of one card of the module: its hand data over the initial
// learning state, and what the store holds (`known`, may be empty) laid
// over that. Without hand data that is the stored record itself (or the
// initial state), which is taken as it is.
CardRef merged_record(const Value& hand, const std::string& card_name, const CardRef& known) {
  Dict data = hand_data_of(hand, card_name);
  if (data.empty()) return known ? known : std::make_shared<CardRecord>();
  update(data, initial_learning_state());
  if (known) update(data, card_record_to_value(*known));
  return std::make_shared<CardRecord>(card_record_from_value(data));
}

// The cards of the new collection: each card of the module, merged with
// its stored record, then the cards only the store knows with their stored
// state. `stored` is the store's own fresh copy, which registration drops
// afterwards, so its records are taken over rather than copied; without a
// module that is the whole map, which keeps the period of changes that its
// snapshot began.
CardMap merge_cards(const Dict& modul, CardMap&& stored) {
  if (modul.empty()) return std::move(stored);
  CardMap cards;
  for (const auto& [key, hand] : modul) {
    const std::string& card_name = key.as_text();
    cards.set(card_name, merged_record(hand, card_name, stored.find(card_name)));
  }
  for (const auto& [card_name, record] : stored) {
    if (!cards.contains(card_name)) cards.set(card_name, record);
  }
  return cards;
}

// The metadata entry under `name` of the legacy per-collection shelf, if
// it has one; a missing or unreadable entry counts as none.
std::optional<Dict> legacy_metadata(const platform::Shelf& legacy, const std::string& name) {
  try {
    const Value entry = legacy.get(name, None);
    if (entry.is_dict()) return entry.as_dict();
  } catch (const db::Error&) {
  } catch (const ValueError&) {
  }
  return std::nullopt;
}

void show_cards(const platform::Diagnostics& diagnostics, const std::vector<SammlungRef>& sammlungen,
                Value (*field)(const CardRecord&)) {
  diagnostics.print_line(rule_line);
  for (const SammlungRef& sammlung : sammlungen) {
    for (const auto& [card_name, record] : sammlung->karten) {
      diagnostics.print_line(card_name + "\t" + str(field(*record)));
    }
  }
  diagnostics.print_line(rule_line);
}

}  // namespace

HaendesammlungContainer::HaendesammlungContainer(
    platform::Environment& env, std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
    std::int64_t vorauslernen, int startzeit_tag)
    : zeitberechnung(std::move(zeitberechnung)),
      vorauslernen(vorauslernen),
      startzeit_tag(startzeit_tag),
      env_(env) {}

std::string HaendesammlungContainer::resolved_name(const std::string& name) const {
  const auto named = [this](const std::string& wanted) {
    return std::any_of(liste_aller_sammlungen.begin(), liste_aller_sammlungen.end(),
                       [&](const SammlungRef& sammlung) { return sammlung->name == wanted; });
  };
  if (named(name)) return name;
  const std::string forgotten = kk::forgotten_collection_name(name);
  return named(forgotten) ? forgotten : name;
}

template <class Action>
void HaendesammlungContainer::for_each_named(const std::string& name, Action action) const {
  const std::string wanted = resolved_name(name);
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    if (sammlung->name == wanted) action(*sammlung);
  }
}

void HaendesammlungContainer::add(SammlungRef sammlung) {
  liste_aller_sammlungen.push_back(std::move(sammlung));
}

void HaendesammlungContainer::remove(const SammlungRef& sammlung) {
  const auto found =
      std::find(liste_aller_sammlungen.begin(), liste_aller_sammlungen.end(), sammlung);
  if (found == liste_aller_sammlungen.end()) throw ValueError("list.remove(x): x not in list");
  liste_aller_sammlungen.erase(found);
}

void HaendesammlungContainer::remove_alle_haendesammlungen() { liste_aller_sammlungen.clear(); }

SammlungRef HaendesammlungContainer::get_richtige_sammlung(const std::string& name) const {
  const std::int64_t index = get_index_from_name(name);
  return index < 0 ? nullptr : liste_aller_sammlungen[static_cast<std::size_t>(index)];
}

SammlungRef HaendesammlungContainer::sammlung_named(const std::string& name) const {
  SammlungRef sammlung = get_richtige_sammlung(name);
  if (!sammlung) throw KeyError("no registered collection " + repr(Value(name)), Value(name));
  return sammlung;
}

std::int64_t HaendesammlungContainer::get_index_from_name(const std::string& name) const {
  const std::string wanted = resolved_name(name);
  for (std::size_t i = 0; i < liste_aller_sammlungen.size(); ++i) {
    if (liste_aller_sammlungen[i]->name == wanted) return static_cast<std::int64_t>(i);
  }
  return -1;
}

bool HaendesammlungContainer::check_vergessen() const {
  return std::any_of(liste_aller_sammlungen.begin(), liste_aller_sammlungen.end(),
                     [](const SammlungRef& sammlung) {
                       return std::string_view(sammlung->name).ends_with("vergessen");
                     });
}

SammlungRef HaendesammlungContainer::make_new() const {
  return std::make_shared<kk::Haendesammlung>(env_, zeitberechnung, vorauslernen, "",
                                                    startzeit_tag);
}

void HaendesammlungContainer::make_aktuelle_sammlung() {
  aktuelle_haendesammlung = make_new();
  add(aktuelle_haendesammlung);
}

void HaendesammlungContainer::set_vorauslernen_tage(std::int64_t zahl) {
  for (const SammlungRef& sammlung : liste_aller_sammlungen) sammlung->set_vorauslernen_tage(zahl);
}

platform::Shelf HaendesammlungContainer::add_shelve_file(const std::string& filename,
                                                         bool writeback, const Value& copy) const {
  return kk::add_shelve_file(env_, filename, writeback, copy);
}

std::string HaendesammlungContainer::get_shelve_main_directory(const std::string& zusatz) const {
  return kk::get_shelve_main_directory(env_, zusatz);
}

void HaendesammlungContainer::add_haendesammlung(Dict modul, const std::string& name) {
  auto [stored, success] = PickleDump(env_).get_haendesammlung(name);
  apply_answer_log(env_);
  const std::string legacy_file = env_.legacy_collection_file(name);
  kk::StoredSnapshot snapshot;
  if (stored == nullptr) {
    stored = std::make_shared<kk::Haendesammlung>(env_, zeitberechnung, vorauslernen, name,
                                                        startzeit_tag);
    stored->karten = stored->haendesammlung_karteikarten_info_neu_erstellen(modul, name);
    success = true;
  } else {
    snapshot = std::move(stored->stored);
  }
  const Dict stored_metadata = deep_copy(stored->metadata).as_dict();
  std::optional<platform::Shelf> legacy;
  if (!success) legacy = add_shelve_file(legacy_file, false, true);

  auto sammlung = std::make_shared<kk::Haendesammlung>(env_, zeitberechnung, vorauslernen, name,
                                                             startzeit_tag, stored_metadata);
  normalise_card_names(modul, name);
  sammlung->karten = merge_cards(modul, std::move(stored->karten));
  if (sammlung->test_karten_enthaelt_falsche_bezeichner()) env_.diagnostics.stop("");

  if (legacy) {
    if (const std::optional<Dict> entry = legacy_metadata(*legacy, name)) {
      update(sammlung->metadata, *entry);
    }
  }
  sammlung->metadata = deep_copy(sammlung->metadata).as_dict();
  sammlung->set_permanent_fudge("permanent_fudge_neu");
  sammlung->set_permanent_fudge("permanent_fudge_wdh");
  sammlung->stored = std::move(snapshot);
  add(std::move(sammlung));
}

void HaendesammlungContainer::fudge_erneuern() {
  std::size_t total = 0;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    const std::size_t count = sammlung->karten.size();
    total += count;
    sammlung->metadata.set("anzahl_neue_karten_in_sammlung_vorhanden", count);
  }
  const kk::FudgePermutation rs(env_.random.engine()(), total);
  std::size_t position = 0;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    sammlung->fudge_erneuern(position, rs);
    position += sammlung->karten.size();
  }
}

void HaendesammlungContainer::set_metadaten_richtige_sammlung(const std::string& name,
                                                              const std::string& key,
                                                              const Value& wert) {
  for_each_named(name, [&](kk::Haendesammlung& s) { s.set_metadata(key, wert); });
}

void HaendesammlungContainer::remove_from_again_in_queue_metadata_richtige_sammlung(
    const std::string& name, const std::string& key, const std::string& wert) {
  for_each_named(name, [&](kk::Haendesammlung& s) { s.remove_from_metadata(key, wert); });
}

void HaendesammlungContainer::append_now_to_richtige_sammlung(const std::string& key,
                                                              const Value& wert,
                                                              const std::string& name) {
  const std::optional<std::string> target = name.empty() ? sammlungsort_name : name;
  const Value now = env_.cf.get_now_startzeit(startzeit_tag);
  if (!target) return;
  for_each_named(*target,
                 [&](kk::Haendesammlung& s) { s.append_to_metadata(key, wert, now); });
}

void HaendesammlungContainer::aendere_karteikarte_in_dictionary_richtige_sammlung(
    const std::string& name, const Karteikarte& karteikarte) {
  for_each_named(
      name, [&](kk::Haendesammlung& s) { s.aendere_karteikarte_in_dictionary(karteikarte); });
}

void HaendesammlungContainer::dictionary_speichern_richtige_sammlung(const std::string& name,
                                                                     const Value& modus) {
  for_each_named(name,
                 [&](kk::Haendesammlung& s) { s.dictionary_speichern(s.name, s, modus); });
  apply_saved_answers();
}

void HaendesammlungContainer::dictionary_speichern_alle_sammlungen() {
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    sammlung->dictionary_speichern(sammlung->name, *sammlung, false);
  }
  apply_saved_answers();
}

void HaendesammlungContainer::apply_saved_answers() const {
  try {
    apply_answer_log(env_);
  } catch (const db::Error& error) {
    env_.diagnostics.warn(std::string("the day statistics are applied from the answer log when "
                                      "a store is next opened: ") +
                          error.what());
  }
}

void HaendesammlungContainer::set_metadaten_alle_sammlungen(const std::string& key,
                                                            const Value& wert) {
  for (const SammlungRef& sammlung : liste_aller_sammlungen) sammlung->set_metadata(key, wert);
}

void HaendesammlungContainer::iterate_change_name() {
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    sammlung->name = kk::forgotten_collection_name(sammlung->name);
  }
}

void HaendesammlungContainer::iterate_get_vergessene_karten(double zeitpunkt_vergangenheit) const {
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    sammlung->get_vergessene_karten(zeitpunkt_vergangenheit);
  }
}

std::vector<SammlungRef> HaendesammlungContainer::iterate_get_cardpointer_vergessene_karten(
    double zeitpunkt_vergangenheit) const {
  std::vector<SammlungRef> kopien;
  for (const SammlungRef& sammlung : liste_aller_sammlungen) {
    SammlungRef kopie = sammlung->clone();
    const kk::NameList vergessen = sammlung->get_vergessene_karten(zeitpunkt_vergangenheit);
    const std::unordered_set<std::string> behalten(vergessen.begin(), vergessen.end());
    for (const auto& [name, record] : sammlung->karten) {
      if (!behalten.contains(name)) kopie->remove_card(name);
    }
    kopien.push_back(std::move(kopie));
  }
  return kopien;
}

void HaendesammlungContainer::iterate_show_due() const {
  show_cards(env_.diagnostics, liste_aller_sammlungen,
             [](const CardRecord& record) { return record.due.to_value(); });
}

void HaendesammlungContainer::iterate_show_fudge() const {
  show_cards(env_.diagnostics, liste_aller_sammlungen, [](const CardRecord& record) {
    const std::optional<std::int64_t> fudge = record.fudge();
    return fudge ? Value(*fudge) : Value(None);
  });
}

}  // namespace tavo::kk
