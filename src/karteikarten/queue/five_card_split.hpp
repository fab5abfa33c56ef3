// The split of the five cards in rotation between new cards and reviews.
//
// The choice shows no more than five different cards at a time: usually two
// new cards and three reviews, more new cards while few reviews are
// available and more reviews while few new cards are, so that the places
// one kind leaves free go to the other.
#pragma once

#include <cstdint>
#include <utility>

#include "platform/diagnostics.hpp"

namespace tavo::kk {

// The places (new cards, reviews) among the five, for today's limit of new
// cards, today's limit of reviews and the number of new cards wanted at
// least (all non-negative). With fewer than three reviews the new cards
// take the places left; otherwise at most two, and no more than
// `minimum_neue_karten`. The reviews take what the new cards leave when
// they have fewer than two places, else at most three. In debug mode a
// negative argument, a split of more than five places, or one holding
// fewer than min(minimum_neue_karten, grenzwert_neue_karten_heute, 5)
// fails the check (AssertionError).
std::pair<std::int64_t, std::int64_t> aufteilung_5(const platform::Diagnostics& diagnostics,
                                                   std::int64_t grenzwert_neue_karten_heute,
                                                   std::int64_t grenzwert_maximale_wiederholungen,
                                                   std::int64_t minimum_neue_karten);

}  // namespace tavo::kk
