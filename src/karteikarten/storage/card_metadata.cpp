// The per-day card lists and counters of the current collection, read and
// written through the manager.
//
// The current collection is the registered one named by sammlungsort_name.
// Three keys are settings of the manager rather than collection values;
// they are redirected to its attributes and saved with the settings. Every
// write through set_metadaten is also recorded in the day statistics store,
// dated with the learning day.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "karteikarten/storage/setting_value.hpp"
#include "platform/diagnostics.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/number_arithmetic.hpp"

namespace tavo::kk {
namespace {

// What a read yields for a key when the collection has no value for today
// (or a falsy one), and when reading it fails. A key not listed reads as
// None when there is no value and lets a failure through.
struct MetadataDefault {
  std::string_view key;
  Value without_value;
  Value after_error;
};

const std::vector<MetadataDefault>& metadata_defaults() {
  static const std::vector<MetadataDefault> table{
      {"heute_falsch", List{}, List{}},
      {"wiederholte_karten", List{}, List{}},
      {"heute_schon_angesehen", List{}, List{}},
      {"vorauslernen_modus_gelernt_karte_auf_again", List{}, List{}},
      {"again_in_queue", None, 0},
      {"zeitdauer_heute", List{0, 0, 0, 0}, List{0, 0, 0, 0}},
      {"reps", 0, 0},
      {"reps_kk", 0, 0},
      {"reps_reizung", 0, 0},
  };
  return table;
}

const MetadataDefault* find_default(std::string_view key) {
  for (const MetadataDefault& entry : metadata_defaults()) {
    if (entry.key == key) return &entry;
  }
  return nullptr;
}

bool is_counter(std::string_view key) {
  return key == "reps" || key == "reps_kk" || key == "reps_reizung";
}

// A copy of today's four time slots with the pair (slot, amount) added.
// TypeError when `paar` is not a pair; IndexError for a slot out of range.
Value add_to_slot(const Value& slots, const Value& paar) {
  const bool is_pair = (paar.is_tuple() && paar.as_tuple().size() == 2) ||
                       (paar.is_list() && paar.as_list().size() == 2);
  if (!is_pair) {
    throw TypeError(std::string("'zeitdauer_heute' takes a pair (slot, amount), not ") +
                    type_name(paar));
  }
  const std::vector<Value>& teile =
      paar.is_tuple() ? paar.as_tuple().items() : paar.as_list().items();
  const List result = deep_copy(slots).as_list();
  Value& slot = result.at(teile[0].as_int());
  slot = add_numbers(slot, teile[1]);
  return result;
}

}  // namespace

Value Karteikartenverwaltung::get_metadaten(const std::string& key) const {
  if (key == "neue_karten_pro_tag") return neue_karten_pro_tag;
  if (key == "neue_karten_nur_heute") {
    return neue_karten_nur_heute ? Value(*neue_karten_nur_heute) : Value(None);
  }
  if (key == "wiederholungen_pro_tag") return maximale_wiederholungen_pro_tag;

  // The collection gives None when it holds nothing for today; the defaults
  // after an error apply only when reading the collection fails.
  const MetadataDefault* fallback = find_default(key);
  Value wert;
  try {
    for (const SammlungRef& sammlung : hc.liste_aller_sammlungen) {
      if (sammlung->name == sammlungsort_name) wert = sammlung->get_metadata_heute(key);
    }
  } catch (const std::exception&) {
    if (fallback == nullptr) {
      platform::process_environment().diagnostics.check(false);
      throw;
    }
    return deep_copy(fallback->after_error);
  }
  if (wert.truthy()) return wert;
  return fallback != nullptr ? deep_copy(fallback->without_value) : Value(None);
}

void Karteikartenverwaltung::set_metadaten(const Value& wert, const std::string& key) {
  if (key == "neue_karten_pro_tag" || key == "neue_karten_nur_heute" ||
      key == "wiederholungen_pro_tag") {
    const std::int64_t limit = std::max<std::int64_t>(integer_setting(key, wert), 0);
    if (key == "neue_karten_pro_tag") {
      neue_karten_pro_tag = limit;
    } else if (key == "neue_karten_nur_heute") {
      neue_karten_nur_heute = limit;
    } else {
      maximale_wiederholungen_pro_tag = limit;
    }
    save_default_values();
    return;
  }
  if (!sammlungsort_name) {
    throw KeyError("no current collection to record '" + key + "' for: sammlungsort_name is unset");
  }
  Value heute;
  if (key == "zeitdauer_heute") {
    heute = add_to_slot(get_metadaten(key), wert);
  } else if (is_counter(key)) {
    heute = wert;
  } else {
    heute = List{wert};
  }
  const DateTime now = get_now();
  hc.set_metadaten_richtige_sammlung(*sammlungsort_name, key, heute);
  add_to_shelve(*sammlungsort_name, Tuple{now.year(), now.month(), now.day(), heute}, key);
}

void Karteikartenverwaltung::add_cardid_to_schon_gelernt(const Karteikarte* card,
                                                         const std::string& key,
                                                         const std::optional<std::string>& name) {
  std::optional<std::string> wert = name;
  if (card != nullptr) {
    wert = card->get_name();
    const std::string sammlung = sammlungsort_name.value_or("");
    const std::string_view prefix =
        modus_vergessene_karten ? std::string_view(sammlung).substr(0, sammlung.find("_vergessen"))
                                : std::string_view(sammlung);
    platform::process_environment().diagnostics.check(sammlungsort_name &&
                                                      std::string_view(*wert).starts_with(prefix));
  } else {
    platform::process_environment().diagnostics.check(name && !name->empty());
  }
  if (!wert) throw ValueError("add_cardid_to_schon_gelernt needs a card or a name");
  if (sammlungsort_name) hc.set_metadaten_richtige_sammlung(*sammlungsort_name, key, *wert);
}

void Karteikartenverwaltung::add_bezeichner_to_kkv_info(const std::string& bezeichner,
                                                        const std::string& key,
                                                        const std::string& name) {
  const std::optional<std::string> sammlung = name.empty() ? sammlungsort_name : name;
  if (sammlung) hc.set_metadaten_richtige_sammlung(*sammlung, key, bezeichner);
}

void Karteikartenverwaltung::remove_cardid_from_metadata(const Karteikarte& card,
                                                         const std::string& key) {
  try {
    for (const SammlungRef& sammlung : hc.liste_aller_sammlungen) {
      if (sammlung->name == sammlungsort_name) sammlung->remove_from_metadata(key, card.get_name());
    }
  } catch (const std::exception&) {
    // A card without a name, or a collection that cannot tell its learning
    // day: there is nothing to remove.
  }
  sync_sammlungsort_liste_aller_sammlungen();
}

void Karteikartenverwaltung::remove_from_again_in_queue(const Karteikarte& card) {
  if (sammlungsort_name) {
    hc.remove_from_again_in_queue_metadata_richtige_sammlung(*sammlungsort_name, "again_in_queue",
                                                             card.get_name());
  }
  sync_sammlungsort_liste_aller_sammlungen();
}

void Karteikartenverwaltung::set_reps(bool reizung) {
  for (const std::string key : {"reps", reizung ? "reps_reizung" : "reps_kk"}) {
    set_metadaten(add_numbers(get_metadaten(key), 1), key);
  }
}

void Karteikartenverwaltung::set_karte_heute_schon_gelernt(const Karteikarte& card, bool test,
                                                           const std::string&) {
  if (!test) add_cardid_to_schon_gelernt(&card, "karte_erfolgreich_wiederholt");
}

void Karteikartenverwaltung::faellig_liste_eintragen(const Value& wert, const Value& now) {
  for (const SammlungRef& sammlung : hc.liste_aller_sammlungen) {
    if (sammlung->name == sammlungsort_name)
      sammlung->append_to_metadata("faellig_liste", wert, now);
  }
}

}  // namespace tavo::kk
