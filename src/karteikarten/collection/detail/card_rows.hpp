// The card table of the collections store: one row per card, one typed
// column per field of the record's field tables (learning, ordering,
// session and hand fields, named by their keys), then `extra`.
//
// Every field keeps its exact kind: integers stay integers and floats stay
// floats (`ease_factor` and `interval` have no declared column type, so
// SQLite keeps what was bound), absent texts and flags are NULL, `due` is
// NULL, a REAL moment or the text 'done', and the lists, `last_interval`,
// `faellig_erstes_mal` and `extra` are stored as lossless JSON text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "db/statement.hpp"
#include "karteikarten/cards/card_record.hpp"

namespace tavo::kk::detail {

// The CREATE TABLE statement of the card table.
const std::string& card_table_schema();

// Inserts or replaces the row of one card; bind it with bind_card_row.
const std::string& upsert_card_sql();

// Selects the rows of the collection bound as parameter 1, in name order
// (the table's own, so SQLite need not sort); read each with read_card_row
// and order them by their position.
const std::string& select_cards_sql();

// Selects the row of one card: the collection bound as parameter 1, the
// card's name as parameter 2 (the table's key, so a single lookup). Read it
// with read_card_row.
const std::string& select_card_sql();

// Binds the row of `record`, named `name` at `position` in the card order
// of `collection`, to a statement prepared from upsert_card_sql().
void bind_card_row(db::Statement& statement, std::string_view collection, std::string_view name,
                   std::int64_t position, const kk::CardRecord& record);

struct StoredCard {
  std::string name;
  // The card's place in the collection's card order.
  std::int64_t position;
  // Made where a card map keeps it, so that it is never moved.
  std::shared_ptr<kk::CardRecord> record;
};

// The card of the current row of a statement prepared from
// select_cards_sql(). Throws the value layer's errors (ValueError,
// TypeError) when a column does not hold what the table defines.
StoredCard read_card_row(const db::Statement& statement);

}  // namespace tavo::kk::detail
