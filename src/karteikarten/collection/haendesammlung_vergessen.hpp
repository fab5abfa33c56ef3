// Haendesammlung_vergessen: the collection the forgotten-cards drill works
// on, holding copies of the recently forgotten cards of one normal
// collection.
//
// It is named "<name>_vergessen" after the normal collection `name`, and is
// stored under that name, so that the drill's reduced copy never replaces
// the learner's collection. Its cards keep their names, which begin with
// the normal collection's name.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "karteikarten/collection/haendesammlung.hpp"

namespace tavo::kk {

inline constexpr std::string_view forgotten_suffix = "_vergessen";

// The name of the forgotten-cards collection of the collection `name`.
std::string forgotten_collection_name(const std::string& name);
// The collection a card belongs to: the name before the first "_vergessen"
// of a forgotten-cards collection's name, else the name itself.
std::string base_collection_name(const std::string& name);

class Haendesammlung_vergessen : public Haendesammlung {
 public:
  // An empty collection without learning ahead.
  Haendesammlung_vergessen(platform::Environment& environment,
                           std::shared_ptr<platform::Zeitberechnungen> zeitberechnung,
                           std::string name, int startzeit_tag);

  // Takes independent copies of the cards and the metadata of
  // `haendesammlung`; name and settings stay this collection's own.
  void clone_haendesammlung(const Haendesammlung& haendesammlung);

  // Card names must begin with the base collection's name and "-".
  bool test_karten_enthaelt_falsche_bezeichner() const override;
  std::shared_ptr<Haendesammlung> clone() const override;
};

}  // namespace tavo::kk
