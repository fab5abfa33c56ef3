#include "karteikarten/analysis/self_check_catalogue.hpp"

#include <algorithm>
#include <string>

#include "value/errors.hpp"

namespace tavo::kk {

const std::vector<SelfCheckScenario>& self_check_scenarios() {
  static const std::vector<SelfCheckScenario> scenarios{
      {"test_frueh", "every card learned and due in three days: nothing to review today",
       &SelfCheckScenarios::test_frueh},
      {"test_karten_schon_faellig",
       "every card learned and due since one day (interval 8, ease 265)",
       &SelfCheckScenarios::test_karten_schon_faellig},
      {"test_vorauslernen",
       "every card learned, answered \"good\" and due in three days: learning ahead",
       &SelfCheckScenarios::test_vorauslernen},
      {"test_verspaetung", "every card learned and six days and ten minutes late",
       &SelfCheckScenarios::test_verspaetung},
      {"test_verspaetung_und_neue", "every second card six days late, the others new again",
       &SelfCheckScenarios::test_verspaetung_und_neue},
  };
  return scenarios;
}

void run_self_check_scenario(SelfCheckScenarios& scenarios, std::string_view name) {
  const std::vector<SelfCheckScenario>& catalogue = self_check_scenarios();
  const auto found = std::find_if(catalogue.begin(), catalogue.end(),
                                  [name](const SelfCheckScenario& s) { return s.name == name; });
  if (found == catalogue.end()) {
    std::string known;
    for (const SelfCheckScenario& scenario : catalogue) {
      known += (known.empty() ? "" : ", ") + std::string(scenario.name);
    }
    throw ValueError("no self-check scenario '" + std::string(name) + "' (scenarios: " + known +
                     ")");
  }
  (scenarios.*found->run)();
  scenarios.store_collections();
}

}  // namespace tavo::kk
