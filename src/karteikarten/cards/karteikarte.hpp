// Karteikarte: the working view of one card for one answer.
//
// The host builds a Karteikarte from a card's record, shows it, lets the
// manager schedule it and records the answer with the setters below; the
// collection then writes the new learning state back into the record.
// The learning fields are those of WorkingLearningState. Scalar ones are
// copies: assigning `interval` or `due` here does not reach the record. The
// two lists are the record's own, so appending an answer time or an
// interval through the card changes the record at once (and marks it as
// changed in its collection).
// A bidding-only card also keeps the record itself in `reizung`.
//
// A test card (built without a record) is used for computations that need
// no stored card. It has no name, reps, karte_ist_neu, lists, fudge values
// or texts; reading one of those through a getter throws AttributeError.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "karteikarten/cards/card_ref.hpp"
#include "karteikarten/cards/learning_state.hpp"
#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class Karteikarte : public WorkingLearningState {
 public:
  // Builds the card from `hand` (shared, not copied) under `name`. A card
  // that is not bidding-only needs both texts: KeyError ('fragetext' or
  // 'antworttext') when one is missing. std::invalid_argument for a null
  // `hand`: a card without a record is a test card (testcard).
  Karteikarte(CardRef hand, std::optional<std::string> name, int startzeit_tag);

  // A test card (see create_testcard), due at `clock`'s present moment.
  static Karteikarte testcard(const platform::Common_functions& clock, int startzeit_tag);

  // Turns this card into a test card: learning, steps 0, lapses 0,
  // steps_index 0, ease 130, interval 0, due now by `clock`, letzte_antwort
  // "again".
  void create_testcard(const platform::Common_functions& clock);

  // The getters of attributes a card may lack (name, reps, karte_ist_neu,
  // the texts) throw AttributeError when it does: "'Karteikarte' object has
  // no attribute 'name'".
  const std::string& get_name() const;
  std::int64_t get_reps() const;
  bool get_karte_ist_neu() const;
  Learnstatus get_status() const { return learnstatus; }
  const Due& get_due() const { return due; }
  const std::string& get_frage() const;
  const std::string& get_antwort() const;
  const std::optional<std::string>& get_letzte_antwort() const { return letzte_antwort; }
  // 1 for a bidding-only card, 0 for an index card.
  int get_modus() const { return nur_reizung ? 1 : 0; }

  // Unless `test`: remembers `response` as the last answer.
  void set_letzte_antwort(const std::string& response, bool test);
  // Remembers `due` as the last interval, whatever the host passes.
  void set_last_interval(const Value& due);
  // Unless `test`: appends `interval` for any answer but "again"; "again"
  // removes the newest interval when there is one.
  void set_last_interval_no_lapse(const Value& interval, const std::string& response, bool test);
  // The second-newest interval, or the newest when there is only one;
  // IndexError when there is none.
  Value get_last_interval_no_lapse() const;
  // Appends an answer time, of whatever kind the host measures.
  void set_beantwortungszeit(const Value& zeit);

  // Prints the card's values through the output sink of `diagnostics`: a
  // line of 50 asterisks, "Werte der Karte", seventeen "label value" lines,
  // and the asterisks again.
  void show_info(const platform::Diagnostics& diagnostics) const;

  // Moves the due moment `amount` days ahead ("done" marks the card
  // finished): from `clock`'s present moment for less than a day, else from
  // the start of the learning day, landing on the start hour once the card
  // moves a day or more. TypeError for anything but a number or "done".
  void change_due(const platform::Common_functions& clock, const Value& amount);
  // A card still in the learning phase becomes due at `clock`'s present
  // moment.
  void recalculate_next_due_status_learning(const platform::Common_functions& clock);

  bool nur_reizung = false;
  // The record itself, for bidding-only cards; null otherwise.
  CardRef reizung;
  std::int64_t STARTING_EASE = 250;
  int startzeit_tag;
  std::optional<std::string> fragetext;
  std::optional<std::string> antworttext;
  std::optional<std::string> name;
  // Only a test card has `steps` (0).
  std::optional<std::int64_t> steps;

  // The record whose lists the card shares; null for a test card and for a
  // deep copy. A change made in place to those lists through a handle held
  // elsewhere is followed by record().note_change().
  const CardRef& record() const { return record_; }

 private:
  explicit Karteikarte(int startzeit_tag)
      : WorkingLearningState(recordless_state()), startzeit_tag(startzeit_tag) {}

  // Marks the record as changed after a change of the shared lists.
  void note_list_change() const;

  CardRef record_;

  friend Karteikarte deep_copy(const Karteikarte& card);
};

// An independent copy, for previews: the lists and, for a bidding-only
// card, the record in `reizung` are copied, so that nothing done to the copy
// reaches the stored card.
Karteikarte deep_copy(const Karteikarte& card);

}  // namespace tavo::kk
