// Bringing the day statistics store up to date from the answer log.
//
// An answer is stored in one transaction of the collections store: its card
// and its row of the answer log, which holds the day statistics it records.
// The statistics store then applies the log rows it has not applied yet, in
// sequence order, each exactly once: the rows' recordings and the mark of
// the last row applied commit together. Whatever ends the process between
// the two commits, the next application finds the rows still to apply, so
// the cards and the statistics agree again once a store is next opened.
//
// A log that ends before the mark was put back from an earlier copy of the
// collections store: the mark moves back to its end, and the answers
// stored after it since are applied.
#pragma once

#include <cstddef>

#include "platform/environment.hpp"

namespace tavo::kk {

// Applies the rows of the answer log of `env`'s collections store that its
// day statistics store has not applied, in one transaction of the
// statistics store; returns how many. Creates the statistics store when
// missing. db::Error naming both stores and the row when a row cannot be
// applied (the statistics store is left as it was), or when either store
// cannot be read or written.
std::size_t apply_answer_log(platform::Environment& env);

}  // namespace tavo::kk
