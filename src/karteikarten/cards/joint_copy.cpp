#include "karteikarten/cards/joint_copy.hpp"

#include <utility>

namespace tavo::kk {

void JointCopy::add(Value& value) {
  keep(value, [&value](const Value& copy) { value = copy; });
}

void JointCopy::add(List& list) {
  keep(list, [&list](const Value& copy) { list = copy.as_list(); });
}

void JointCopy::add(std::optional<List>& list) {
  if (!list) return;
  add(*list);
}

void JointCopy::add(Dict& dict) {
  keep(dict, [&dict](const Value& copy) { dict = copy.as_dict(); });
}

void JointCopy::keep(Value original, std::function<void(const Value&)> replace) {
  originals_.push_back(std::move(original));
  replacements_.push_back(std::move(replace));
}

void JointCopy::replace_with_copies() {
  const Tuple copies = deep_copy(Value(Tuple(std::move(originals_)))).as_tuple();
  for (std::size_t place = 0; place < replacements_.size(); ++place) {
    replacements_[place](copies.at(static_cast<std::int64_t>(place)));
  }
  originals_.clear();
  replacements_.clear();
}

}  // namespace tavo::kk
