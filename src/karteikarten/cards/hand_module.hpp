// The host's hand module: a mapping of hand keys (numbers or texts) to
// hand data, from which a collection's cards are made.
#pragma once

#include <string>

#include "value/value.hpp"

namespace tavo::kk {

// The card name of the module key `key` in the collection `collection`:
// a text that already contains "-" stays, anything else becomes
// `collection` + "-" + the key as text (7 in "kk_test" is "kk_test-7").
std::string card_name_of(const Value& key, const std::string& collection);

// An independent copy of the hand data of `card_name`; TypeError when it is
// not a mapping.
Dict hand_data_of(const Value& hand, const std::string& card_name);

}  // namespace tavo::kk
