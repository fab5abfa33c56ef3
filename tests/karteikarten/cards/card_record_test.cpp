#include "karteikarten/cards/card_record.hpp"

#include <gtest/gtest.h>

#include <string>

#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

TEST(CardRecordMapping, RoundTripKeepsNumberKindsAndPutsExtraKeysLast) {
  const List hand{"S", "AK"};
  const List no_lapse{1, 3};
  const List zeiten{12.5};
  const Dict data{{"hand", hand},
                  {"fragetext", "Frage"},
                  {"antworttext", "Antwort"},
                  {"learnstatus", "relearning"},
                  {"reps", 4},
                  {"lapses", 1},
                  {"due", 1632297600},
                  {"ease_factor", 230.0},
                  {"steps_index", 1},
                  {"interval", 2.0},
                  {"zuletzt_vergessen", 1632290000},
                  {"faellig_erstes_mal", DateTime(2021, 9, 22, 10)},
                  {"last_interval_no_lapse", no_lapse},
                  {"last_interval", 3},
                  {"beantwortungszeiten", zeiten},
                  {"karte_ist_neu", false},
                  {"letzte_antwort", "again"},
                  {"permanent_fudge_neu", 2},
                  {"permanent_fudge_wdh", 9},
                  {"fudge", 5},
                  {7, "typ"}};
  const CardRecord record = card_record_from_value(data);

  EXPECT_TRUE(record.last_interval_no_lapse.same(no_lapse));
  EXPECT_TRUE(record.beantwortungszeiten.same(zeiten));

  const Dict back = card_record_to_value(record);
  EXPECT_EQ(repr(back),
            "{'fragetext': 'Frage', 'antworttext': 'Antwort', 'learnstatus': 'relearning', "
            "'reps': 4, 'lapses': 1, 'due': 1632297600.0, 'ease_factor': 230.0, "
            "'steps_index': 1, 'interval': 2.0, 'zuletzt_vergessen': 1632290000.0, "
            "'faellig_erstes_mal': datetime.datetime(2021, 9, 22, 10, 0), "
            "'last_interval_no_lapse': [1, 3], 'last_interval': 3, "
            "'beantwortungszeiten': [12.5], 'karte_ist_neu': False, 'letzte_antwort': 'again', "
            "'permanent_fudge_neu': 2, 'permanent_fudge_wdh': 9, 'fudge': 5, "
            "'hand': ['S', 'AK'], 7: 'typ'}");
  EXPECT_TRUE(back.at("last_interval_no_lapse").as_list().same(no_lapse));
  EXPECT_TRUE(back.at("beantwortungszeiten").as_list().same(zeiten));

  EXPECT_EQ(repr(card_record_from_value(Dict{{"interval", 2}}).interval), "2");
}

TEST(CardRecordMapping, MissingKeysTakeTheInitialLearningState) {
  const CardRecord record = card_record_from_value(Dict{{"fragetext", "F"}, {"antworttext", "A"}});
  EXPECT_EQ(repr(card_record_to_value(record)),
            "{'fragetext': 'F', 'antworttext': 'A', 'learnstatus': 'learning', 'reps': 0, "
            "'lapses': 0, 'due': None, 'ease_factor': 130, 'steps_index': 0, 'interval': 0, "
            "'zuletzt_vergessen': None, 'faellig_erstes_mal': None, "
            "'last_interval_no_lapse': [], 'last_interval': [], 'beantwortungszeiten': [], "
            "'karte_ist_neu': True, 'letzte_antwort': None}");
}

TEST(CardRecordMapping, NurReizungIsTrueOnlyForValuesEqualToTrueAndNoneMeansUnset) {
  EXPECT_EQ(card_record_from_value(Dict{{"nur_reizung", 1}}).nur_reizung, true);
  EXPECT_EQ(card_record_from_value(Dict{{"nur_reizung", "ja"}}).nur_reizung, false);
  EXPECT_EQ(card_record_from_value(Dict{}).nur_reizung, std::nullopt);

  const CardRecord record =
      card_record_from_value(Dict{{"due", "done"}, {"letzte_antwort", None}, {"fudge", None}});
  EXPECT_TRUE(record.due.is_done());
  EXPECT_FALSE(card_record_to_value(record).contains("fudge"));
}

TEST(CardRecordMapping, WrongKindsNameTheKey) {
  const struct {
    const char* key;
    Value value;
    const char* message;
  } cases[] = {
      {"reps", "3", "card data 'reps' must be int, got str"},
      {"interval", true, "card data 'interval' must be int or float, got bool"},
      {"due", "later", "card data 'due' must be None, a number or 'done', got str"},
      {"last_interval_no_lapse", Tuple{},
       "card data 'last_interval_no_lapse' must be list, got tuple"},
  };
  for (const auto& c : cases) {
    try {
      card_record_from_value(Dict{{c.key, c.value}});
      ADD_FAILURE() << "expected TypeError for " << c.key;
    } catch (const TypeError& error) {
      EXPECT_STREQ(error.what(), c.message);
    }
  }
  try {
    card_record_from_value(Dict{{"learnstatus", "new"}});
    ADD_FAILURE() << "expected ValueError";
  } catch (const ValueError& error) {
    EXPECT_STREQ(error.what(), "unknown learnstatus 'new'");
  }
  EXPECT_THROW(static_cast<void>(Due::done().seconds()), TypeError);
}

TEST(StoredFingerprint, CoversEveryStoredValueButFudge) {
  const CardRecord record = card_record_from_value(Dict{{"hand", List{"S", Dict{{"n", 1}}}}});
  const auto changed = [&](auto change) {
    CardRecord copy = deep_copy(record);
    change(copy);
    return stored_fingerprint(copy) != stored_fingerprint(record);
  };

  EXPECT_TRUE(changed([](CardRecord& r) { r.reps = 1; }));
  EXPECT_TRUE(changed([](CardRecord& r) { r.last_interval_no_lapse.append(1); }));
  EXPECT_TRUE(changed([](CardRecord& r) { r.permanent_fudge_wdh = 0; }));
  EXPECT_TRUE(
      changed([](CardRecord& r) { r.extra.at("hand").as_list().at(1).as_dict().set("n", 2); }));
  EXPECT_FALSE(changed([](CardRecord& r) { r.fudge = 17; }));

  // Equal numbers of different kinds are different stored values.
  EXPECT_TRUE(changed([](CardRecord& r) { r.interval = 0.0; }));
  EXPECT_TRUE(changed([](CardRecord& r) { r.interval = false; }));
}

TEST(CardRecordCopy, SharesNothingWithTheOriginalButKeepsSharedStructure) {
  CardRecord record;
  record.last_interval = record.last_interval_no_lapse;
  record.extra.set("hand", List{1});

  const CardRecord copy = deep_copy(record);
  copy.last_interval_no_lapse.append(4);
  copy.beantwortungszeiten.append(5);
  copy.extra.at("hand").as_list().append(2);
  copy.extra.set("neu", 1);

  EXPECT_TRUE(record.last_interval_no_lapse.empty());
  EXPECT_TRUE(record.beantwortungszeiten.empty());
  EXPECT_EQ(repr(record.extra), "{'hand': [1]}");
  EXPECT_TRUE(copy.last_interval.as_list().same(copy.last_interval_no_lapse));
}

}  // namespace
}  // namespace tavo::kk
