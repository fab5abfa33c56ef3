// Haendesammlung: one hand collection, its cards and its per-day metadata.
//
// A collection holds its cards as shared records (`karten`) and a metadata
// mapping. Per-day values are kept under their statistic, then under the
// learning day's text key: metadata["heute_falsch"]["2021-9-22"] is the list
// of cards answered "again" on that day. The learning day begins at
// `startzeit_tag` o'clock and its key comes from cf().
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "karteikarten/cards/card_map.hpp"
#include "karteikarten/cards/karteikarte.hpp"
#include "platform/zeitberechnungen.hpp"
#include "value/value.hpp"

namespace tavo::platform {

// What the store holds of a collection, as of its last load or save: the
// name it is stored under, the fingerprint of each stored card (its record
// and its place in the card order) and of the metadata. Kept by PickleDump
// so that a save writes only what changed. A snapshot taken under another
// name than the one saved under (or none at all) says nothing about the
// store, and the save writes everything.
struct StoredSnapshot {
  std::optional<std::string> stored_name;
  std::unordered_map<std::string, std::uint64_t> card_fingerprints;
  std::optional<std::uint64_t> metadata_fingerprint;
};

class Haendesammlung {
 public:
  Haendesammlung(std::shared_ptr<Zeitberechnungen> zeitberechnung, std::int64_t vorauslernen,
                 std::string name, int startzeit_tag, Dict metadata = Dict(),
                 kk::CardMap karten = kk::CardMap());
  virtual ~Haendesammlung() = default;

  // ---- storage ----

  // Fresh cards for the hand module `modul` (card key to hand data mapping):
  // each key without a "-" becomes `name` + "-" + key, and each card gets
  // the initial learning state on top of its hand data. TypeError when hand
  // data is not a mapping.
  kk::CardMap haendesammlung_karteikarten_info_neu_erstellen(const Dict& modul,
                                                             const std::string& name) const;
  // Saves `dictionary` in the store under `name`; `modus` is accepted for
  // the host and has no effect.
  void dictionary_speichern(const std::string& name, Haendesammlung& dictionary,
                            const Value& modus);
  // Gives every card without one its fixed ordering value: for
  // "permanent_fudge_neu" the next numbers in collection order (new cards
  // come in deck order), for "permanent_fudge_wdh" a random order of the
  // next numbers. Values already set are kept, so they stay permanent.
  // ValueError for any other key.
  void set_permanent_fudge(const std::string& key);
  // Card i of `karten` gets the fudge rs[position + i]. IndexError when `rs`
  // is too short.
  void fudge_erneuern(std::size_t position, const std::vector<std::int64_t>& rs);
  // True when some card name does not begin with the collection's name and
  // "-" (for a forgotten-cards collection: with the name it was cloned from).
  virtual bool test_karten_enthaelt_falsche_bezeichner() const;
  // An independent copy: every record and the metadata are copied; name,
  // settings and the stored snapshot are the same.
  virtual std::shared_ptr<Haendesammlung> clone() const;
  // KeyError when the card is absent.
  void remove_card(const std::string& name);
  // Writes the learning state of the scheduled `karteikarte` into the record
  // of the same name: learnstatus, reps, lapses, due, ease_factor,
  // steps_index, interval, zuletzt_vergessen, faellig_erstes_mal,
  // last_interval_no_lapse, last_interval, beantwortungszeiten,
  // karte_ist_neu and letzte_antwort. KeyError when the card is absent.
  void aendere_karteikarte_in_dictionary(const kk::Karteikarte& karteikarte);
  // Sets the number of days of learning ahead.
  void set_vorauslernen_tage(std::int64_t zahl);

  // ---- today's metadata ----

  // The current learning day's text key, e.g. "2021-9-22".
  std::string datum_heute() const;
  // Today's value under `key`, or None when there is none. A list or dict
  // is the stored one itself, so that changing it changes the metadata.
  Value get_metadata_heute(const std::string& key) const;
  // Records `wert` for today under `key`:
  //   a number (or bool) replaces today's value;
  //   a text, or a list of texts, adds each name not yet in today's list;
  //   any other value (a list of numbers, a dict, ...) replaces today's value.
  void set_metadata(const std::string& key, const Value& wert);
  // Appends the pair (wert, now) to today's list under `key`.
  void append_to_metadata(const std::string& key, const Value& wert, const Value& now);
  // Removes the name `card` from today's list under `key`, if it is there.
  void remove_from_metadata(const std::string& key, const std::string& card);

  std::string name;
  kk::CardMap karten;
  Dict metadata;
  // Set and cleared by the module between its queries.
  Value neue_dict;
  std::shared_ptr<Zeitberechnungen> zeitberechnung;
  std::int64_t vorauslernen;
  int startzeit_tag;
  // Maintained by PickleDump.
  StoredSnapshot stored;
};

using SammlungRef = std::shared_ptr<Haendesammlung>;

}  // namespace tavo::platform
