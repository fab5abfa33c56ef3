// Small ownership helpers for the wrappers.
#pragma once

#include <memory>
#include <utility>

#include "karteikarten/cards/card_record.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "platform/common_functions.hpp"
#include "platform/shelf.hpp"

namespace tavo::binding {

// A handle to `member` that keeps `owner` alive, so that a wrapper of a part
// of an object (a manager's container) never outlives the object.
template <class Owner, class Member>
std::shared_ptr<Member> shared_member(const std::shared_ptr<Owner>& owner, Member* member) {
  return std::shared_ptr<Member>(owner, member);
}

inline kk::CardRef make_card_ref(kk::CardRecord record) {
  return std::make_shared<kk::CardRecord>(std::move(record));
}

// A new shared test card, due at `clock`'s present moment.
inline std::shared_ptr<kk::Karteikarte> make_testcard(const platform::Common_functions& clock,
                                                      int startzeit_tag) {
  return std::make_shared<kk::Karteikarte>(kk::Karteikarte::testcard(clock, startzeit_tag));
}

// Moves `shelf` into a shared handle; `shelf` is closed afterwards.
inline std::shared_ptr<platform::Shelf> shared_shelf(platform::Shelf& shelf) {
  return std::make_shared<platform::Shelf>(std::move(shelf));
}

}  // namespace tavo::binding
