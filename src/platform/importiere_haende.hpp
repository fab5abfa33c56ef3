// Importiere_haende: the hand import of the host.
//
// A card stands for one hand of a hand module: the card "kk_test-7" is hand
// 7 of the module "kk_test". To show such a card, the module asks the hand
// importer for the hand's data under the name "kk_test.hand7". The host
// registers its hands here beforehand, one by one or a whole module at a
// time; the importer hands them out as registered, sharing their lists and
// dicts with the host.
#pragma once

#include <string>
#include <unordered_map>

#include "value/value.hpp"

namespace tavo::platform {

class Importiere_haende {
 public:
  // Registers `hand` under `modul_dat` ("kk_test.hand7"), replacing any hand
  // registered under that name.
  void register_hand(std::string modul_dat, Value hand);
  // Registers each hand of `haende` (hand number -> hand data) as
  // "<modulname>.hand<number>". A number is an integer or a text; any other
  // key throws TypeError and registers nothing.
  void register_modul(const std::string& modulname, const Dict& haende);
  // The hands registered under `namen`, in their order. TypeError for a
  // name that is not a text; KeyError "no hand registered as
  // 'kk_test.hand7'" for a name without a hand.
  List make_haendeliste(const List& namen) const;
  // Forgets every registered hand.
  void clear();

 private:
  std::unordered_map<std::string, Value> haende_;
};

}  // namespace tavo::platform
