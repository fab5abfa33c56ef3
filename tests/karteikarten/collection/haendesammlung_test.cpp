#include "karteikarten/collection/haendesammlung.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "support/test_environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

Dict question(const std::string& text) {
  return Dict{{"fragetext", text}, {"antworttext", "answer to " + text}};
}

// Collections named "kk_test" in an environment of their own, at 2021-09-22
// 12:00.
class HaendesammlungCards : public ::testing::Test {
 protected:
  Haendesammlung collection_of(const Dict& modul) {
    platform::Environment& environment = test_.environment;
    Haendesammlung sammlung(environment,
                            std::make_shared<platform::Zeitberechnungen>(environment.cf, 3), 0,
                            "kk_test", 3);
    sammlung.karten = sammlung.haendesammlung_karteikarten_info_neu_erstellen(modul, "kk_test");
    return sammlung;
  }

  Haendesammlung three_cards() {
    return collection_of(Dict{{1, question("one")}, {2, question("two")}, {3, question("three")}});
  }

  testing::TestEnvironment test_{DateTime(2021, 9, 22, 12).to_epoch_seconds()};
};

TEST_F(HaendesammlungCards, ModuleKeysBecomeCardNamesAndCardsOwnTheirHandData) {
  const List hand{1, 2};
  const Dict modul{{7, question("seven")},
                   {"other-8", question("eight")},
                   {"nine", Dict{{"fragetext", "9"}, {"antworttext", "9"}, {"hand", hand}}}};
  const Haendesammlung sammlung = collection_of(modul);

  EXPECT_EQ(sammlung.karten.names(),
            (std::vector<std::string>{"kk_test-7", "other-8", "kk_test-nine"}));
  EXPECT_EQ(sammlung.karten.at("kk_test-7")->fragetext, "seven");
  EXPECT_TRUE(sammlung.karten.at("kk_test-7")->karte_ist_neu);
  // The module's lists stay the module's.
  hand.append(3);
  EXPECT_EQ(sammlung.karten.at("kk_test-nine")->extra.at("hand"), Value(List{1, 2}));

  EXPECT_THAT(
      [&] {
        sammlung.haendesammlung_karteikarten_info_neu_erstellen(Dict{{7, List{}}}, "kk_test");
      },
      ::testing::ThrowsMessage<TypeError>(
          ::testing::StrEq("hand data of 'kk_test-7' must be a mapping, got list")));
}

// The value of `field` of every card in card order; -1 where it is unset.
template <class Field>
std::vector<std::int64_t> values_of(const Haendesammlung& sammlung, Field field) {
  std::vector<std::int64_t> values;
  for (const auto& [name, record] : sammlung.karten)
    values.push_back(std::invoke(field, *record).value_or(-1));
  return values;
}

TEST_F(HaendesammlungCards, FudgeValuesKeepWhatIsSetAndFillTheRest) {
  Haendesammlung sammlung = three_cards();
  sammlung.karten.at("kk_test-2").edit().permanent_fudge_neu = 5;
  sammlung.karten.at("kk_test-3").edit().permanent_fudge_wdh = 2;
  sammlung.set_permanent_fudge("permanent_fudge_neu");
  sammlung.set_permanent_fudge("permanent_fudge_wdh");
  // Set values stay; the rest are numbered after the largest, in random order for wdh.
  EXPECT_EQ(values_of(sammlung, &kk::CardRecord::permanent_fudge_neu),
            (std::vector<std::int64_t>{6, 5, 7}));
  std::vector<std::int64_t> wdh = values_of(sammlung, &kk::CardRecord::permanent_fudge_wdh);
  EXPECT_EQ(wdh[2], 2);
  std::sort(wdh.begin(), wdh.end());
  EXPECT_EQ(wdh, (std::vector<std::int64_t>{2, 3, 4}));
  EXPECT_THROW(sammlung.set_permanent_fudge("fudge"), ValueError);

  // fudge_erneuern takes the collection's slice of rs, or changes nothing.
  sammlung.fudge_erneuern(2, {9, 8, 7, 6, 5});
  EXPECT_EQ(values_of(sammlung, &kk::CardRecord::fudge), (std::vector<std::int64_t>{7, 6, 5}));
  EXPECT_THROW(sammlung.fudge_erneuern(3, {9, 8, 7, 6, 5}), IndexError);
  EXPECT_EQ(values_of(sammlung, &kk::CardRecord::fudge), (std::vector<std::int64_t>{7, 6, 5}));
}

TEST_F(HaendesammlungCards, WrongCardNamesAreThoseWithoutTheCollectionPrefix) {
  Haendesammlung sammlung = three_cards();
  EXPECT_FALSE(sammlung.test_karten_enthaelt_falsche_bezeichner());
  sammlung.karten.set("kk_tester-1", std::make_shared<kk::CardRecord>());
  EXPECT_TRUE(sammlung.test_karten_enthaelt_falsche_bezeichner());
}

TEST_F(HaendesammlungCards, CloneSharesNothingButKeepsTheSnapshot) {
  Haendesammlung sammlung = three_cards();
  sammlung.metadata.set("heute_falsch", Dict{{"2021-9-22", List{"kk_test-1"}}});
  sammlung.stored.stored_name = "kk_test";
  sammlung.stored.cards.push_back({"kk_test-1", 42});

  const SammlungRef copy = sammlung.clone();
  copy->karten.at("kk_test-1").edit().reps = 9;
  copy->karten.at("kk_test-1")->beantwortungszeiten.append(3);
  copy->metadata.at("heute_falsch").as_dict().at("2021-9-22").as_list().append("kk_test-2");

  EXPECT_EQ(copy->stored.stored_name, "kk_test");
  EXPECT_EQ(copy->stored.cards.at(0).fingerprint, 42u);
  EXPECT_EQ(sammlung.karten.at("kk_test-1")->reps, 0);
  EXPECT_TRUE(sammlung.karten.at("kk_test-1")->beantwortungszeiten.empty());
  EXPECT_EQ(repr(sammlung.metadata), "{'heute_falsch': {'2021-9-22': ['kk_test-1']}}");
}

TEST_F(HaendesammlungCards, ScheduledStateIsWrittenBackIntoTheRecord) {
  Haendesammlung sammlung = three_cards();
  const kk::CardRef record = sammlung.karten.at("kk_test-2");
  record.edit().reps = 4;
  record->beantwortungszeiten.append(12);
  kk::Karteikarte karte(record, "kk_test-2", 3);
  karte.learnstatus = kk::Learnstatus::learned;
  karte.due = kk::Due::at(1632300000);
  karte.interval = 2.5;
  karte.ease_factor = 250;
  karte.letzte_antwort = "good";
  karte.faellig_erstes_mal = DateTime(2021, 9, 22, 10);
  karte.reps.reset();
  karte.beantwortungszeiten.reset();
  sammlung.aendere_karteikarte_in_dictionary(karte);

  EXPECT_EQ(record->learnstatus, kk::Learnstatus::learned);
  EXPECT_EQ(record->due, kk::Due::at(1632300000));
  EXPECT_EQ(repr(record->interval), "2.5");
  EXPECT_EQ(repr(record->ease_factor), "250");
  EXPECT_EQ(record->letzte_antwort, "good");
  EXPECT_EQ(record->faellig_erstes_mal, DateTime(2021, 9, 22, 10));
  // Fields the card does not carry leave the record's values.
  EXPECT_EQ(record->reps, 4);
  EXPECT_EQ(Value(record->beantwortungszeiten), Value(List{12}));

  kk::Karteikarte fremd(record, "kk_test-9", 3);
  EXPECT_THROW(sammlung.aendere_karteikarte_in_dictionary(fremd), KeyError);
}

// Metadata is dated by the learning day, which begins at 03:00.
class HaendesammlungMetadata : public HaendesammlungCards {
 protected:
  void at(const DateTime& moment) { test_.environment.cf.set_fixed_now(moment.to_epoch_seconds()); }

  Haendesammlung sammlung = three_cards();
};

TEST_F(HaendesammlungMetadata, NamesAreAddedOnceAndNumbersReplace) {
  sammlung.set_metadata("heute_schon_angesehen", "kk_test-2");
  sammlung.set_metadata("heute_schon_angesehen", List{"kk_test-1"});
  sammlung.set_metadata("heute_schon_angesehen", List{"kk_test-2"});
  sammlung.set_metadata("heute_schon_angesehen", "kk_test-1");
  sammlung.set_metadata("reps", 3);
  sammlung.set_metadata("reps", 4);
  sammlung.set_metadata("zeitdauer_heute", List{0, 0, 30, 0});
  sammlung.set_metadata("zeitdauer_heute", List{0, 0, 45, 0});

  EXPECT_EQ(repr(sammlung.metadata),
            "{'heute_schon_angesehen': {'2021-9-22': ['kk_test-2', 'kk_test-1']}, "
            "'reps': {'2021-9-22': 4}, 'zeitdauer_heute': {'2021-9-22': [0, 0, 45, 0]}}");
}

TEST_F(HaendesammlungMetadata, TodayEndsAtTheStartHourAndEarlierDaysAreKept) {
  at(DateTime(2021, 9, 23, 2, 59, 59));
  sammlung.set_metadata("heute_falsch", "kk_test-1");
  at(DateTime(2021, 9, 23, 3));
  EXPECT_EQ(sammlung.get_metadata_heute("heute_falsch"), Value(None));
  sammlung.set_metadata("heute_falsch", "kk_test-2");
  EXPECT_EQ(repr(sammlung.metadata.at("heute_falsch")),
            "{'2021-9-22': ['kk_test-1'], '2021-9-23': ['kk_test-2']}");
}

TEST_F(HaendesammlungMetadata, AppendAddsPairsRemoveTakesOutOneNameInTheStoredObject) {
  const DateTime now(2021, 9, 22, 12);
  sammlung.append_to_metadata("faellig_liste", List{"kk_test-1"}, now);
  sammlung.append_to_metadata("faellig_liste", 2, now);
  EXPECT_EQ(repr(sammlung.get_metadata_heute("faellig_liste")),
            "[(['kk_test-1'], datetime.datetime(2021, 9, 22, 12, 0)), "
            "(2, datetime.datetime(2021, 9, 22, 12, 0))]");

  sammlung.set_metadata("again_in_queue", List{"kk_test-1", "kk_test-2"});
  // Today's value is the stored object itself.
  sammlung.get_metadata_heute("again_in_queue").as_list().append("kk_test-3");
  sammlung.remove_from_metadata("again_in_queue", "kk_test-1");
  sammlung.remove_from_metadata("again_in_queue", "kk_test-9");
  sammlung.remove_from_metadata("heute_falsch", "kk_test-1");
  EXPECT_EQ(sammlung.get_metadata_heute("again_in_queue"), Value(List{"kk_test-2", "kk_test-3"}));
  EXPECT_FALSE(sammlung.metadata.contains("heute_falsch"));
  // A value that is not dated has no value today.
  sammlung.metadata.set("anzahl_neue_karten_in_sammlung_vorhanden", 3);
  EXPECT_EQ(sammlung.get_metadata_heute("anzahl_neue_karten_in_sammlung_vorhanden"), Value(None));
}

}  // namespace
}  // namespace tavo::kk
