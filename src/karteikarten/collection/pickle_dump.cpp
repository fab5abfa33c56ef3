// PickleDump: the collections store (SQLite tables `collection`, `card` and
// `answer_log`, marked with the collections application id and schema
// version 2; version 1 lacked the log) and the settings file.
#include "karteikarten/collection/pickle_dump.hpp"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/connection.hpp"
#include "db/damaged_file.hpp"
#include "db/database_file.hpp"
#include "db/durable_file.hpp"
#include "db/error.hpp"
#include "db/file_error.hpp"
#include "db/statement.hpp"
#include "db/transaction.hpp"
#include "karteikarten/collection/answer_log.hpp"
#include "karteikarten/collection/detail/card_rows.hpp"
#include "value/errors.hpp"
#include "value/json_codec.hpp"
#include "value/quoted.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

namespace fs = std::filesystem;

// Marks a database as a collections store ("TKCO").
constexpr std::int64_t collections_application_id = 0x544b434f;
constexpr std::int64_t schema_version = 2;
constexpr std::int64_t first_schema_version = 1;

constexpr std::string_view collection_table_schema =
    "CREATE TABLE collection (name TEXT PRIMARY KEY, metadata TEXT NOT NULL) WITHOUT ROWID";

std::int64_t single_integer(db::Connection& connection, std::string_view sql) {
  db::Statement statement = connection.prepare(sql);
  statement.step();
  return statement.column_int64(0);
}

// A file that does not exist or is empty holds no collection: SQLite
// creates a database file lazily, so an empty one was never written to.
bool holds_data(const fs::path& path) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  return !error && size > 0;
}

// Rejects a database that another program wrote, or that a later version
// of this one wrote; returns the schema version of a store this version
// reads (the current one, or one that upgrade_schema brings up to date).
std::int64_t checked_schema_version(db::Connection& connection) {
  if (single_integer(connection, "PRAGMA application_id") != collections_application_id) {
    throw db::Error("database " + quoted(connection.path()) + " is not a collections store",
                    SQLITE_NOTADB, connection.path());
  }
  const std::int64_t version = single_integer(connection, "PRAGMA user_version");
  if (version < first_schema_version || version > schema_version) {
    const std::string written_by =
        version > schema_version ? " (written by a later version of this module)" : "";
    throw db::Error("collections store " + quoted(connection.path()) + " has schema version " +
                        std::to_string(version) + written_by + ", expected " +
                        std::to_string(schema_version),
                    SQLITE_NOTADB, connection.path());
  }
  return version;
}

// Adds what later versions added to a store of an earlier one, inside the
// caller's transaction: version 2 added the answer log.
void upgrade_schema(db::Connection& connection, std::int64_t version) {
  if (version == schema_version) return;
  connection.execute(answer_log_schema());
  connection.execute("PRAGMA user_version = " + std::to_string(schema_version));
}

// Gives a new database the schema, inside the caller's transaction, or
// checks the schema of an existing one and brings it up to date.
void prepare_schema(db::Connection& connection) {
  if (single_integer(connection, "SELECT count(*) FROM sqlite_master") != 0) {
    upgrade_schema(connection, checked_schema_version(connection));
    return;
  }
  connection.execute("PRAGMA application_id = " + std::to_string(collections_application_id));
  connection.execute("PRAGMA user_version = " + std::to_string(schema_version));
  connection.execute(collection_table_schema);
  connection.execute(detail::card_table_schema());
  connection.execute(answer_log_schema());
}

// A connection for reading a store that holds data, brought up to date
// first when an earlier version wrote it.
db::Connection open_for_reading(const fs::path& path) {
  db::check_database_file(path);
  {
    db::Connection connection(path, db::OpenMode::read_only);
    if (checked_schema_version(connection) == schema_version) return connection;
  }
  db::Connection connection(path, db::OpenMode::read_write);
  db::Transaction upgrade(connection);
  upgrade_schema(connection, checked_schema_version(connection));
  upgrade.commit();
  return connection;
}

[[noreturn]] void reject_content(const fs::path& path, const std::string& what,
                                 const std::exception& reason) {
  throw db::Error("damaged collections store " + quoted(path) + ": " + what + ": " + reason.what(),
                  SQLITE_CORRUPT, path);
}

// Spreads the bits of `value` over the whole word (the splitmix64 finalizer).
std::uint64_t mix(std::uint64_t value) {
  value = (value ^ (value >> 30)) * 0xbf58476d1ce4e5b9;
  value = (value ^ (value >> 27)) * 0x94d049bb133111eb;
  return value ^ (value >> 31);
}

// The fingerprint of a card as stored: its record at its place in the
// card order, so that a card that moved is written again.
std::uint64_t card_fingerprint(const kk::CardRecord& record, std::size_t position) {
  return mix(kk::stored_fingerprint(record) + 0x9e3779b97f4a7c15 * (position + 1));
}

std::uint64_t metadata_fingerprint(std::string_view metadata_json) {
  return std::hash<std::string_view>{}(metadata_json);
}

// The metadata of the collection `name`, or nullopt when the store holds no
// such collection.
std::optional<Dict> read_metadata(db::Connection& connection, const std::string& name) {
  db::Statement statement = connection.prepare("SELECT metadata FROM collection WHERE name = ?");
  statement.bind(1, name);
  if (!statement.step()) return std::nullopt;
  const std::string text = statement.column_text(0);
  try {
    return decode_json(text).as_dict();
  } catch (const tavo::Error& error) {
    reject_content(connection.path(), "metadata of " + repr(name), error);
  }
}

kk::CardMap read_cards(db::Connection& connection, const std::string& name) {
  db::Statement statement = connection.prepare(detail::select_cards_sql());
  statement.bind(1, name);
  std::vector<detail::StoredCard> stored;
  while (statement.step()) {
    try {
      stored.push_back(detail::read_card_row(statement));
    } catch (const tavo::Error& error) {
      reject_content(connection.path(), "card " + repr(statement.column_text(1)), error);
    }
  }
  // The cards in their order: by position, and in name order where a
  // damaged store repeats a position.
  std::vector<std::pair<std::int64_t, std::size_t>> order;
  order.reserve(stored.size());
  for (std::size_t index = 0; index < stored.size(); ++index) {
    order.emplace_back(stored[index].position, index);
  }
  std::sort(order.begin(), order.end());
  kk::CardMap cards;
  cards.reserve(stored.size());
  for (const auto& [position, index] : order) {
    detail::StoredCard& card = stored[index];
    cards.set(std::move(card.name), std::move(card.record));
  }
  return cards;
}

// The snapshot of a collection just read from the store; its card map
// starts a new period of changes with it.
StoredSnapshot snapshot_of(const std::string& name, Haendesammlung& collection,
                           std::string_view metadata_json) {
  StoredSnapshot snapshot;
  snapshot.stored_name = name;
  snapshot.metadata_fingerprint = metadata_fingerprint(metadata_json);
  snapshot.cards.reserve(collection.karten.size());
  for (const auto& [card_name, record] : collection.karten) {
    snapshot.cards.push_back({card_name, card_fingerprint(*record, snapshot.cards.size())});
  }
  snapshot.change_period = collection.karten.forget_changes();
  return snapshot;
}

// Whether the card map of `collection` still knows its changes since the
// snapshot `before`: then only the cards it marked can differ from it.
bool changes_known(const Haendesammlung& collection, const StoredSnapshot* before) {
  return before != nullptr && before->change_period &&
         before->change_period == collection.karten.change_period();
}

void write_metadata(db::Connection& connection, const std::string& name,
                    const std::string& metadata_json) {
  db::Statement statement =
      connection.prepare("INSERT OR REPLACE INTO collection (name, metadata) VALUES (?, ?)");
  statement.bind_all(name, metadata_json);
  statement.run();
}

// A card this save did not write or remove because another program changed
// it in the store since the snapshot: the collection takes the store's
// version once the save is committed.
struct Conflict {
  std::string name;
  // The card's place in the collection's card order; none for a card that
  // the save would have removed.
  std::optional<std::size_t> position;
  // The store's version of the card; none when the store no longer holds it.
  std::optional<kk::CardRecord> stored;
};

// What a save changes in the snapshot: the cards written, each with its
// place, the stored cards removed, how many places kept their card, and the
// cards left to the store's version.
struct SnapshotChanges {
  std::vector<std::pair<std::size_t, StoredCardFingerprint>> written;
  std::vector<std::string> removed;
  std::size_t places_kept = 0;
  std::vector<Conflict> conflicts;
};

// Compares what the store holds now of a card the save is about to write
// or remove with what the snapshot says it held, inside the save's
// transaction. Reads the stored row of that one card, so that a save costs
// a lookup per card it writes, never a pass over the store.
class StoreCheck {
 public:
  // `erased` are the cards erased in the period of the collection's card
  // map, when it still knows its changes since the snapshot.
  StoreCheck(db::Connection& connection, const std::string& name, const StoredSnapshot& snapshot,
             const std::unordered_map<std::string, std::size_t>* erased)
      : select_(connection.prepare(detail::select_card_sql())),
        path_(connection.path()),
        name_(name),
        snapshot_(snapshot),
        erased_(erased) {}

  // The card as the store holds it now, or none.
  std::optional<detail::StoredCard> current(const std::string& card_name) {
    select_.bind_all(name_, card_name);
    std::optional<detail::StoredCard> card;
    if (select_.step()) {
      try {
        card = detail::read_card_row(select_);
      } catch (const tavo::Error& error) {
        select_.reset();
        reject_content(path_, "card " + repr(card_name), error);
      }
    }
    select_.reset();
    return card;
  }

  // True when the store holds the card as the snapshot says it did: the
  // record it fingerprinted (wherever the store now places the card), or no
  // card when the snapshot holds none. `place` is where the snapshot holds
  // the card, when the caller knows it.
  bool unchanged_elsewhere(const std::string& card_name, std::optional<std::size_t> place,
                           const std::optional<detail::StoredCard>& current) {
    if (!place) place = place_in_snapshot(card_name);
    if (!place) return !current;
    return current &&
           card_fingerprint(*current->record, *place) == snapshot_.cards[*place].fingerprint;
  }

 private:
  // Where the snapshot holds `card_name`, which is not at the place it has
  // in the collection. Within the card map's period no card moves, so such
  // a card was erased first, from its place in the snapshot if it has one.
  // Otherwise the index by name is built at the first such card.
  std::optional<std::size_t> place_in_snapshot(const std::string& card_name) {
    if (erased_ != nullptr) {
      const auto found = erased_->find(card_name);
      if (found == erased_->end()) return std::nullopt;
      const std::size_t place = found->second;
      if (place < snapshot_.cards.size() && snapshot_.cards[place].name == card_name) return place;
      return std::nullopt;
    }
    if (!places_) {
      places_.emplace();
      places_->reserve(snapshot_.cards.size());
      for (std::size_t place = 0; place < snapshot_.cards.size(); ++place) {
        places_->emplace(snapshot_.cards[place].name, place);
      }
    }
    const auto found = places_->find(card_name);
    if (found == places_->end()) return std::nullopt;
    return found->second;
  }

  db::Statement select_;
  fs::path path_;
  const std::string& name_;
  const StoredSnapshot& snapshot_;
  const std::unordered_map<std::string, std::size_t>* erased_;
  std::optional<std::unordered_map<std::string_view, std::size_t>> places_;
};

// The check of a save of `collection` against the snapshot `before`, when
// there is one.
std::optional<StoreCheck> store_check(db::Connection& connection, const std::string& name,
                                      const Haendesammlung& collection,
                                      const StoredSnapshot* before) {
  if (before == nullptr) return std::nullopt;
  const bool known = changes_known(collection, before);
  return std::optional<StoreCheck>(std::in_place, connection, name, *before,
                                   known ? &collection.karten.erased_cards() : nullptr);
}

// The row position at which the card `card_name` (at `position` in the
// card order; `same_place` when the snapshot holds it there too) may be
// written: the store must still hold what the snapshot says, or already
// hold exactly `record`. A card that kept its place in this collection
// keeps the store's place, so that another program's new card order
// stands. Nothing, with the conflict recorded, for any other card.
std::optional<std::int64_t> checked_row_position(StoreCheck& check, const std::string& card_name,
                                                 const kk::CardRecord& record, std::size_t position,
                                                 bool same_place, SnapshotChanges& changes) {
  std::optional<detail::StoredCard> current = check.current(card_name);
  const bool already_stored =
      current && kk::stored_fingerprint(*current->record) == kk::stored_fingerprint(record);
  const std::optional<std::size_t> known_place =
      same_place ? std::optional(position) : std::nullopt;
  if (!already_stored && !check.unchanged_elsewhere(card_name, known_place, current)) {
    changes.conflicts.push_back(
        {card_name, position, current ? std::optional(std::move(*current->record)) : std::nullopt});
    return std::nullopt;
  }
  if (same_place && current) return current->position;
  return static_cast<std::int64_t>(position);
}

// Writes the cards of a save one by one: a card at `position` in the card
// order unless the snapshot `before` holds it at that place with its
// fingerprint; with a snapshot, only where checked_row_position allows it.
class CardWriter {
 public:
  CardWriter(db::Connection& connection, const std::string& name, const Haendesammlung& collection,
             const StoredSnapshot* before, SnapshotChanges& changes)
      : upsert_(connection.prepare(detail::upsert_card_sql())),
        check_(store_check(connection, name, collection, before)),
        name_(name),
        before_(before),
        changes_(changes) {}

  void write(std::size_t position, const std::string& card_name, const kk::CardRecord& record) {
    const std::uint64_t fingerprint = card_fingerprint(record, position);
    const StoredCardFingerprint* stored = before_ != nullptr && position < before_->cards.size()
                                              ? &before_->cards[position]
                                              : nullptr;
    const bool same_place = stored != nullptr && stored->name == card_name;
    if (same_place) ++changes_.places_kept;
    if (same_place && stored->fingerprint == fingerprint) return;
    const std::optional<std::int64_t> row_position =
        check_ ? checked_row_position(*check_, card_name, record, position, same_place, changes_)
               : static_cast<std::int64_t>(position);
    if (!row_position) return;
    detail::bind_card_row(upsert_, name_, card_name, *row_position, record);
    upsert_.run();
    changes_.written.push_back({position, {card_name, fingerprint}});
  }

 private:
  db::Statement upsert_;
  std::optional<StoreCheck> check_;
  const std::string& name_;
  const StoredSnapshot* before_;
  SnapshotChanges& changes_;
};

// Writes each card that differs from the snapshot `before` (every card
// when there is none): only the cards the card map marked as changed when
// it still knows its changes since the snapshot, else after comparing every
// card.
void write_cards(db::Connection& connection, const std::string& name,
                 const Haendesammlung& collection, const StoredSnapshot* before,
                 SnapshotChanges& changes) {
  CardWriter writer(connection, name, collection, before, changes);
  if (changes_known(collection, before)) {
    for (const auto& [position, card] : collection.karten.changed_cards()) {
      writer.write(position, card->first, *card->second);
    }
    return;
  }
  std::size_t position = 0;
  for (const auto& [card_name, record] : collection.karten) {
    writer.write(position++, card_name, *record);
  }
}

// The stored card names of the collection `name`.
std::vector<std::string> stored_card_names(db::Connection& connection, const std::string& name) {
  db::Statement statement = connection.prepare("SELECT name FROM card WHERE collection = ?");
  statement.bind(1, name);
  std::vector<std::string> names;
  while (statement.step()) names.push_back(statement.column_text(0));
  return names;
}

// The cards of the snapshot `before` that the card map erased in its
// period, in the snapshot's order.
std::vector<std::string> erased_stored_cards(const Haendesammlung& collection,
                                             const StoredSnapshot& before) {
  std::vector<std::pair<std::size_t, std::string>> erased;
  for (const auto& [card_name, place] : collection.karten.erased_cards()) {
    if (place < before.cards.size() && before.cards[place].name == card_name) {
      erased.emplace_back(place, card_name);
    }
  }
  std::sort(erased.begin(), erased.end());
  std::vector<std::string> names;
  names.reserve(erased.size());
  for (auto& [place, card_name] : erased) names.push_back(std::move(card_name));
  return names;
}

// The stored cards that are no longer in the collection: those of the
// snapshot when there is one (found among the erased cards when the card
// map knows its changes since it), else every stored card not in it. When
// every card of the snapshot is still at its place, none is gone.
std::vector<std::string> gone_cards(db::Connection& connection, const std::string& name,
                                    const Haendesammlung& collection, const StoredSnapshot* before,
                                    const SnapshotChanges& changes) {
  std::vector<std::string> candidates;
  if (changes_known(collection, before)) {
    candidates = erased_stored_cards(collection, *before);
  } else if (before != nullptr) {
    if (changes.places_kept == before->cards.size()) return {};
    for (const StoredCardFingerprint& card : before->cards) candidates.push_back(card.name);
  } else {
    candidates = stored_card_names(connection, name);
  }
  std::erase_if(candidates,
                [&](const std::string& card) { return collection.karten.contains(card); });
  return candidates;
}

// Deletes the `gone` cards. With a snapshot, a card that another program
// removed already is left alone, and one that it changed is kept as a
// conflict; `changes.removed` names the cards deleted.
void remove_cards(db::Connection& connection, const std::string& name,
                  const Haendesammlung& collection, const std::vector<std::string>& gone,
                  const StoredSnapshot* before, SnapshotChanges& changes) {
  db::Statement statement =
      connection.prepare("DELETE FROM card WHERE collection = ? AND name = ?");
  std::optional<StoreCheck> check = store_check(connection, name, collection, before);
  for (const std::string& card_name : gone) {
    if (check) {
      std::optional<detail::StoredCard> current = check->current(card_name);
      if (!current) continue;
      if (!check->unchanged_elsewhere(card_name, std::nullopt, current)) {
        changes.conflicts.push_back({card_name, std::nullopt, std::move(*current->record)});
        continue;
      }
    }
    statement.bind_all(name, card_name);
    statement.run();
    changes.removed.push_back(card_name);
  }
}

// The snapshot after a save of `collection` under `name` that made
// `changes`: the old one changed in place when it was taken under `name`,
// else a new one (every card was written then). The places of the
// conflicting cards are filled by take_stored_versions. The card map starts
// a new period of changes with it.
void update_snapshot(Haendesammlung& collection, const std::string& name,
                     std::uint64_t metadata_json_fingerprint, SnapshotChanges& changes) {
  StoredSnapshot& snapshot = collection.stored;
  if (snapshot.stored_name != name) {
    snapshot = StoredSnapshot();
    snapshot.stored_name = name;
  }
  snapshot.metadata_fingerprint = metadata_json_fingerprint;
  snapshot.cards.resize(collection.karten.size());
  for (auto& [position, card] : changes.written) snapshot.cards[position] = std::move(card);
  snapshot.change_period = collection.karten.forget_changes();
}

// Makes the collection and its snapshot hold the store's version of each
// conflicting card, so that the next save neither writes it nor meets the
// conflict again: a changed card takes the stored record (its transient
// fudge stays, and its record stays the one every holder shares), a card
// the store no longer holds leaves the collection, and a card the save
// would have removed comes back at the end of the card order. Returns the
// names of the cards, in that order.
std::vector<std::string> take_stored_versions(Haendesammlung& collection,
                                              std::vector<Conflict>& conflicts) {
  StoredSnapshot& snapshot = collection.stored;
  std::vector<std::string> names;
  std::vector<std::pair<std::size_t, std::string>> removed_elsewhere;
  for (Conflict& conflict : conflicts) {
    names.push_back(conflict.name);
    if (!conflict.position) continue;
    if (!conflict.stored) {
      removed_elsewhere.emplace_back(*conflict.position, conflict.name);
      continue;
    }
    kk::CardRecord& record = collection.karten.at(conflict.name).edit();
    conflict.stored->set_fudge(record.fudge());
    record = std::move(*conflict.stored);
    snapshot.cards[*conflict.position] = {conflict.name,
                                          card_fingerprint(record, *conflict.position)};
  }
  // From the last place back, so that the places still to do stay put.
  std::sort(removed_elsewhere.rbegin(), removed_elsewhere.rend());
  for (const auto& [position, card_name] : removed_elsewhere) {
    collection.karten.erase(card_name);
    snapshot.cards.erase(snapshot.cards.begin() + static_cast<std::ptrdiff_t>(position));
  }
  if (!removed_elsewhere.empty()) {
    // The cards behind moved up a place. After the save the collection
    // holds what the snapshot says, so their fingerprints come from it.
    const std::size_t first_moved = removed_elsewhere.back().first;
    std::size_t position = 0;
    for (const auto& [card_name, record] : collection.karten) {
      if (position >= first_moved) {
        snapshot.cards[position].fingerprint = card_fingerprint(*record, position);
      }
      ++position;
    }
  }
  for (Conflict& conflict : conflicts) {
    if (conflict.position) continue;
    const std::size_t position = collection.karten.size();
    auto record = std::make_shared<kk::CardRecord>(std::move(*conflict.stored));
    snapshot.cards.push_back({conflict.name, card_fingerprint(*record, position)});
    collection.karten.set(conflict.name, std::move(record));
  }
  // The collection holds what the snapshot says again.
  snapshot.change_period = collection.karten.forget_changes();
  return names;
}

std::vector<std::string> conflicting_names(const std::vector<Conflict>& conflicts) {
  std::vector<std::string> names;
  for (const Conflict& conflict : conflicts) names.push_back(conflict.name);
  return names;
}

// The whole file; an empty file gives an empty text.
std::string read_text_file(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (file) {
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.bad()) return text;
  }
  const int error = errno;
  throw db::FileError(error, "cannot read", path);
}

}  // namespace

PickleDump::PickleDump(platform::Environment& environment) : environment_(environment) {}

std::pair<SammlungRef, bool> PickleDump::get_haendesammlung(const std::string& name) const {
  const fs::path path = collections_path();
  if (!holds_data(path)) return {nullptr, false};
  db::Connection connection = open_for_reading(path);
  db::Transaction reading(connection, db::TransactionKind::deferred);
  std::optional<Dict> metadata = read_metadata(connection, name);
  if (!metadata) return {nullptr, false};
  kk::CardMap cards = read_cards(connection, name);
  reading.commit();

  const int startzeit_tag = 3;
  auto collection = std::make_shared<Haendesammlung>(
      environment_, std::make_shared<platform::Zeitberechnungen>(environment_.cf, startzeit_tag), 0,
      name, startzeit_tag, std::move(*metadata), std::move(cards));
  collection->stored = snapshot_of(name, *collection, encode_json(collection->metadata));
  return {std::move(collection), true};
}

std::vector<std::string> PickleDump::stored_collection_names() const {
  const fs::path path = collections_path();
  if (!holds_data(path)) return {};
  db::Connection connection = open_for_reading(path);
  db::Statement statement = connection.prepare("SELECT name FROM collection ORDER BY name");
  std::vector<std::string> names;
  while (statement.step()) names.push_back(statement.column_text(0));
  return names;
}

SaveCounts PickleDump::save_haendesammlung(const std::string& name,
                                           Haendesammlung& collection) const {
  const std::string metadata_json = encode_json(collection.metadata);
  const std::uint64_t metadata_json_fingerprint = metadata_fingerprint(metadata_json);
  const StoredSnapshot* before =
      collection.stored.stored_name == name ? &collection.stored : nullptr;

  const fs::path path = collections_path();
  if (holds_data(path)) {
    db::check_database_file(path);
  } else {
    fs::create_directories(path.parent_path());
  }
  db::Connection connection(path, db::OpenMode::create);
  db::Transaction transaction(connection);
  prepare_schema(connection);
  SaveCounts counts;
  if (before == nullptr || before->metadata_fingerprint != metadata_json_fingerprint) {
    write_metadata(connection, name, metadata_json);
    counts.metadata_written = true;
  }
  SnapshotChanges changes;
  write_cards(connection, name, collection, before, changes);
  remove_cards(connection, name, collection,
               gone_cards(connection, name, collection, before, changes), before, changes);
  append_unsaved_log(connection, collection, conflicting_names(changes.conflicts));
  transaction.commit();
  collection.unsaved_log.clear();
  counts.cards_written = changes.written.size();
  counts.cards_removed = changes.removed.size();
  update_snapshot(collection, name, metadata_json_fingerprint, changes);
  if (!changes.conflicts.empty()) {
    throw CollectionConflict(name, take_stored_versions(collection, changes.conflicts));
  }
  return counts;
}

AnswerLogTail PickleDump::answer_log_after(std::int64_t seq) const {
  const fs::path path = collections_path();
  if (!holds_data(path)) return {};
  db::Connection connection = open_for_reading(path);
  db::Transaction reading(connection, db::TransactionKind::deferred);
  AnswerLogTail tail{last_log_seq(connection), log_rows_after(connection, seq)};
  reading.commit();
  return tail;
}

std::optional<AnswerLogRow> PickleDump::latest_answer_of_day(
    const std::string& day, const std::vector<std::string>& collections) const {
  const fs::path path = collections_path();
  if (!holds_data(path)) return std::nullopt;
  db::Connection connection = open_for_reading(path);
  return kk::latest_answer_of_day(connection, day, collections);
}

std::vector<AnswerLogRow> PickleDump::answers_to_card(const std::string& card) const {
  const fs::path path = collections_path();
  if (!holds_data(path)) return {};
  db::Connection connection = open_for_reading(path);
  return kk::answers_to_card(connection, card);
}

std::vector<AnswerLogRow> PickleDump::kept_answers() const {
  const fs::path path = collections_path();
  if (!holds_data(path)) return {};
  db::Connection connection = open_for_reading(path);
  return kk::kept_answers(connection);
}

std::optional<Dict> PickleDump::get_kkv_settings() const {
  const fs::path path = settings_path();
  if (!fs::exists(path)) return std::nullopt;
  const std::string text = read_text_file(path);
  Value settings;
  try {
    settings = decode_json(text);
  } catch (const ValueError& error) {
    throw ValueError("settings file " + repr(path.string()) + " cannot be read: " + error.what());
  }
  if (!settings.is_dict()) {
    throw ValueError("settings file " + repr(path.string()) + " does not hold a mapping");
  }
  return settings.as_dict();
}

std::filesystem::path PickleDump::keep_damaged_settings_aside() const {
  return db::set_damaged_file_aside(settings_path());
}

void PickleDump::save_default_values(const Dict& dictionary) const {
  const fs::path path = settings_path();
  const std::string text = encode_json(dictionary);
  db::write_file_durably(path, text);
}

std::filesystem::path PickleDump::collections_path() const {
  return environment_.app_data_dir() + "collections.sqlite";
}

std::filesystem::path PickleDump::settings_path() const {
  return environment_.app_data_dir() + "settings/kkv_settings.eps";
}

}  // namespace tavo::kk
