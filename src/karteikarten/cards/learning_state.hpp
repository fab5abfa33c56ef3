// The learning state of a card: the fields that a card's record and the
// working card built from it both hold, declared once and listed once.
//
// A record holds every field plainly. A working card (Karteikarte) holds the
// four that only a stored card has (reps, karte_ist_neu and the two lists)
// as optionals, which a test card leaves empty. `FromRecord` is that
// wrapper: the type itself for a record, std::optional for a working card.
//
// learning_fields lists the fields in the order of the host's card data
// mapping and of the store's columns. ordering_fields lists the two
// permanent ordering values, which a collection sets and a working card
// only reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>

#include "karteikarten/cards/due.hpp"
#include "karteikarten/cards/field_table.hpp"
#include "karteikarten/cards/learnstatus.hpp"
#include "value/date_time.hpp"
#include "value/value.hpp"

namespace tavo::kk {

template <class T>
using Plain = T;

template <template <class> class FromRecord>
struct BasicLearningState {
  // The fields every card choice reads come first, so that a pass over a
  // collection touches few cache lines per card.
  Due due;
  // Ordering values, set when the collection is registered.
  std::optional<std::int64_t> permanent_fudge_neu;
  std::optional<std::int64_t> permanent_fudge_wdh;
  Learnstatus learnstatus = Learnstatus::learning;
  FromRecord<bool> karte_ist_neu = true;
  std::optional<std::string> letzte_antwort;

  FromRecord<std::int64_t> reps = 0;
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
  // A record's lists are shared with every working card built from it.
  FromRecord<List> last_interval_no_lapse = List{};
  Value last_interval = List{};
  FromRecord<List> beantwortungszeiten = List{};
};

// The learning state a record holds.
using LearningState = BasicLearningState<Plain>;
// The learning state a working card holds.
using WorkingLearningState = BasicLearningState<std::optional>;

// The learning fields with the host's keys: what the scheduler changes and
// the collection writes back into the record.
template <class State>
constexpr auto learning_fields() {
  return std::tuple{
      field("learnstatus", &State::learnstatus),
      field("reps", &State::reps),
      field("lapses", &State::lapses),
      field("due", &State::due),
      field("ease_factor", &State::ease_factor, FieldReading::number),
      field("steps_index", &State::steps_index),
      field("interval", &State::interval, FieldReading::number_or_none),
      field("zuletzt_vergessen", &State::zuletzt_vergessen),
      field("faellig_erstes_mal", &State::faellig_erstes_mal),
      field("last_interval_no_lapse", &State::last_interval_no_lapse),
      field("last_interval", &State::last_interval, FieldReading::any_value),
      field("beantwortungszeiten", &State::beantwortungszeiten),
      field("karte_ist_neu", &State::karte_ist_neu),
      field("letzte_antwort", &State::letzte_antwort),
  };
}

// The permanent ordering values with the host's keys.
template <class State>
constexpr auto ordering_fields() {
  return std::tuple{field("permanent_fudge_neu", &State::permanent_fudge_neu),
                    field("permanent_fudge_wdh", &State::permanent_fudge_wdh)};
}

// Whether the field of a working card is one that only a stored card has,
// given the fields at one place of the working card's and the record's
// tables.
template <class WorkingField, class RecordField>
inline constexpr bool only_stored =
    !std::is_same_v<typename std::remove_cvref_t<WorkingField>::Type,
                    typename std::remove_cvref_t<RecordField>::Type>;

// A working card's copy of a record's state: the scalars copied, the two
// lists shared.
WorkingLearningState working_state_of(const LearningState& record);

// The state of a working card without a record: the initial state, without
// the fields only a stored card has and with no last interval (None).
WorkingLearningState recordless_state();

// Writes the learning fields of a working card back into its record. A
// field the card lacks leaves the record's value; the ordering values are
// the collection's and stay as they are.
void write_back_learning_state(const WorkingLearningState& card, LearningState& record);

}  // namespace tavo::kk
