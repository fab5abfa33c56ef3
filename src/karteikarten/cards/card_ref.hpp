// CardRef: the shared handle to a card record that collections, holders,
// candidates and working cards pass around.
//
// Reading goes through * and ->, which give the record read-only. Changing
// it goes through edit(), which first marks the card as changed in the card
// map that holds it (see MapLink), so that the collection's next save
// writes it. The record's lists and `extra` are shared handles that can be
// changed in place even through a read-only record: such a change goes
// through edit() too, or, when it was made through a handle held elsewhere
// (a working card's list, the host's live view), is followed by
// note_change(). The fudge is renewed every session and is no change of the
// card: set_fudge() sets it without marking.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

#include "karteikarten/cards/card_record.hpp"

namespace tavo::kk {

class CardRef {
 public:
  CardRef() = default;
  CardRef(std::nullptr_t) {}
  CardRef(std::shared_ptr<CardRecord> record) : record_(std::move(record)) {}

  const CardRecord& operator*() const { return *record_; }
  const CardRecord* operator->() const { return record_.get(); }
  const CardRecord* get() const { return record_.get(); }
  explicit operator bool() const { return record_ != nullptr; }

  // The record, to be changed: the card counts as changed in the current
  // period of its map (see CardMap). Keep the reference only for the change
  // at hand; one kept past a save would change the card unmarked.
  CardRecord& edit() const {
    note_change();
    return *record_;
  }
  // Marks the card as changed after a change made in place through one of
  // its lists or mappings.
  void note_change() const { record_->map_link.mark(); }
  void set_fudge(std::optional<std::int64_t> fudge) const { record_->set_fudge(fudge); }

  friend bool operator==(const CardRef&, const CardRef&) = default;

 private:
  friend class CardMap;

  std::shared_ptr<CardRecord> record_;
};

}  // namespace tavo::kk
