// CollectionConflict: a save that met another program's change of its cards.
//
// Several programs may hold the same stored collection at once (two learning
// sessions, a session and a deck import). A save never writes a card over a
// version that another program stored since this program loaded (or last
// saved) it, and never stores again a card that another program removed:
// it keeps the store's version, saves everything else, and then reports the
// cards it did not save with this error. The caller reads the collection and
// the cards from the members; the message is for the person:
//
//   collection 'kk_bridge': 2 cards were changed by another program since
//   they were loaded and were not saved: kk_bridge-3, kk_bridge-7 (the store
//   keeps the other program's version)
#pragma once

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "value/repr.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class CollectionConflict : public std::runtime_error {
 public:
  // `cards`: the cards that were not saved, in the collection's card order.
  CollectionConflict(std::string collection, std::vector<std::string> cards)
      : std::runtime_error(message_for(collection, cards)),
        collection_(std::move(collection)),
        cards_(std::move(cards)) {}

  // The name the collection is stored under.
  const std::string& collection() const noexcept { return collection_; }
  // The cards the save left as the store holds them (changed or removed by
  // the other program).
  const std::vector<std::string>& cards() const noexcept { return cards_; }
  // True when `card` is one of them.
  bool names(const std::string& card) const {
    return std::find(cards_.begin(), cards_.end(), card) != cards_.end();
  }

 private:
  static std::string message_for(const std::string& collection,
                                 const std::vector<std::string>& cards) {
    const bool one = cards.size() == 1;
    std::string message = "collection " + repr(Value(collection)) + ": " +
                          std::to_string(cards.size()) + (one ? " card was" : " cards were") +
                          " changed by another program since " + (one ? "it was" : "they were") +
                          " loaded and " + (one ? "was" : "were") + " not saved: ";
    for (std::size_t index = 0; index < cards.size(); ++index) {
      if (index > 0) message += ", ";
      message += cards[index];
    }
    return message + " (the store keeps the other program's version)";
  }

  std::string collection_;
  std::vector<std::string> cards_;
};

}  // namespace tavo::kk
