#include "karteikarten/frame/answer_history.hpp"

#include "karteikarten/collection/pickle_dump.hpp"

namespace tavo::kk {
namespace {

Value state_field(const Dict& state, const char* key) {
  const Value* value = state.find(Value(key));
  return value == nullptr ? Value(None) : *value;
}

}  // namespace

std::vector<PastAnswer> answer_history(Karteikartenverwaltung& kkv, const std::string& name) {
  std::vector<PastAnswer> history;
  for (const AnswerLogRow& row : PickleDump(kkv.environment()).answers_to_card(name)) {
    const LoggedAnswer& answer = row.answer;
    history.push_back({answer.moment, answer.response, answer.seconds,
                       state_field(answer.state_after, "interval"),
                       state_field(answer.state_after, "ease_factor"),
                       state_field(answer.state_after, "learnstatus")});
  }
  return history;
}

List history_to_value(const std::vector<PastAnswer>& history) {
  List answers;
  for (const PastAnswer& answer : history) {
    answers.append(Dict{{"moment", answer.moment},
                        {"response", answer.response},
                        {"seconds", answer.seconds},
                        {"interval", answer.interval},
                        {"ease_factor", answer.ease_factor},
                        {"learnstatus", answer.learnstatus}});
  }
  return answers;
}

}  // namespace tavo::kk
