#include "karteikarten/collection/haendesammlung_vergessen.hpp"

#include <algorithm>
#include <utility>

#include "karteikarten/cards/card_map.hpp"

namespace tavo::kk {

std::string forgotten_collection_name(const std::string& name) {
  return name + std::string(forgotten_suffix);
}

std::string base_collection_name(const std::string& name) {
  if (!name.ends_with(forgotten_suffix)) return name;
  return name.substr(0, name.find(forgotten_suffix));
}

Haendesammlung_vergessen::Haendesammlung_vergessen(
    platform::Environment& environment, std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
    std::string name, int startzeit_tag)
    : Haendesammlung(environment, std::move(zeitberechnung), 0, std::move(name), startzeit_tag) {}

void Haendesammlung_vergessen::clone_haendesammlung(const Haendesammlung& haendesammlung) {
  karten = kk::deep_copy(haendesammlung.karten);
  metadata = deep_copy(haendesammlung.metadata).as_dict();
}

bool Haendesammlung_vergessen::test_karten_enthaelt_falsche_bezeichner() const {
  const std::string prefix = base_collection_name(name) + "-";
  return std::any_of(karten.begin(), karten.end(), [&](const kk::CardMap::Entry& card) {
    return !card.first.starts_with(prefix);
  });
}

std::shared_ptr<Haendesammlung> Haendesammlung_vergessen::clone() const {
  auto copy = std::make_shared<Haendesammlung_vergessen>(environment(), zeitberechnung, name,
                                                         startzeit_tag);
  copy->vorauslernen = vorauslernen;
  copy->clone_haendesammlung(*this);
  copy->neue_dict = deep_copy(neue_dict);
  copy->stored = stored;
  return copy;
}

}  // namespace tavo::kk
