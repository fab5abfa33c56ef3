// SelfCheckScenarios: development aids that put every registered collection
// into one learning situation, so that the scheduler and the card choice
// can be tried by hand. Each overwrites the learning state of every card of
// every registered collection and resets the collections' day metadata
// (see self_check_scenarios.cpp). Running one on real data replaces that
// data's learning state.
#pragma once

#include "karteikarten/storage/haendesammlung_container.hpp"
#include "platform/environment.hpp"

namespace tavo::kk {

class SelfCheckScenarios {
 public:
  // Both must outlive the scenarios.
  SelfCheckScenarios(const platform::Environment& env, HaendesammlungContainer& hc)
      : env_(env), hc_(hc) {}

  // Every card learned, due in three days; stored.
  void test_frueh();
  // Every card learned, due since one day (interval 8, ease 265); stored.
  void test_karten_schon_faellig();
  // Every card learned, due in three days, answered "good" with empty
  // histories.
  void test_vorauslernen();
  // Every card learned and six days and ten minutes late.
  void test_verspaetung();
  // Every second card six days late, the others new again.
  void test_verspaetung_und_neue();

  // Stores every registered collection.
  void store_collections() { hc_.dictionary_speichern_alle_sammlungen(); }

 private:
  const platform::Environment& env_;
  HaendesammlungContainer& hc_;
};

}  // namespace tavo::kk
