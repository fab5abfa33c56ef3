// The answer log: one row per answer in the collections store, written in
// the transaction that stores the answered card, and never changed after
// except to mark an answer as taken back.
//
// A row keeps what an answer did: its collection, card, moment, learning
// day, response, answer time and returned interval; the card's learning
// state after it, and the way back to its state before (see way_back); the
// way back to the values of today's metadata it changed; and the day
// statistics it recorded. That is enough to
// restore the card and the day exactly (undo), to tell the card's history,
// and to bring the day statistics store up to date: each row is applied
// there exactly once, in sequence order (see storage/answer_log_applier).
// Taking an answer back appends a row of its own that names the answer's
// sequence number, so that the statistics store takes it back exactly once
// too.
//
// A collection gathers the rows of its answers (`unsaved_log`) until its
// next save writes them together with its cards.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.hpp"
#include "karteikarten/cards/card_record.hpp"
#include "value/value.hpp"

namespace tavo::kk {

class Haendesammlung;

// One answer, as the log keeps it.
struct LoggedAnswer {
  std::string collection;
  std::string card;
  // Seconds since the epoch.
  double moment = 0;
  // The learning day's key ("2021-9-22").
  std::string day;
  std::string response;
  // The answer time the answer added to the card, or None.
  Value seconds;
  // What the scheduling returned: days, "done", or None.
  Value interval;
  // learning_state_to_value of the card before and after the answer.
  Dict state_before;
  Dict state_after;
  // The way back (see way_back) from today's metadata after the answer to
  // today's metadata before it.
  Dict metadata_way_back;
  // The day statistics the answer recorded, in order: each the list
  // [collection, statistic, day, wert].
  List recordings;
};

// A row of the log: an answer, or the taking back of the answer `undoes`
// (then only collection, card, moment and day are set).
struct AnswerLogRow {
  std::int64_t seq = 0;
  std::optional<std::int64_t> undoes;
  LoggedAnswer answer;
};

// What a collection's next save appends to the log.
struct UnsavedLogEntry {
  AnswerLogRow row;
  // For an answer: today's metadata when the answer began, from which the
  // save finds the values the answer changed.
  Dict todays_metadata_before;
};

// How to turn `after` back into `before`, for each key whose value
// differs: ["=", value] for a value, ["+", kept, tail] for a list that was
// `after`'s first `kept` items followed by `tail`, ["-"] for a key that
// `before` lacks. A list that only grew or shrank at its end (a card's
// history lists, today's card lists) takes a few bytes.
Dict way_back(const Dict& before, const Dict& after);
// `after` turned back by a way_back.
Dict went_back(const Dict& after, const Dict& way_back);

// The statements creating the log's table and indexes.
const std::string& answer_log_schema();

// Today's value of every per-day metadata key of `collection`, copied.
Dict todays_metadata(const Haendesammlung& collection);

// Begins the log row of an answer `response` to the card `card`, whose
// record is `record`, at `moment`.
UnsavedLogEntry begin_logged_answer(const Haendesammlung& collection, const std::string& card,
                                    const CardRecord& record, const std::string& response,
                                    double moment);

// Sets today's metadata keys of `metadata_before` back to their values,
// removing today's value of those that had none, and such a key itself
// when it is left without any day.
void restore_todays_metadata(Haendesammlung& collection, const LoggedAnswer& answer);

// Appends the unsaved rows of `collection` to the log through `connection`
// (inside the caller's transaction), finishing each answer from the
// collection's present state: the card's state after it, the metadata it
// changed and its answer time. An answer whose card is in `skipped`, or no
// longer in the collection, is left out: it was not stored. An undo also
// marks its answer as taken back.
void append_unsaved_log(db::Connection& connection, const Haendesammlung& collection,
                        const std::vector<std::string>& skipped);

// ---- reading, through a connection to the store ----

// The highest sequence number in the log; 0 for an empty log.
std::int64_t last_log_seq(db::Connection& connection);
// The rows after `seq`, in order.
std::vector<AnswerLogRow> log_rows_after(db::Connection& connection, std::int64_t seq);
// The newest answer of the learning day `day` to a card of one of
// `collections` that was not taken back.
std::optional<AnswerLogRow> latest_answer_of_day(db::Connection& connection, const std::string& day,
                                                 const std::vector<std::string>& collections);
// The answers to the card `card` that were not taken back, oldest first.
std::vector<AnswerLogRow> answers_to_card(db::Connection& connection, const std::string& card);
// Every answer that was not taken back, oldest first.
std::vector<AnswerLogRow> kept_answers(db::Connection& connection);

}  // namespace tavo::kk
