// Haendesammlung: building, copying and updating a collection's cards, and
// recording its per-day metadata.
#include "karteikarten/collection/haendesammlung.hpp"

#include <algorithm>
#include <numeric>
#include <utility>

#include "karteikarten/cards/card_record.hpp"
#include "karteikarten/cards/hand_module.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using FudgeField = std::optional<std::int64_t> kk::CardRecord::*;

// The permanent fudge field `key` names; ValueError for any other key.
FudgeField permanent_fudge_field(const std::string& key) {
  if (key == "permanent_fudge_neu") return &kk::CardRecord::permanent_fudge_neu;
  if (key == "permanent_fudge_wdh") return &kk::CardRecord::permanent_fudge_wdh;
  throw ValueError("unknown permanent fudge key " + repr(key));
}

bool is_list_of_names(const Value& wert) {
  if (!wert.is_list()) return false;
  const List items = wert.as_list();
  return std::all_of(items.begin(), items.end(), [](const Value& item) { return item.is_text(); });
}

// The per-day values under `key`, made a mapping first when they are not.
Dict days_of(const Dict& metadata, const std::string& key) {
  Value& days = metadata.setdefault(key, Dict());
  if (!days.is_dict()) days = Dict();
  return days.as_dict();
}

// The list of the day `day` under `key`, made a list first when it is not.
List list_of_day(const Dict& metadata, const std::string& key, const std::string& day) {
  Value& value = days_of(metadata, key).setdefault(day, List());
  if (!value.is_list()) value = List();
  return value.as_list();
}

}  // namespace

Haendesammlung::Haendesammlung(platform::Environment& environment,
                               std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
                               std::int64_t vorauslernen, std::string name, int startzeit_tag,
                               Dict metadata, kk::CardMap karten)
    : name(std::move(name)),
      karten(std::move(karten)),
      metadata(std::move(metadata)),
      zeitberechnung(std::move(zeitberechnung)),
      vorauslernen(vorauslernen),
      startzeit_tag(startzeit_tag),
      environment_(environment) {}

kk::CardMap Haendesammlung::haendesammlung_karteikarten_info_neu_erstellen(
    const Dict& modul, const std::string& name) const {
  kk::CardMap cards;
  for (const auto& [key, hand] : modul) {
    std::string card_name = kk::card_name_of(key, name);
    const Dict data = kk::hand_data_of(hand, card_name);
    cards.set(std::move(card_name),
              std::make_shared<kk::CardRecord>(kk::card_record_from_value(data)));
  }
  return cards;
}

void Haendesammlung::dictionary_speichern(const std::string& name, Haendesammlung& dictionary,
                                          [[maybe_unused]] const Value& modus) {
  PickleDump(environment_).save_haendesammlung(name, dictionary);
}

void Haendesammlung::set_permanent_fudge(const std::string& key) {
  const FudgeField field = permanent_fudge_field(key);
  std::int64_t highest = 0;
  std::size_t missing = 0;
  for (const auto& [card_name, record] : karten) {
    const std::optional<std::int64_t>& value = (*record).*field;
    if (value) {
      highest = std::max(highest, *value);
    } else {
      ++missing;
    }
  }
  std::vector<std::int64_t> numbers(missing);
  std::iota(numbers.begin(), numbers.end(), highest + 1);
  if (field == &kk::CardRecord::permanent_fudge_wdh) {
    std::shuffle(numbers.begin(), numbers.end(), environment_.random.engine());
  }
  auto next = numbers.begin();
  for (const auto& [card_name, record] : karten) {
    if (!((*record).*field)) record.edit().*field = *next++;
  }
}

void Haendesammlung::fudge_erneuern(std::size_t position, const std::vector<std::int64_t>& rs) {
  require_fudges_for_every_card(position, rs.size());
  auto value = rs.begin() + static_cast<std::ptrdiff_t>(position);
  for (const auto& [card_name, record] : karten) record.set_fudge(*value++);
}

void Haendesammlung::fudge_erneuern(std::size_t position, const kk::FudgePermutation& rs) {
  require_fudges_for_every_card(position, rs.size());
  karten.renew_fudges(rs, position);
}

void Haendesammlung::require_fudges_for_every_card(std::size_t position, std::size_t size) const {
  if (position > size || size - position < karten.size()) {
    throw IndexError("list index out of range");
  }
}

bool Haendesammlung::test_karten_enthaelt_falsche_bezeichner() const {
  const std::string prefix = name + "-";
  return std::any_of(karten.begin(), karten.end(), [&](const kk::CardMap::Entry& card) {
    return !card.first.starts_with(prefix);
  });
}

std::shared_ptr<Haendesammlung> Haendesammlung::clone() const {
  auto copy = std::make_shared<Haendesammlung>(environment_, zeitberechnung, vorauslernen, name,
                                               startzeit_tag, deep_copy(metadata).as_dict(),
                                               kk::deep_copy(karten));
  copy->neue_dict = deep_copy(neue_dict);
  copy->stored = stored;
  return copy;
}

void Haendesammlung::remove_card(const std::string& name) { karten.erase(name); }

void Haendesammlung::aendere_karteikarte_in_dictionary(const kk::Karteikarte& karteikarte) {
  kk::write_back_learning_state(karteikarte, karten.at(karteikarte.get_name()).edit());
}

void Haendesammlung::set_vorauslernen_tage(std::int64_t zahl) { vorauslernen = zahl; }

std::string Haendesammlung::datum_heute() const {
  return environment_.cf.get_datum_string_startzeit(startzeit_tag);
}

Value Haendesammlung::get_metadata_heute(const std::string& key) const {
  const Value* days = metadata.find(key);
  if (days == nullptr || !days->is_dict()) return None;
  const Value* today = days->as_dict().find(datum_heute());
  return today == nullptr ? Value(None) : *today;
}

void Haendesammlung::set_metadata(const std::string& key, const Value& wert) {
  if (!wert.is_text() && !is_list_of_names(wert)) {
    days_of(metadata, key).set(datum_heute(), wert);
    return;
  }
  const List names = list_of_day(metadata, key, datum_heute());
  const List added = wert.is_text() ? List{wert} : wert.as_list();
  for (const Value& card_name : added) {
    if (!names.contains(card_name)) names.append(card_name);
  }
}

void Haendesammlung::append_to_metadata(const std::string& key, const Value& wert,
                                        const Value& now) {
  list_of_day(metadata, key, datum_heute()).append(Tuple{wert, now});
}

void Haendesammlung::remove_from_metadata(const std::string& key, const std::string& card) {
  const Value today = get_metadata_heute(key);
  if (today.is_list() && today.as_list().contains(card)) today.as_list().remove(card);
}

}  // namespace tavo::kk
