// The learning state of one card, as a collection stores it.
//
// A collection keeps each card as a `CardRecord` under the card's name and
// hands out `CardRef`s to it (card_ref.hpp): holders, candidates and working
// cards share the one record and never copy it. The learning fields are typed; every
// other key that the host's hand data brings (the hand itself, card-type
// markers, ...) is kept unchanged in `extra`.
//
// The host sees a record as a mapping with the keys of hand_fields (each
// only when present), of learning_fields (always), of ordering_fields and
// "fudge" (each only once set), then the keys of `extra`.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "karteikarten/cards/learning_state.hpp"
#include "karteikarten/cards/map_link.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// The record's link to its card map: a base that comes first, so that a
// pass over the cards reads a card's fudge from the cache line that holds
// its due moment.
struct LinkedToMap {
  // Tells the card map that holds the record when it changes, and keeps
  // the ordering value ("fudge") the map renews every session.
  MapLink map_link;
};

struct CardRecord : LinkedToMap, LearningState {
  // Hand data: the texts of a question/answer card, and the marker of a
  // bidding-only card.
  std::optional<bool> nur_reizung;
  std::optional<std::string> fragetext;
  std::optional<std::string> antworttext;

  // Every other key of the host's card data, unchanged.
  Dict extra;

  std::optional<std::int64_t> fudge() const { return map_link.fudge(); }
  void set_fudge(std::optional<std::int64_t> fudge) { map_link.set_fudge(fudge); }
};

// The hand data fields. "nur_reizung" is set by exactly True and cleared by
// any other value.
constexpr auto hand_fields() {
  return std::tuple{field("fragetext", &CardRecord::fragetext),
                    field("antworttext", &CardRecord::antworttext),
                    field("nur_reizung", &CardRecord::nur_reizung, FieldReading::exactly_true)};
}

// The key of the ordering value a collection renews every session
// (CardRecord::fudge): stored, but never a change of the card. It follows
// the ordering fields in the host's mapping and the store's columns.
constexpr std::string_view fudge_key = "fudge";

// Every field of a record but the fudge, in the order of the host's
// mapping.
constexpr auto record_fields() {
  return std::tuple_cat(hand_fields(), learning_fields<CardRecord>(),
                        ordering_fields<CardRecord>());
}

// Builds a record from the host's card data mapping. Learning keys that are
// missing take the initial learning state (due None, reps 0, ease 130,
// interval 0, learnstatus "learning", empty lists, karte_ist_neu True, ...);
// unknown keys go to `extra`. A learning key holding a value of the wrong
// kind throws TypeError naming the key ("card data 'reps' must be int, got
// str"); an unknown learnstatus text throws ValueError.
CardRecord card_record_from_value(const Dict& data);

// Sets one key of the card data as the host assigns it: a learning key is
// read as card_record_from_value reads it (TypeError or ValueError for a
// value of the wrong kind, the record unchanged then); any other key goes to
// `extra`.
void set_card_data_item(CardRecord& record, const Value& key, const Value& value);

// The value under `key` of the record's card data mapping; KeyError when
// the mapping has no such key.
Value card_data_item(const CardRecord& record, const Value& key);

// The record as the host's card data mapping (keys in the order listed
// above). The two shared lists are the record's own lists, not copies.
Dict card_record_to_value(const CardRecord& record);

// The record's learning state alone, as a mapping with the keys of
// learning_fields; its lists are copies, so that later answers do not
// change it.
Dict learning_state_to_value(const CardRecord& record);

// Sets the record's learning fields from a mapping made by
// learning_state_to_value; other fields stay. TypeError or ValueError as
// for card_record_from_value, the record unchanged then.
void set_learning_state(CardRecord& record, const Dict& state);

// A 64-bit digest of everything the store keeps of the record except the
// session fields, so that a save can skip records that did not change.
std::uint64_t stored_fingerprint(const CardRecord& record);

// The record with its lists and `extra` copied, so that changing the copy
// never reaches the original.
CardRecord deep_copy(const CardRecord& record);

}  // namespace tavo::kk
