// Construction, getters, answer setters and the printout of a Karteikarte.
#include "karteikarten/cards/karteikarte.hpp"

#include <memory>
#include <stdexcept>
#include <utility>

#include "karteikarten/cards/joint_copy.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// The attribute's value; AttributeError when the card does not have it.
template <class T>
const T& attribute(const std::optional<T>& value, const char* attribute_name) {
  if (!value) {
    throw AttributeError(std::string("'Karteikarte' object has no attribute '") + attribute_name +
                         "'");
  }
  return *value;
}

// A text of the card data; KeyError when the record has none.
const std::string& required_text(const std::optional<std::string>& text, const char* key) {
  if (!text) throw KeyError(Value(key));
  return *text;
}

template <class T>
Value or_none(const std::optional<T>& value) {
  return value ? Value(*value) : Value(None);
}

}  // namespace

Karteikarte::Karteikarte(CardRef hand, std::optional<std::string> name, int startzeit_tag)
    : WorkingLearningState(hand ? working_state_of(*hand) : recordless_state()),
      startzeit_tag(startzeit_tag) {
  if (!hand) throw std::invalid_argument("a Karteikarte needs card data; a test card has none");
  if (hand->nur_reizung == true) {
    reizung = hand;
    nur_reizung = true;
  }
  if (!nur_reizung) {
    fragetext = required_text(hand->fragetext, "fragetext");
    antworttext = required_text(hand->antworttext, "antworttext");
  }
  this->name = std::move(name);
  record_ = std::move(hand);
}

Karteikarte Karteikarte::testcard(const platform::Common_functions& clock, int startzeit_tag) {
  Karteikarte card(startzeit_tag);
  card.create_testcard(clock);
  return card;
}

void Karteikarte::create_testcard(const platform::Common_functions& clock) {
  learnstatus = Learnstatus::learning;
  steps = 0;
  lapses = 0;
  steps_index = 0;
  ease_factor = 130;
  interval = 0;
  due = Due::at(clock.get_now());
  letzte_antwort = "again";
}

const std::string& Karteikarte::get_name() const { return attribute(name, "name"); }
std::int64_t Karteikarte::get_reps() const { return attribute(reps, "reps"); }
bool Karteikarte::get_karte_ist_neu() const { return attribute(karte_ist_neu, "karte_ist_neu"); }
const std::string& Karteikarte::get_frage() const { return attribute(fragetext, "fragetext"); }
const std::string& Karteikarte::get_antwort() const {
  return attribute(antworttext, "antworttext");
}

void Karteikarte::set_letzte_antwort(const std::string& response, bool test) {
  if (test) return;
  letzte_antwort = response;
}

void Karteikarte::set_last_interval(const Value& due) { last_interval = due; }

void Karteikarte::set_last_interval_no_lapse(const Value& interval, const std::string& response,
                                             bool test) {
  if (test) return;
  const List& intervals = attribute(last_interval_no_lapse, "last_interval_no_lapse");
  if (response != "again") {
    intervals.append(interval);
  } else if (!intervals.empty()) {
    intervals.pop();
  }
  note_list_change();
}

Value Karteikarte::get_last_interval_no_lapse() const {
  const List& intervals = attribute(last_interval_no_lapse, "last_interval_no_lapse");
  return intervals.size() >= 2 ? intervals.at(-2) : intervals.at(-1);
}

void Karteikarte::set_beantwortungszeit(const Value& zeit) {
  attribute(beantwortungszeiten, "beantwortungszeiten").append(zeit);
  note_list_change();
}

void Karteikarte::note_list_change() const {
  if (record_) record_.note_change();
}

void Karteikarte::show_info(const platform::Diagnostics& diagnostics) const {
  const std::string rule(50, '*');
  // One line per value: the host prints the label (ending in a blank), a
  // blank, and the value.
  const auto print_value = [&diagnostics](const char* label, const Value& value) {
    diagnostics.print_line(std::string(label) + " " + str(value));
  };
  diagnostics.print_line(rule);
  diagnostics.print_line("Werte der Karte");
  print_value("name: ", get_name());
  print_value("nur_reizung: ", nur_reizung);
  print_value("status: ", learnstatus_text(learnstatus));
  print_value("reps: ", get_reps());
  print_value("lapses: ", lapses);
  print_value("due: ", due.to_value());
  print_value("ease_factor: ", ease_factor);
  print_value("steps_index: ", steps_index);
  print_value("interval: ", interval);
  print_value("zuletzt_vergessen: ", or_none(zuletzt_vergessen));
  print_value("faellig_erstes_mal: ", or_none(faellig_erstes_mal));
  print_value("last_interval_no_lapse: ",
              attribute(last_interval_no_lapse, "last_interval_no_lapse"));
  print_value("last_interval: ", last_interval);
  print_value("beantwortungszeiten: ", attribute(beantwortungszeiten, "beantwortungszeiten"));
  print_value("letzte Antwort: ", or_none(letzte_antwort));
  print_value("permanent_fudge_neu : ", or_none(permanent_fudge_neu));
  print_value("permanent_fudge_wdh : ", or_none(permanent_fudge_wdh));
  diagnostics.print_line(rule);
}

Karteikarte deep_copy(const Karteikarte& card) {
  // Everything is copied in one go, so that the lists a bidding-only card
  // shares with its record are shared by the two copies as well.
  Karteikarte copy = card;
  copy.record_ = nullptr;
  JointCopy copies;
  copies.add_fields(copy, learning_fields<Karteikarte>());
  if (card.reizung) {
    auto record = std::make_shared<CardRecord>(*card.reizung);
    copies.add_fields(*record, record_fields());
    copies.add(record->extra);
    copy.reizung = std::move(record);
  }
  copies.replace_with_copies();
  return copy;
}

}  // namespace tavo::kk
