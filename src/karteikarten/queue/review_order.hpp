// The permanent review order of cards: the order in which the choice takes
// reviews when more are waiting than it has places for.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/collection/haendesammlung.hpp"
#include "value/errors.hpp"

namespace tavo::kk {

// The first `anzahl` of `names` (cards of `sammlung`), in ascending
// "permanent_fudge_wdh"; equal values keep their order. KeyError for a
// name the collection lacks or a card without the value.
inline kk::NameList first_in_review_order(const kk::Haendesammlung& sammlung,
                                                kk::NameList names, std::int64_t anzahl) {
  std::vector<std::pair<std::int64_t, std::string>> ordered;
  for (std::string& name : names) {
    const CardRef& card = sammlung.karten.at(name);
    if (!card->permanent_fudge_wdh) throw KeyError(Value("permanent_fudge_wdh"));
    ordered.emplace_back(*card->permanent_fudge_wdh, std::move(name));
  }
  std::ranges::stable_sort(ordered, {}, &std::pair<std::int64_t, std::string>::first);
  names.clear();
  for (auto& entry : ordered) names.push_back(std::move(entry.second));
  names.resize(std::min(names.size(), static_cast<std::size_t>(std::max<std::int64_t>(anzahl, 0))));
  return names;
}

}  // namespace tavo::kk
