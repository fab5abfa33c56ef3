#include "karteikarten/cards/karteikarte_attributes.hpp"

#include <vector>

namespace tavo::kk {
namespace {

using K = Karteikarte;

// The attribute of a learning field or ordering value. One that only a
// stored card has (`lackable`) is absent while empty: a test card lacks it.
template <bool lackable, class Field>
HostAttribute<K> learning_attribute(const Field& field) {
  using T = typename Field::Type;
  if constexpr (lackable) {
    return present_attribute<K, typename T::value_type>(field.key, field.member);
  } else {
    return member_attribute<K, T>(field.key, field.member);
  }
}

void add_learning_attributes(std::vector<HostAttribute<K>>& attributes) {
  for_each_field_pair(learning_fields<K>(), learning_fields<CardRecord>(),
                      [&](const auto& field, const auto& record_field) {
                        constexpr bool lackable =
                            only_stored<decltype(field), decltype(record_field)>;
                        attributes.push_back(learning_attribute<lackable>(field));
                      });
  for_each_field(ordering_fields<K>(), [&](const auto& field) {
    attributes.push_back(learning_attribute<false>(field));
  });
}

std::vector<HostAttribute<K>> all_attributes() {
  std::vector<HostAttribute<K>> attributes = {
      member_attribute("nur_reizung", &K::nur_reizung),
      member_attribute("STARTING_EASE", &K::STARTING_EASE),
      member_attribute("startzeit_tag", &K::startzeit_tag),
      present_attribute("fragetext", &K::fragetext),
      present_attribute("antworttext", &K::antworttext),
      present_attribute("name", &K::name),
      present_attribute("steps", &K::steps),
  };
  add_learning_attributes(attributes);
  return attributes;
}

}  // namespace

const HostAttributes<Karteikarte>& karteikarte_attributes() {
  static const HostAttributes<K> attributes("Karteikarte", all_attributes());
  return attributes;
}

}  // namespace tavo::kk
