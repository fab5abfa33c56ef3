// The results of picking one card out of the candidates of a choice.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "karteikarten/cards/entry.hpp"

namespace tavo::kk {

// What the pick yields: nothing, one candidate, or a list of candidates
// (the lowest-fudge selection of three or more, holding one).
using PickedCandidate = std::variant<std::monostate, Entry, std::vector<Entry>>;

// The picked card as (card data, name, collection name); all empty when
// nothing was picked.
struct ChosenCandidate {
  CardRef data;
  std::optional<std::string> name;
  std::optional<std::string> sammlungsname;
};

// A card chosen for showing: (card name, collection name), both empty when
// there is none.
using CardAndCollection = std::pair<std::optional<std::string>, std::optional<std::string>>;

// The card a lowest-fudge search found: (card name, collection name, the
// collection's position in the container), or (None, None, 0).
struct FoundCard {
  std::optional<std::string> name;
  std::optional<std::string> sammlungsname;
  std::int64_t index = 0;
};

}  // namespace tavo::kk
