// Card records and the ordered map of them.
#include "karteikarten/cards/card_record.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

#include "karteikarten/cards/card_map.hpp"
#include "karteikarten/cards/fudge_permutation.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

// Missing keys take the initial learning state; numbers keep their kind
// except that moments become floats; extra keys come last.
TEST(CardRecordMapping, RoundTripKeepsNumberKindsAndPutsExtraKeysLast) {
  const List no_lapse{1, 3};
  const List zeiten{12.5};
  const Dict data{{"hand", List{"S", "AK"}},
                  {"fragetext", "Frage"},
                  {"antworttext", "Antwort"},
                  {"learnstatus", "relearning"},
                  {"due", 1632297600},
                  {"ease_factor", 230.0},
                  {"faellig_erstes_mal", DateTime(2021, 9, 22, 10)},
                  {"last_interval_no_lapse", no_lapse},
                  {"beantwortungszeiten", zeiten},
                  {"permanent_fudge_wdh", 9},
                  {"fudge", 5},
                  {7, "typ"}};
  const Dict back = card_record_to_value(card_record_from_value(data));
  EXPECT_EQ(repr(back),
            "{'fragetext': 'Frage', 'antworttext': 'Antwort', 'learnstatus': 'relearning', "
            "'reps': 0, 'lapses': 0, 'due': 1632297600.0, 'ease_factor': 230.0, "
            "'steps_index': 0, 'interval': 0, 'zuletzt_vergessen': None, "
            "'faellig_erstes_mal': datetime.datetime(2021, 9, 22, 10, 0), "
            "'last_interval_no_lapse': [1, 3], 'last_interval': [], 'beantwortungszeiten': [12.5], "
            "'karte_ist_neu': True, 'letzte_antwort': None, 'permanent_fudge_wdh': 9, 'fudge': 5, "
            "'hand': ['S', 'AK'], 7: 'typ'}");
  EXPECT_TRUE(back.at("last_interval_no_lapse").as_list().same(no_lapse));
  EXPECT_TRUE(back.at("beantwortungszeiten").as_list().same(zeiten));
  EXPECT_EQ(repr(card_record_from_value(Dict{{"interval", 2}}).interval), "2");
}

TEST(CardRecordMapping, NurReizungIsSetByExactlyTrue) {
  const std::pair<Value, std::optional<bool>> cases[] = {
      {1, true}, {true, true}, {"ja", false}, {None, false}};
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(card_record_from_value(Dict{{"nur_reizung", value}}).nur_reizung, expected)
        << repr(value);
  }
  EXPECT_EQ(card_record_from_value(Dict{}).nur_reizung, std::nullopt);
}

TEST(CardRecordMapping, DoneAndEmptyOrderingValues) {
  const CardRecord record = card_record_from_value(Dict{{"due", "done"}, {"fudge", None}});
  EXPECT_TRUE(record.due.is_done());
  EXPECT_FALSE(card_record_to_value(record).contains("fudge"));
  EXPECT_EQ(repr(card_record_from_value(Dict{{"interval", None}}).interval), "None");
}

TEST(CardRecordMapping, WrongKindsNameTheKeyAndLeaveTheRecord) {
  const std::tuple<const char*, Value, const char*> cases[] = {
      {"reps", "3", "must be int, got str"},
      {"permanent_fudge_neu", 1.5, "must be int, got float"},
      {"interval", true, "must be int or float, got bool"},
      {"ease_factor", None, "must be int or float, got NoneType"},
      {"zuletzt_vergessen", "gestern", "must be int or float, got str"},
      {"due", "later", "must be None, a number or 'done', got str"},
      {"karte_ist_neu", 1, "must be bool, got int"},
      {"beantwortungszeiten", Tuple{}, "must be list, got tuple"},
      {"faellig_erstes_mal", "2021-09-22", "must be datetime.datetime, got str"},
      {"letzte_antwort", 3, "must be str, got int"},
  };
  CardRecord record;
  for (const auto& [key, value, message] : cases) {
    EXPECT_THAT([&] { set_card_data_item(record, key, value); },
                ThrowsMessage<TypeError>(StrEq("card data '" + std::string(key) + "' " + message)));
  }
  EXPECT_THAT([&] { set_card_data_item(record, "learnstatus", "new"); },
              ThrowsMessage<ValueError>(StrEq("unknown learnstatus 'new'")));
  EXPECT_EQ(repr(card_record_to_value(record)), repr(card_record_to_value(CardRecord{})));
}

// The copies here are deep: a shared list would change both fingerprints.
TEST(StoredFingerprint, CoversEveryStoredValueButFudge) {
  const CardRecord record = card_record_from_value(Dict{{"hand", List{"S", Dict{{"n", 1}}}}});
  const auto changed = [&](auto change) {
    CardRecord copy = deep_copy(record);
    change(copy);
    return stored_fingerprint(copy) != stored_fingerprint(record);
  };
  EXPECT_TRUE(changed([](CardRecord& r) { r.reps = 1; }));
  EXPECT_TRUE(changed([](CardRecord& r) { r.last_interval_no_lapse.append(1); }));
  EXPECT_TRUE(
      changed([](CardRecord& r) { r.extra.at("hand").as_list().at(1).as_dict().set("n", 2); }));
  EXPECT_FALSE(changed([](CardRecord& r) { r.set_fudge(17); }));
  // Equal numbers of different kinds are different stored values.
  EXPECT_TRUE(changed([](CardRecord& r) { r.interval = 0.0; }));
  EXPECT_TRUE(changed([](CardRecord& r) { r.interval = false; }));

  // A copy keeps the lists shared within the record shared.
  CardRecord aliased;
  aliased.last_interval = aliased.last_interval_no_lapse;
  const CardRecord copy = deep_copy(aliased);
  EXPECT_TRUE(copy.last_interval.as_list().same(copy.last_interval_no_lapse));
  EXPECT_FALSE(copy.last_interval_no_lapse.same(aliased.last_interval_no_lapse));
}

CardRef record_with_reps(std::int64_t reps) {
  auto record = std::make_shared<CardRecord>();
  record->reps = reps;
  return record;
}

using Names = std::vector<std::string>;

TEST(CardMap, KeepsInsertionOrderThroughReplaceAndErase) {
  CardMap cards;
  for (const char* name : {"kk-1", "kk-2", "kk-3", "kk-4"}) cards.set(name, record_with_reps(0));
  const CardRef replacement = record_with_reps(5);
  cards.set("kk-2", replacement);
  cards.erase("kk-3");
  EXPECT_EQ(cards.at("kk-2"), replacement);
  EXPECT_EQ(cards.find("kk-3"), nullptr);
  cards.set("kk-3", record_with_reps(1));
  EXPECT_EQ(cards.names(), (Names{"kk-1", "kk-2", "kk-4", "kk-3"}));
  EXPECT_THAT([&] { cards.erase("kk-9"); }, ThrowsMessage<KeyError>(StrEq("'kk-9'")));
}

TEST(CardMap, ErasingAllButAFewOfALargeMapKeepsOrderAndLookup) {
  constexpr int count = 100'000;
  CardMap cards;
  for (int i = 0; i < count; ++i) cards.set("kk-" + std::to_string(i), record_with_reps(i));
  for (int i = 0; i < count; ++i) {
    if (i != 7 && i != 50'000 && i != count - 1) cards.erase("kk-" + std::to_string(i));
  }
  EXPECT_EQ(cards.at("kk-50000")->reps, 50'000);
  cards.erase("kk-7");
  cards.set("kk-1", record_with_reps(1));
  EXPECT_EQ(cards.names(), (Names{"kk-50000", "kk-99999", "kk-1"}));
}

TEST(CardMap, CopiesShareRecordsAndDeepCopiesDoNot) {
  CardMap cards;
  cards.set("kk-1", record_with_reps(0));
  const CardMap shallow = cards;
  shallow.at("kk-1").edit().reps = 3;
  CardMap deep = deep_copy(cards);
  deep.at("kk-1")->beantwortungszeiten.append(12);
  deep.erase("kk-1");
  EXPECT_EQ(cards.at("kk-1")->reps, 3);
  EXPECT_TRUE(cards.at("kk-1")->beantwortungszeiten.empty());
  EXPECT_EQ(cards.names(), (Names{"kk-1"}));
}

// What a map notes after forget_changes(): the cards changed since, or no
// period once it cannot tell.
struct ChangesCase {
  const char* what;
  std::function<void(CardMap& cards, CardMap& other)> change;
  std::optional<Names> changed;
  // Whether forgetting the changes starts a period again.
  bool tracked_again;
};

const ChangesCase changes_cases[] = {
    {"an edit, and a list changed in place and then noted",
     [](CardMap& cards, CardMap&) {
       cards.at("kk-3").edit().reps = 1;
       cards.at("kk-1")->beantwortungszeiten.append(5);
       cards.at("kk-1").note_change();
     },
     Names{"kk-1", "kk-3"}, true},
    {"a new fudge is no change", [](CardMap& cards, CardMap&) { cards.at("kk-2").set_fudge(4); },
     Names{}, true},
    {"a replaced and an added card",
     [](CardMap& cards, CardMap&) {
       cards.set("kk-2", record_with_reps(1));
       cards.set("kk-4", record_with_reps(0));
     },
     Names{"kk-2", "kk-4"}, true},
    {"the last card erased moves no other",
     [](CardMap& cards, CardMap&) {
       cards.at("kk-1").edit();
       cards.erase("kk-3");
       EXPECT_EQ(cards.erased_cards(), (std::unordered_map<std::string, std::size_t>{{"kk-3", 2}}));
     },
     Names{"kk-1"}, true},
    {"a card erased before others moves them",
     [](CardMap& cards, CardMap&) { cards.erase("kk-1"); }, std::nullopt, true},
    {"a record taken over by another map",
     [](CardMap& cards, CardMap& other) { other.set("kk-1", cards.at("kk-1")); }, std::nullopt,
     true},
    {"a copy tracks nothing; its records stay tracked by the map",
     [](CardMap& cards, CardMap&) {
       const CardMap copy = cards;
       copy.at("kk-2").edit();
       EXPECT_EQ(copy.change_period(), std::nullopt);
     },
     Names{"kk-2"}, true},
    {"a record held under a second name",
     [](CardMap& cards, CardMap&) { cards.set("kk-4", cards.at("kk-1")); }, std::nullopt, false},
};

TEST(CardMap, NotesItsChangedCardsWhileNoCardMoves) {
  for (const ChangesCase& test : changes_cases) {
    SCOPED_TRACE(test.what);
    CardMap cards;
    for (const char* name : {"kk-1", "kk-2", "kk-3"}) cards.set(name, record_with_reps(0));
    CardMap other;
    const std::optional<std::uint64_t> period = cards.forget_changes();
    ASSERT_NE(period, std::nullopt);
    EXPECT_TRUE(cards.changed_cards().empty());
    test.change(cards, other);

    std::optional<Names> changed;
    if (cards.change_period()) {
      EXPECT_EQ(cards.change_period(), period);
      changed.emplace();
      for (const auto& [position, entry] : cards.changed_cards()) {
        EXPECT_EQ(cards.names().at(position), entry->first);
        changed->push_back(entry->first);
      }
    }
    EXPECT_EQ(changed, test.changed);
    const std::optional<std::uint64_t> next = cards.forget_changes();
    EXPECT_EQ(next.has_value(), test.tracked_again);
    EXPECT_NE(next, period);
    EXPECT_TRUE(cards.changed_cards().empty());
    EXPECT_TRUE(cards.erased_cards().empty());
  }
}

// The choice keys a map keeps against the records they come from, after
// changes that reach the records in every way a host or a collection has.
const std::function<void(CardMap& cards, CardMap& other)> choice_key_changes[] = {
    [](CardMap& cards, CardMap&) { cards.at("kk-2").edit().due = Due::at(5); },
    [](CardMap& cards, CardMap&) {
      CardRecord& record = cards.at("kk-1").edit();
      record.due = Due::done();
      record.permanent_fudge_neu = 9;
      record.karte_ist_neu = false;
      cards.at("kk-1").edit().due = Due::at(6);
    },
    [](CardMap& cards, CardMap&) { cards.set("kk-3", record_with_reps(2)); },
    [](CardMap& cards, CardMap&) { cards.erase("kk-1"); },
    [](CardMap& cards, CardMap&) {
      cards.renew_fudges(FudgePermutation(3, 3), 0);
      cards.at("kk-2").set_fudge(-4);
    },
    [](CardMap& cards, CardMap& other) {
      other.set("kk-2", cards.at("kk-2"));
      other.at("kk-2").edit().due = Due::at(7);
      cards.forget_changes();
    },
    [](CardMap& cards, CardMap&) {
      const CardMap copy = cards;
      copy.at("kk-3").edit().due = Due::at(8);
    },
};

TEST(CardMap, KeepsItsChoiceKeysAsTheRecordsSay) {
  for (std::size_t index = 0; index < std::size(choice_key_changes); ++index) {
    SCOPED_TRACE(index);
    CardMap cards;
    for (const char* name : {"kk-1", "kk-2", "kk-3"}) cards.set(name, record_with_reps(0));
    ASSERT_NE(cards.forget_changes(), std::nullopt);
    cards.choice_keys();
    CardMap other;
    choice_key_changes[index](cards, other);
    for (int read = 0; read < 2; ++read) {
      const std::vector<CardMap::ChoiceKey>& keys = cards.choice_keys();
      ASSERT_EQ(keys.size(), 3u);
      for (std::size_t place = 0; place < keys.size(); ++place) {
        const CardMap::Entry* entry = cards.entry_at(place);
        if (entry == nullptr) continue;
        EXPECT_EQ(keys[place].due, entry->second->due) << entry->first;
        EXPECT_EQ(keys[place].new_card_order, entry->second->permanent_fudge_neu.value_or(
                                                  std::numeric_limits<std::int64_t>::max()));
        EXPECT_EQ(keys[place].karte_ist_neu, entry->second->karte_ist_neu);
        EXPECT_EQ(keys[place].record, entry->second.get());
        EXPECT_EQ(cards.choice_fudge(place), entry->second->fudge());
      }
    }
  }
}

TEST(FudgePermutation, GivesEachNumberOnceInAnOrderItsKeyChooses) {
  for (const std::size_t size : {0u, 1u, 2u, 3u, 5u, 64u, 1000u, 4097u}) {
    SCOPED_TRACE(size);
    const FudgePermutation permutation(42, size);
    std::vector<std::int64_t> values;
    for (std::size_t index = 0; index < size; ++index) values.push_back(permutation.at(index));
    std::vector<std::int64_t> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::int64_t> numbers(size);
    std::iota(numbers.begin(), numbers.end(), 1);
    EXPECT_EQ(sorted, numbers);
    if (size >= 64) {
      EXPECT_NE(values, numbers);
      const FudgePermutation other(43, size);
      std::size_t same_places = 0;
      for (std::size_t index = 0; index < size; ++index)
        same_places += other.at(index) == values[index];
      EXPECT_LT(same_places, size / 8);
    }
  }
}

// A card keeps its session fudge when its record moves: to another place,
// to another map, out of every map, into a copy.
struct FudgeMoveCase {
  const char* what;
  std::function<void(CardMap& cards, CardMap& other)> move;
};

const FudgeMoveCase fudge_move_cases[] = {
    {"nothing moves", [](CardMap&, CardMap&) {}},
    {"a card erased before others", [](CardMap& cards, CardMap&) { cards.erase("kk-1"); }},
    {"cards erased until the places are compacted",
     [](CardMap& cards, CardMap&) {
       for (const char* name : {"kk-1", "kk-2", "kk-3"}) cards.erase(name);
     }},
    {"a record taken over by another map",
     [](CardMap& cards, CardMap& other) { other.set("kk-2", cards.at("kk-2")); }},
    {"the map cleared", [](CardMap& cards, CardMap&) { cards.clear(); }},
    {"the map replaced by a deep copy", [](CardMap& cards, CardMap&) { cards = deep_copy(cards); }},
};

TEST(CardMap, RenewsFudgesByPermutationAndCardsKeepThemWhenTheyMove) {
  for (const FudgeMoveCase& test : fudge_move_cases) {
    SCOPED_TRACE(test.what);
    CardMap cards;
    for (const char* name : {"kk-1", "kk-2", "kk-3", "kk-4"}) cards.set(name, record_with_reps(0));
    ASSERT_NE(cards.forget_changes(), std::nullopt);
    const FudgePermutation permutation(7, 10);
    cards.renew_fudges(permutation, 3);
    cards.at("kk-3").set_fudge(-1);
    std::vector<std::pair<CardRef, std::optional<std::int64_t>>> before;
    for (std::size_t place = 0; place < 4; ++place) {
      const CardRef record = cards.at("kk-" + std::to_string(place + 1));
      before.emplace_back(record, place == 2 ? -1 : permutation.at(3 + place));
      EXPECT_EQ(record->fudge(), before.back().second);
    }
    CardMap other;
    test.move(cards, other);
    for (const auto& [record, fudge] : before) EXPECT_EQ(record->fudge(), fudge);
    for (const auto& [name, record] : cards) {
      EXPECT_EQ(record->fudge(), before.at(std::stoul(name.substr(3)) - 1).second);
    }
  }
}

TEST(CardMap, ARenewalReplacesTheFudgesOfItsOwnCards) {
  CardMap cards;
  for (const char* name : {"kk-1", "kk-2"}) cards.set(name, record_with_reps(0));
  cards.renew_fudges(FudgePermutation(1, 2), 0);  // no period yet: written into each record
  ASSERT_NE(cards.forget_changes(), std::nullopt);
  cards.at("kk-1").set_fudge(-5);
  const FudgePermutation next(2, 2);
  cards.renew_fudges(next, 0);
  EXPECT_EQ(cards.at("kk-1")->fudge(), next.at(0));
  EXPECT_EQ(cards.at("kk-2")->fudge(), next.at(1));
  EXPECT_TRUE(cards.changed_cards().empty());
}

}  // namespace
}  // namespace tavo::kk
