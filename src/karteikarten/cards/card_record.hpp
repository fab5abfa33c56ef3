// The learning state of one card, as a collection stores it.
//
// A collection keeps each card as a `CardRecord` under the card's name and
// hands out `CardRef`s to it: holders, candidates and working cards share
// the one record and never copy it. The learning fields are typed; every
// other key that the host's hand data brings (the hand itself, card-type
// markers, ...) is kept unchanged in `extra`.
//
// The host sees a record as a mapping with these keys: "fragetext",
// "antworttext", "nur_reizung" (each only when present), "learnstatus",
// "reps", "lapses", "due", "ease_factor", "steps_index", "interval",
// "zuletzt_vergessen", "faellig_erstes_mal", "last_interval_no_lapse",
// "last_interval", "beantwortungszeiten", "karte_ist_neu", "letzte_antwort",
// "permanent_fudge_neu", "permanent_fudge_wdh", "fudge" (each of the last
// three only once set), then the keys of `extra`.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "value/date_time.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// The learning phase of a card.
enum class Learnstatus { learning, learned, relearning };

// "learning", "learned" or "relearning".
std::string_view learnstatus_text(Learnstatus status);
// The phase named by `text`; ValueError for any other text.
Learnstatus parse_learnstatus(std::string_view text);

// When a card is next due: never made due (None), a moment in seconds since
// the epoch, or "done" (finished in the forgotten-cards drill).
class Due {
 public:
  Due() = default;
  static Due at(double seconds) { return Due(Kind::moment, seconds); }
  static Due done() { return Due(Kind::done, 0); }
  // None, a number, or the text "done"; TypeError for anything else.
  static Due from_value(const Value& value);

  bool is_none() const { return kind_ == Kind::none; }
  bool is_moment() const { return kind_ == Kind::moment; }
  bool is_done() const { return kind_ == Kind::done; }
  // The moment; TypeError when the card has none.
  double seconds() const;
  // The host's truthiness: None and the moment 0 are false.
  bool truthy() const { return is_done() || (is_moment() && seconds_ != 0); }
  Value to_value() const;

  friend bool operator==(const Due&, const Due&) = default;

 private:
  enum class Kind { none, moment, done };
  Due(Kind kind, double seconds) : kind_(kind), seconds_(seconds) {}
  Kind kind_ = Kind::none;
  double seconds_ = 0;
};

struct CardRecord {
  // The fields every card choice reads come first, so that a pass over a
  // collection touches one cache line per card.
  Due due;
  // Ordering values, set when the collection is registered.
  std::optional<std::int64_t> fudge;
  std::optional<std::int64_t> permanent_fudge_neu;
  std::optional<std::int64_t> permanent_fudge_wdh;
  Learnstatus learnstatus = Learnstatus::learning;
  bool karte_ist_neu = true;
  std::optional<std::string> letzte_antwort;

  // Hand data: the texts of a question/answer card, and the marker of a
  // bidding-only card.
  std::optional<bool> nur_reizung;
  std::optional<std::string> fragetext;
  std::optional<std::string> antworttext;

  std::int64_t reps = 0;
  std::int64_t lapses = 0;
  // Percent; an integer unless the host stored a float.
  Value ease_factor = 130;
  std::int64_t steps_index = 0;
  // Days; integer or float, and the difference is kept. None on a card a
  // self-check made new again.
  Value interval = 0;
  // Seconds since the epoch of the last "again".
  std::optional<double> zuletzt_vergessen;
  std::optional<DateTime> faellig_erstes_mal;
  // Shared with every Karteikarte built from this record.
  List last_interval_no_lapse;
  Value last_interval = List{};
  List beantwortungszeiten;

  // Every other key of the host's card data, unchanged.
  Dict extra;
};

using CardRef = std::shared_ptr<CardRecord>;

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

// A 64-bit digest of everything the store keeps of the record except the
// transient `fudge`, so that a save can skip records that did not change.
std::uint64_t stored_fingerprint(const CardRecord& record);

// The record with its lists and `extra` copied, so that changing the copy
// never reaches the original.
CardRecord deep_copy(const CardRecord& record);

}  // namespace tavo::kk
