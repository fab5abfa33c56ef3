// PickleDump: where collections and settings are stored.
//
// Collections live in one SQLite database, "collections.sqlite" in the
// environment's application data directory: one row per collection (its metadata as
// JSON) and one row per card with a typed column for each learning field.
// A save writes only the cards whose stored fingerprint changed since the
// last load or save, removes cards that are gone, and appends the
// collection's answers to the answer log, in one transaction.
// It finds the cards without a pass over all of them: the collection's card
// map marks every card that changes (see CardMap), and the save compares
// just those with the snapshot. When the map cannot tell (its card order
// changed, or it was replaced or copied since the snapshot), the save
// compares every card.
//
// Several programs may hold one stored collection at once. A save never
// overwrites another program's change of a card: before it writes or
// removes a card, it reads that card's row and compares it with the
// snapshot of what this program loaded or last saved. A card that another
// program changed, removed or added since then is neither written nor
// removed, unless the store already holds exactly what the save would
// write. The rest of the save is kept (a learner's other answers are not
// lost); once it is committed, the collection takes the store's version of
// each such card (a removed card leaves the collection, a card this save
// would have removed comes back), so that the next save does not meet the
// conflict again, and the save throws one CollectionConflict naming the
// collection and the cards. A save without a snapshot under its name (a
// collection not loaded from the store, or stored under a new name) has
// nothing to compare with and writes every card. The metadata is not
// compared: the later save's metadata holds.
// Settings live as JSON in "settings/kkv_settings.eps", written to a
// temporary file that is renamed into place. Nothing is kept open between
// calls, and nothing stored is ever executed when read.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/collection/answer_log.hpp"
#include "karteikarten/collection/collection_conflict.hpp"
#include "karteikarten/collection/haendesammlung.hpp"
#include "platform/environment.hpp"
#include "value/value.hpp"

namespace tavo::kk {

// The end of the answer log: its highest sequence number, and the rows
// after a given one.
struct AnswerLogTail {
  std::int64_t last_seq = 0;
  std::vector<AnswerLogRow> rows;
};

// What one save wrote.
struct SaveCounts {
  std::size_t cards_written = 0;
  std::size_t cards_removed = 0;
  bool metadata_written = false;
};

class PickleDump {
 public:
  // Stores in the application data directory of `environment`, which also
  // gives the loaded collections their clock and random source. It must
  // outlive the store and the collections it loads.
  explicit PickleDump(platform::Environment& environment);

  // The stored collection `name` with its cards, metadata and snapshot, and
  // true; or (nullptr, false) when nothing is stored under that name. The
  // collection is built with learning-day start 3 and no learning ahead; the
  // caller takes its cards and metadata. db::Error when the store exists but
  // cannot be read.
  std::pair<SammlungRef, bool> get_haendesammlung(const std::string& name) const;

  // Stores `collection` under `name` and updates its snapshot: the metadata
  // when it changed, each card whose record or place in the card order
  // changed, and the removal of cards the snapshot holds that are gone.
  // When the snapshot was taken under another name (or never), every card
  // and the metadata are written and any other card stored under `name` is
  // removed. Creates the store and its directory when missing. db::Error on
  // failure, with the store and the snapshot left as they were.
  // CollectionConflict, after the rest of the save is committed, when cards
  // were changed by another program since the snapshot (see above); the
  // collection then holds the store's version of them.
  SaveCounts save_haendesammlung(const std::string& name, Haendesammlung& collection) const;

  // The names of the stored collections, in name order; empty when nothing
  // is stored. db::Error when the store exists but cannot be read.
  std::vector<std::string> stored_collection_names() const;

  // ---- the answer log (see answer_log.hpp) ----
  //
  // Each reads the store as it is; nothing when nothing is stored. db::Error
  // when the store or a row of the log cannot be read.

  // The log's highest sequence number and its rows after `seq`.
  AnswerLogTail answer_log_after(std::int64_t seq) const;
  // The newest answer of the learning day `day` to a card of one of
  // `collections` that was not taken back.
  std::optional<AnswerLogRow> latest_answer_of_day(
      const std::string& day, const std::vector<std::string>& collections) const;
  // The answers to the card `card` not taken back, oldest first.
  std::vector<AnswerLogRow> answers_to_card(const std::string& card) const;
  // Every answer not taken back, oldest first.
  std::vector<AnswerLogRow> kept_answers() const;

  // The stored settings mapping, or nullopt when none was saved. ValueError
  // when the file does not hold a settings mapping, std::system_error when
  // it cannot be read.
  std::optional<Dict> get_kkv_settings() const;
  // Renames the settings file that get_kkv_settings() rejected to
  // "kkv_settings.eps.damaged" (replacing an older one), so that the next
  // save does not overwrite what may still be recovered by hand. Returns
  // the new name. db::FileError when renaming fails.
  std::filesystem::path keep_damaged_settings_aside() const;
  // Stores `dictionary` so that the next get_kkv_settings() returns it
  // unchanged, replacing the file atomically. std::system_error when the
  // file cannot be written.
  void save_default_values(const Dict& dictionary) const;

  // The collections database and the settings file, in the application
  // data directory.
  std::filesystem::path collections_path() const;
  std::filesystem::path settings_path() const;

 private:
  platform::Environment& environment_;
};

}  // namespace tavo::kk
