// Records for the holder tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "karteikarten/cards/card_record.hpp"

namespace tavo::kk::testing {

// A fresh record whose "fudge" is `fudge`.
inline CardRef card_with_fudge(std::optional<std::int64_t> fudge) {
  auto record = std::make_shared<CardRecord>();
  record->fudge = fudge;
  return record;
}

}  // namespace tavo::kk::testing
