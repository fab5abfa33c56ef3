#include "karteikarten/cards/learning_state.hpp"

namespace tavo::kk {
namespace {

// Assigns `from` to `to`; an empty optional assigned to a plain member
// leaves it as it is.
template <class T, class U>
void assign_field(T& to, const U& from) {
  to = from;
}
template <class T>
void assign_field(T& to, const std::optional<T>& from) {
  if (from) to = *from;
}

template <class ToTable, class FromTable, class To, class From>
void copy_fields(const ToTable& to_fields, const FromTable& from_fields, To& to, const From& from) {
  for_each_field_pair(to_fields, from_fields, [&](const auto& to_field, const auto& from_field) {
    assign_field(to.*to_field.member, from.*from_field.member);
  });
}

}  // namespace

WorkingLearningState working_state_of(const LearningState& record) {
  WorkingLearningState card;
  copy_fields(learning_fields<WorkingLearningState>(), learning_fields<LearningState>(), card,
              record);
  copy_fields(ordering_fields<WorkingLearningState>(), ordering_fields<LearningState>(), card,
              record);
  return card;
}

WorkingLearningState recordless_state() {
  WorkingLearningState card;
  for_each_field_pair(
      learning_fields<WorkingLearningState>(), learning_fields<LearningState>(),
      [&](const auto& working_field, const auto& record_field) {
        if constexpr (only_stored<decltype(working_field), decltype(record_field)>) {
          (card.*working_field.member).reset();
        }
      });
  card.last_interval = None;
  return card;
}

void write_back_learning_state(const WorkingLearningState& card, LearningState& record) {
  copy_fields(learning_fields<LearningState>(), learning_fields<WorkingLearningState>(), record,
              card);
}

}  // namespace tavo::kk
