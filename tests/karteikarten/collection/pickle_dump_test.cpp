#include "karteikarten/collection/pickle_dump.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <numeric>
#include <tuple>

#include "db/connection.hpp"
#include "db/error.hpp"
#include "db/statement.hpp"
#include "platform/environment.hpp"
#include "support/test_environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using testing::TestEnvironment;

std::string contents_of(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Every card as the host sees it, in card order.
std::vector<std::string> card_reprs(const Haendesammlung& sammlung) {
  std::vector<std::string> cards;
  for (const auto& [name, record] : sammlung.karten) {
    cards.push_back(name + " " + repr(kk::card_record_to_value(*record)));
  }
  return cards;
}

using Saved = std::tuple<std::size_t, std::size_t, bool>;

// Each test stores into its own data directory, at a frozen moment.
class PickleDumpTest : public ::testing::Test {
 protected:
  // What saving `sammlung` under `name` did: cards written, cards removed,
  // metadata written.
  Saved save(const std::string& name, Haendesammlung& sammlung) {
    const SaveCounts counts = store_.save_haendesammlung(name, sammlung);
    return {counts.cards_written, counts.cards_removed, counts.metadata_written};
  }

  // A freshly registered collection of `count` question/answer cards.
  SammlungRef registered(const std::string& name = "kk_test", int count = 3) {
    platform::Environment& environment = test_.environment;
    auto sammlung = std::make_shared<Haendesammlung>(
        environment, std::make_shared<platform::Zeitberechnungen>(environment.cf, 3), 0, name, 3);
    Dict modul;
    for (int hand = 1; hand <= count; ++hand) {
      modul.set(hand, Dict{{"fragetext", "Q" + std::to_string(hand)},
                           {"antworttext", "A" + std::to_string(hand)}});
    }
    sammlung->karten = sammlung->haendesammlung_karteikarten_info_neu_erstellen(modul, name);
    return sammlung;
  }

  // The collection as a new process would find it.
  SammlungRef reloaded(const std::string& name = "kk_test") {
    auto [sammlung, success] = store_.get_haendesammlung(name);
    EXPECT_TRUE(success);
    return sammlung;
  }

  TestEnvironment test_{DateTime(2021, 9, 22, 12).to_epoch_seconds()};
  const PickleDump store_{test_.environment};
};

TEST_F(PickleDumpTest, ASavedCollectionLoadsExactlyAsItWas) {
  const SammlungRef sammlung = registered();
  kk::CardRecord& card = sammlung->karten.at("kk_test-2").edit();
  card.reps = 3;
  card.learnstatus = kk::Learnstatus::relearning;
  card.due = kk::Due::at(1632304800.25);
  card.ease_factor = 250;
  card.interval = 2.5;
  card.zuletzt_vergessen = 1632300000.5;
  card.faellig_erstes_mal = DateTime(2021, 9, 22, 10, 11, 12, 345678);
  card.beantwortungszeiten.append(4.5);
  card.beantwortungszeiten.append(7);
  card.last_interval = List{1.0, 3};
  card.letzte_antwort = "good";
  card.extra.set("hand", Dict{{"N", Tuple{"SA", "HK"}}, {"board", 4}});
  sammlung->karten.at("kk_test-3").edit().due = kk::Due::done();
  sammlung->karten.at("kk_test-3").edit().interval = 3.0;
  sammlung->karten.at("kk_test-3").edit().nur_reizung = false;
  sammlung->karten.at("kk_test-1").edit().interval = None;
  sammlung->karten.at("kk_test-1").edit().karte_ist_neu = false;
  sammlung->karten.at("kk_test-1").set_fudge(7);
  sammlung->set_permanent_fudge("permanent_fudge_neu");
  sammlung->set_metadata("heute_schon_angesehen", "kk_test-2");
  sammlung->append_to_metadata("faellig_liste", 1, DateTime(2021, 9, 22, 12));
  sammlung->dictionary_speichern("kk_test", *sammlung, false);

  const SammlungRef loaded = reloaded();
  EXPECT_EQ(loaded->name, "kk_test");
  EXPECT_EQ(card_reprs(*loaded), card_reprs(*sammlung));
  EXPECT_EQ(repr(loaded->metadata), repr(sammlung->metadata));
  EXPECT_EQ(loaded->startzeit_tag, 3);
  EXPECT_EQ(loaded->vorauslernen, 0);
  EXPECT_EQ(&loaded->environment(), &test_.environment);
  EXPECT_EQ(loaded->datum_heute(), "2021-9-22");
  // Every kind of field reads back with the fingerprint it was saved with,
  // so the next save finds the store as its snapshot says.
  sammlung->karten.at("kk_test-2").edit().reps = 4;
  sammlung->karten.at("kk_test-3").edit().reps = 1;
  EXPECT_EQ(save("kk_test", *sammlung), Saved(2, 0, false));

  // Stores written before hold this table: its columns keep their names
  // and kinds so that they stay readable.
  db::Connection store(store_.collections_path(), db::OpenMode::read_only);
  db::Statement schema = store.prepare("SELECT sql FROM sqlite_master WHERE name = 'card'");
  ASSERT_TRUE(schema.step());
  EXPECT_EQ(schema.column_text(0),
            "CREATE TABLE card (collection TEXT NOT NULL, name TEXT NOT NULL, position INTEGER NOT "
            "NULL, learnstatus TEXT NOT NULL, reps INTEGER NOT NULL, lapses INTEGER NOT NULL, due, "
            "ease_factor, steps_index INTEGER NOT NULL, interval, zuletzt_vergessen REAL, "
            "faellig_erstes_mal TEXT, last_interval_no_lapse TEXT NOT NULL, last_interval TEXT NOT "
            "NULL, beantwortungszeiten TEXT NOT NULL, karte_ist_neu INTEGER NOT NULL, "
            "letzte_antwort TEXT, permanent_fudge_neu INTEGER, permanent_fudge_wdh INTEGER, fudge "
            "INTEGER, fragetext TEXT, antworttext TEXT, nur_reizung INTEGER, extra TEXT NOT NULL, "
            "PRIMARY KEY (collection, name)) WITHOUT ROWID");
}

TEST_F(PickleDumpTest, NothingStoredMeansNoCollectionAndNoFile) {
  EXPECT_EQ(store_.collections_path(), test_.data_dir / "collections.sqlite");
  EXPECT_EQ(store_.settings_path(), test_.data_dir / "settings/kkv_settings.eps");
  EXPECT_EQ(store_.get_haendesammlung("kk_test"), std::make_pair(SammlungRef(), false));
  EXPECT_FALSE(std::filesystem::exists(store_.collections_path()));
  store_.save_haendesammlung("other", *registered("other"));
  EXPECT_EQ(store_.get_haendesammlung("kk_test"), std::make_pair(SammlungRef(), false));
}

// A change made through a record reference kept past a save is not marked:
// it shows that a save visits only the cards marked as changed, as long as
// no card moved in the card order.
TEST_F(PickleDumpTest, ASaveWritesOnlyTheCardsMarkedAsChanged) {
  EXPECT_EQ(save("kk_test", *registered("kk_test", 1000)), Saved(1000, 0, true));
  const SammlungRef loaded = reloaded();
  EXPECT_EQ(save("kk_test", *loaded), Saved(0, 0, false));
  kk::CardRecord& unmarked = loaded->karten.at("kk_test-10").edit();
  EXPECT_EQ(save("kk_test", *loaded), Saved(0, 0, false));
  unmarked.reps = 7;
  loaded->karten.at("kk_test-2").edit().reps = 1;
  EXPECT_EQ(save("kk_test", *loaded), Saved(1, 0, false));
  std::vector<std::int64_t> fudges(1000);
  std::iota(fudges.rbegin(), fudges.rend(), 1);
  loaded->fudge_erneuern(0, fudges);
  EXPECT_EQ(save("kk_test", *loaded), Saved(0, 0, false));
  loaded->set_metadata("reps", 1);
  EXPECT_EQ(save("kk_test", *loaded), Saved(0, 0, true));
  // Erasing the last card and adding one at the end moves no other card.
  loaded->remove_card("kk_test-1000");
  loaded->karten.set("kk_test-1001", std::make_shared<kk::CardRecord>());
  EXPECT_EQ(save("kk_test", *loaded), Saved(1, 1, false));
  const SammlungRef stored = reloaded();
  EXPECT_EQ(stored->karten.at("kk_test-2")->reps, 1);
  EXPECT_EQ(stored->karten.at("kk_test-10")->reps, 0);
  EXPECT_FALSE(stored->karten.contains("kk_test-1000"));
  EXPECT_EQ(stored->karten.names().back(), "kk_test-1001");

  // Erasing the first card moves every other one: all are compared again.
  loaded->remove_card("kk_test-1");
  EXPECT_EQ(save("kk_test", *loaded), Saved(999, 1, false));
  EXPECT_EQ(reloaded()->karten.at("kk_test-10")->reps, 7);
  EXPECT_EQ(save("kk_test", *loaded), Saved(0, 0, false));
}

TEST_F(PickleDumpTest, RemovedCardsAreDeletedAndTheCardOrderIsKept) {
  const SammlungRef sammlung = registered();
  save("kk_test", *sammlung);
  sammlung->remove_card("kk_test-1");
  // The remaining cards moved up in the order, so their rows are rewritten.
  EXPECT_EQ(save("kk_test", *sammlung), Saved(2, 1, false));
  EXPECT_EQ(reloaded()->karten.names(), (std::vector<std::string>{"kk_test-2", "kk_test-3"}));

  const kk::CardRef moved = sammlung->karten.at("kk_test-2");
  sammlung->remove_card("kk_test-2");
  sammlung->karten.set("kk_test-2", moved);
  EXPECT_EQ(save("kk_test", *sammlung), Saved(2, 0, false));
  EXPECT_EQ(reloaded()->karten.names(), (std::vector<std::string>{"kk_test-3", "kk_test-2"}));
}

TEST_F(PickleDumpTest, SavingUnderAnotherNameWritesEverythingAndReplacesWhatWasThere) {
  save("kk_test", *registered());
  // The cards of an earlier drill.
  save("kk_test_vergessen", *registered());
  const SammlungRef drill = reloaded("kk_test")->clone();
  drill->remove_card("kk_test-3");
  drill->name = "kk_test_vergessen";

  EXPECT_EQ(save(drill->name, *drill), Saved(2, 1, true));
  EXPECT_EQ(reloaded("kk_test_vergessen")->karten.size(), 2u);
  EXPECT_EQ(reloaded("kk_test")->karten.size(), 3u);
  EXPECT_EQ(save(drill->name, *drill), Saved(0, 0, false));
}

TEST_F(PickleDumpTest, AFailedSaveLeavesStoreAndSnapshotAsTheyWere) {
  const SammlungRef sammlung = registered();
  store_.save_haendesammlung("kk_test", *sammlung);
  {
    db::Connection connection(store_.collections_path(), db::OpenMode::read_write);
    connection.execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON card WHEN NEW.name = 'kk_test-3' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
  }
  sammlung->karten.at("kk_test-1").edit().reps = 5;
  sammlung->karten.at("kk_test-3").edit().reps = 5;
  EXPECT_THROW(store_.save_haendesammlung("kk_test", *sammlung), db::Error);
  EXPECT_EQ(reloaded()->karten.at("kk_test-1")->reps, 0);

  db::Connection(store_.collections_path(), db::OpenMode::read_write)
      .execute("DROP TRIGGER refuse");
  EXPECT_EQ(save("kk_test", *sammlung), Saved(2, 0, false));
  EXPECT_EQ(reloaded()->karten.at("kk_test-3")->reps, 5);
}

// Two programs on one store: "here" and "elsewhere" each load the
// collection; elsewhere changes it and saves, then here changes it and
// saves. Reps mark whose version a card holds: 10 elsewhere, 20 here.
struct ConflictCase {
  const char* what;
  std::function<void(Haendesammlung&)> elsewhere;
  std::function<void(Haendesammlung&)> here;
  std::vector<std::string> conflicting;
  // The message, without its closing words on the store's version.
  std::string message;
  // "card reps" in card order, after here's save.
  std::vector<std::string> stored;
  std::vector<std::string> held_here;
};

void set_reps(Haendesammlung& sammlung, std::initializer_list<int> cards, std::int64_t reps) {
  for (const int card : cards) {
    sammlung.karten.at("kk_test-" + std::to_string(card)).edit().reps = reps;
  }
}

void add_card(Haendesammlung& sammlung, std::int64_t reps) {
  auto record = std::make_shared<kk::CardRecord>();
  record->reps = reps;
  sammlung.karten.set("kk_test-4", record);
}

std::vector<std::string> reps_of(const Haendesammlung& sammlung) {
  std::vector<std::string> cards;
  for (const auto& [name, record] : sammlung.karten) {
    cards.push_back(name + " " + std::to_string(record->reps));
  }
  return cards;
}

const ConflictCase conflict_cases[] = {
    {"cards changed elsewhere keep the store's version, the others are written",
     [](Haendesammlung& s) {
       set_reps(s, {1, 2}, 10);
     },
     [](Haendesammlung& s) {
       set_reps(s, {1, 2, 3}, 20);
     },
     {"kk_test-1", "kk_test-2"},
     "collection 'kk_test': 2 cards were changed by another program since they were loaded and "
     "were not saved: kk_test-1, kk_test-2",
     {"kk_test-1 10", "kk_test-2 10", "kk_test-3 20"},
     {"kk_test-1 10", "kk_test-2 10", "kk_test-3 20"}},
    {"a card removed elsewhere is not stored again",
     [](Haendesammlung& s) { s.remove_card("kk_test-1"); },
     [](Haendesammlung& s) {
       set_reps(s, {1, 3}, 20);
     },
     {"kk_test-1"},
     "collection 'kk_test': 1 card was changed by another program since it was loaded and was "
     "not saved: kk_test-1",
     {"kk_test-2 0", "kk_test-3 20"},
     {"kk_test-2 0", "kk_test-3 20"}},
    {"a card changed elsewhere is not removed, and comes back here",
     [](Haendesammlung& s) { set_reps(s, {2}, 10); },
     [](Haendesammlung& s) {
       s.remove_card("kk_test-2");
       set_reps(s, {3}, 20);
     },
     {"kk_test-2"},
     "collection 'kk_test': 1 card was changed by another program since it was loaded and was "
     "not saved: kk_test-2",
     {"kk_test-1 0", "kk_test-2 10", "kk_test-3 20"},
     {"kk_test-1 0", "kk_test-3 20", "kk_test-2 10"}},
    {"a card added elsewhere is not replaced by one of the same name",
     [](Haendesammlung& s) { add_card(s, 10); },
     [](Haendesammlung& s) { add_card(s, 20); },
     {"kk_test-4"},
     "collection 'kk_test': 1 card was changed by another program since it was loaded and was "
     "not saved: kk_test-4",
     {"kk_test-1 0", "kk_test-2 0", "kk_test-3 0", "kk_test-4 10"},
     {"kk_test-1 0", "kk_test-2 0", "kk_test-3 0", "kk_test-4 10"}},
    {"the same change made elsewhere is no conflict",
     [](Haendesammlung& s) { set_reps(s, {2}, 10); },
     [](Haendesammlung& s) { set_reps(s, {2}, 10); },
     {},
     "",
     {"kk_test-1 0", "kk_test-2 10", "kk_test-3 0"},
     {"kk_test-1 0", "kk_test-2 10", "kk_test-3 0"}},
    {"other cards and another program's card order never conflict",
     [](Haendesammlung& s) {
       s.remove_card("kk_test-1");
       set_reps(s, {2}, 10);
     },
     [](Haendesammlung& s) { set_reps(s, {3}, 20); },
     {},
     "",
     {"kk_test-2 10", "kk_test-3 20"},
     {"kk_test-1 0", "kk_test-2 0", "kk_test-3 20"}},
};

TEST_F(PickleDumpTest, ASaveNeverOverwritesAnotherProgramsChangeOfACard) {
  for (const ConflictCase& test : conflict_cases) {
    SCOPED_TRACE(test.what);
    std::filesystem::remove(store_.collections_path());
    save("kk_test", *registered());
    const SammlungRef here = store_.get_haendesammlung("kk_test").first;
    const SammlungRef elsewhere = store_.get_haendesammlung("kk_test").first;
    test.elsewhere(*elsewhere);
    store_.save_haendesammlung("kk_test", *elsewhere);
    test.here(*here);
    const kk::CardMap records_saved = here->karten;

    std::vector<std::string> conflicting;
    try {
      store_.save_haendesammlung("kk_test", *here);
    } catch (const CollectionConflict& conflict) {
      EXPECT_EQ(conflict.collection(), "kk_test");
      conflicting = conflict.cards();
      EXPECT_EQ(conflict.what(), test.message + " (the store keeps the other program's version)");
    }
    EXPECT_EQ(conflicting, test.conflicting);
    EXPECT_EQ(reps_of(*reloaded()), test.stored);
    EXPECT_EQ(reps_of(*here), test.held_here);
    // The store's version went into the records every holder shares.
    for (const auto& [name, record] : here->karten) {
      if (records_saved.contains(name)) {
        EXPECT_EQ(record, records_saved.at(name)) << name;
      }
    }

    // Here now holds what the store holds of those cards: the next save
    // writes none of them, and a new change of them is saved.
    EXPECT_EQ(save("kk_test", *here), Saved(0, 0, false));
    for (const std::string& name : conflicting) {
      if (here->karten.contains(name)) here->karten.at(name).edit().reps += 1;
    }
    EXPECT_NO_THROW(store_.save_haendesammlung("kk_test", *here));
    const SammlungRef stored = reloaded();
    for (const std::string& name : conflicting) {
      ASSERT_EQ(stored->karten.contains(name), here->karten.contains(name)) << name;
      if (here->karten.contains(name)) {
        EXPECT_EQ(stored->karten.at(name)->reps, here->karten.at(name)->reps) << name;
      }
    }
  }
}

TEST_F(PickleDumpTest, ADamagedOrForeignStoreIsRejectedAndLeftAlone) {
  const std::filesystem::path path = store_.collections_path();
  store_.save_haendesammlung("kk_test", *registered());
  std::string damaged = contents_of(path);
  damaged.replace(0, 16, "not a database!!");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;

  EXPECT_THROW(store_.get_haendesammlung("kk_test"), db::Error);
  EXPECT_THROW(store_.save_haendesammlung("kk_test", *registered()), db::Error);
  EXPECT_EQ(contents_of(path), damaged);

  std::filesystem::remove(path);
  db::Connection(path, db::OpenMode::create).execute("CREATE TABLE collection (name TEXT)");
  EXPECT_THROW(store_.get_haendesammlung("kk_test"), db::Error);
  EXPECT_THROW(store_.save_haendesammlung("kk_test", *registered()), db::Error);
}

std::int64_t user_version(const std::filesystem::path& path) {
  db::Connection connection(path, db::OpenMode::read_only);
  db::Statement version = connection.prepare("PRAGMA user_version");
  version.step();
  return version.column_int64(0);
}

// A store the first version wrote has no answer log: whatever opens it
// first adds the log in place, keeping every card and the metadata.
TEST_F(PickleDumpTest, AStoreOfTheFirstVersionIsUpgradedInPlaceAndALaterOneRefused) {
  const std::filesystem::path path = store_.collections_path();
  const SammlungRef sammlung = registered();
  sammlung->karten.at("kk_test-2").edit().reps = 3;
  sammlung->set_metadata("heute_schon_angesehen", "kk_test-2");
  const struct {
    const char* what;
    std::function<void()> open;
    std::int64_t logged;
  } openings[] = {
      {"loading it", [&] { reloaded(); }, 0},
      {"reading its log", [&] { store_.answer_log_after(0); }, 0},
      {"saving an answer",
       [&] {
         sammlung->unsaved_log.push_back(begin_logged_answer(
             *sammlung, "kk_test-1", *sammlung->karten.at("kk_test-1"), "good", 1632304800));
         sammlung->karten.at("kk_test-1").edit().reps = 1;
         store_.save_haendesammlung("kk_test", *sammlung);
       },
       1},
  };
  for (const auto& opening : openings) {
    SCOPED_TRACE(opening.what);
    std::filesystem::remove(path);
    sammlung->stored = StoredSnapshot();
    store_.save_haendesammlung("kk_test", *sammlung);
    db::Connection(path, db::OpenMode::read_write)
        .execute("DROP TABLE answer_log; PRAGMA user_version = 1");

    opening.open();
    EXPECT_EQ(user_version(path), 2);
    EXPECT_EQ(store_.answer_log_after(0).last_seq, opening.logged);
    const SammlungRef loaded = reloaded();
    EXPECT_EQ(card_reprs(*loaded), card_reprs(*sammlung));
    EXPECT_EQ(repr(loaded->metadata), repr(sammlung->metadata));
  }

  db::Connection(path, db::OpenMode::read_write).execute("PRAGMA user_version = 3");
  const std::string later = contents_of(path);
  const std::string message = "collections store \"" + path.string() +
                              "\" has schema version 3 (written by a later version of this "
                              "module), expected 2";
  EXPECT_THAT([&] { store_.get_haendesammlung("kk_test"); },
              ::testing::ThrowsMessage<db::Error>(::testing::StrEq(message)));
  EXPECT_THAT([&] { store_.save_haendesammlung("kk_test", *sammlung); },
              ::testing::ThrowsMessage<db::Error>(::testing::StrEq(message)));
  EXPECT_EQ(contents_of(path), later);
}

TEST_F(PickleDumpTest, SettingsComeBackUnchangedAndMustBeAMapping) {
  EXPECT_EQ(store_.get_kkv_settings(), std::nullopt);
  const Dict settings{{"startzeit_tag", 3},
                      {"NEW_STEPS", List{1, 10}},
                      {"EASY_BONUS", 130.0},
                      {"neue_karten_nur_heute", Dict{{"2021-9-22", 7}}},
                      {"leer", None}};
  store_.save_default_values(Dict{{"startzeit_tag", 5}});
  store_.save_default_values(settings);

  const std::optional<Dict> loaded = store_.get_kkv_settings();
  ASSERT_TRUE(loaded);
  EXPECT_EQ(repr(*loaded), repr(settings));
  const std::filesystem::path path = store_.settings_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                          std::filesystem::directory_iterator()),
            1);

  std::ofstream(path) << "[1, 2]";
  EXPECT_THAT([this] { store_.get_kkv_settings(); },
              ::testing::ThrowsMessage<ValueError>(::testing::StrEq(
                  "settings file '" + path.string() + "' does not hold a mapping")));
}

}  // namespace
}  // namespace tavo::kk
