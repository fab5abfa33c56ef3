// The self-check scenarios by name, as a host offers them: each with what
// it does to the collections, and a run that keeps its result.
#pragma once

#include <string_view>
#include <vector>

#include "karteikarten/analysis/self_check_scenarios.hpp"

namespace tavo::kk {

struct SelfCheckScenario {
  // The manager's method name, e.g. "test_frueh".
  std::string_view name;
  // What the scenario makes of every card, one line.
  std::string_view description;
  void (SelfCheckScenarios::*run)();
};

// Every scenario, in the manager's order.
const std::vector<SelfCheckScenario>& self_check_scenarios();

// Runs the scenario called `name` on every registered collection, then
// stores them all, so that the situation is the one the next session finds.
// ValueError listing the scenarios for an unknown name.
void run_self_check_scenario(SelfCheckScenarios& scenarios, std::string_view name);

}  // namespace tavo::kk
