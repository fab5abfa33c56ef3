#include <gtest/gtest.h>

#include "support/test_environment.hpp"
#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk::testing {
namespace {

class CardMetadataTest : public SchedulingTest {
 protected:
  SammlungRef sammlung() const { return kkv.hc.get_richtige_sammlung("kk_test"); }
  // Today's value under `key` as the collection holds it.
  std::string heute(const std::string& key) const {
    return repr(sammlung()->get_metadata_heute(key));
  }
  std::string metadaten(const std::string& key) { return repr(kkv.get_metadaten(key)); }
  std::string anzahl(const std::string& key, bool heute = true) {
    return repr(kkv.iterate_key_shelve(key, heute).at("anzahl"));
  }
};

TEST_F(CardMetadataTest, SettingsKeysAreTheManagersLimits) {
  kkv.set_metadaten(-5, "neue_karten_pro_tag");
  kkv.set_metadaten(8, "neue_karten_nur_heute");
  kkv.set_metadaten(40, "wiederholungen_pro_tag");
  EXPECT_EQ(kkv.neue_karten_pro_tag, 0);
  EXPECT_EQ(metadaten("wiederholungen_pro_tag"), "40");
  const Dict stored = kk::PickleDump(test_environment()).get_kkv_settings().value();
  EXPECT_EQ(repr(stored.at("neue_karten_pro_tag")), "0");
  EXPECT_EQ(repr(stored.at("neue_karten_nur_heute")), "{'2021-9-22': 8}");
  EXPECT_EQ(repr(stored.at("maximale_wiederholungen_pro_tag")), "40");
  // Neither the collection nor the statistics store records them.
  EXPECT_EQ(heute("neue_karten_pro_tag"), "None");
  EXPECT_TRUE(kkv.get_liste_alle_from_alte_daten().empty());
  EXPECT_THROW(kkv.set_metadaten("viele", "neue_karten_pro_tag"), TypeError);
}

TEST_F(CardMetadataTest, AnswerTimeIsAddedIntoItsSlot) {
  EXPECT_EQ(metadaten("zeitdauer_heute"), "[0, 0, 0, 0]");
  kkv.set_metadaten(Tuple{2, 30}, "zeitdauer_heute");
  kkv.set_metadaten(Tuple{2, 15}, "zeitdauer_heute");
  kkv.set_metadaten(Tuple{0, 1.5}, "zeitdauer_heute");
  EXPECT_THROW(kkv.set_metadaten(30, "zeitdauer_heute"), TypeError);
  EXPECT_THROW(kkv.set_metadaten(Tuple{4, 30}, "zeitdauer_heute"), IndexError);
  EXPECT_EQ(heute("zeitdauer_heute"), "[1.5, 0, 45, 0]");
  EXPECT_EQ(repr(kkv.iterate_key_shelve("zeitdauer_heute", true)),
            "{'anzahl': 46.5, 'kk': 1.5, 'reizung': 0, 'alleinspiel': 45, 'gegenspiel': 0}");
  test_environment().cf.set_fixed_now(a_morning + a_day);
  EXPECT_EQ(metadaten("zeitdauer_heute"), "[0, 0, 0, 0]");
}

TEST_F(CardMetadataTest, CardNamesAreRecordedForTodayAndInTheStore) {
  kkv.set_metadaten("kk_test-7", "heute_schon_angesehen");
  kkv.set_metadaten("kk_test-7", "heute_schon_angesehen");
  EXPECT_EQ(heute("heute_schon_angesehen"), "['kk_test-7']");
  EXPECT_EQ(anzahl("heute_schon_angesehen"), "1");
  // Without a current collection the store still records nothing.
  kkv.set_sammlungsort_name(std::nullopt, 0);
  EXPECT_THROW(kkv.set_metadaten("kk_test-1", "heute_falsch"), KeyError);
  EXPECT_EQ(anzahl("heute_falsch", false), "0");
}

TEST_F(CardMetadataTest, ReadsGiveTheKeysDefaultWithoutAValueOrAfterAnError) {
  EXPECT_EQ(metadaten("heute_falsch"), "[]");
  EXPECT_EQ(metadaten("reps"), "0");
  EXPECT_EQ(metadaten("neue_karte_heute_faellig_gestellt"), "None");
  kkv.add_cardid_to_schon_gelernt(nullptr, "again_in_queue", "kk_test-1");
  EXPECT_EQ(metadaten("again_in_queue"), "['kk_test-1']");
  kkv.remove_from_again_in_queue(card(1));
  EXPECT_EQ(heute("again_in_queue"), "[]");
  EXPECT_EQ(metadaten("again_in_queue"), "None");

  // The read hands out the collection's own list.
  kkv.add_cardid_to_schon_gelernt(nullptr, "heute_falsch", "kk_test-2");
  kkv.get_metadaten("heute_falsch").as_list().append("kk_test-3");
  EXPECT_EQ(heute("heute_falsch"), "['kk_test-2', 'kk_test-3']");

  // A collection with an impossible day start cannot tell which day it is.
  kkv.add_cardid_to_schon_gelernt(nullptr, "again_in_queue", "kk_test-1");
  kkv.add_cardid_to_schon_gelernt(nullptr, "faellig_liste", "kk_test-1");
  sammlung()->startzeit_tag = 24;
  EXPECT_EQ(metadaten("again_in_queue"), "0");
  EXPECT_EQ(metadaten("heute_falsch"), "[]");
  EXPECT_THROW(kkv.get_metadaten("faellig_liste"), ValueError);

  kkv.set_sammlungsort_name("kk_nirgends", 0);
  EXPECT_EQ(metadaten("heute_falsch"), "[]");
}

TEST_F(CardMetadataTest, RepetitionsAreCountedUnderEveryKey) {
  kkv.set_reps();
  kkv.set_reps();
  kkv.set_reps(true);
  EXPECT_EQ(heute("reps") + heute("reps_kk") + heute("reps_reizung"), "321");
  EXPECT_EQ(anzahl("reps") + anzahl("reps_kk") + anzahl("reps_reizung"), "321");
  // The next day both the collection and the store count from one again.
  test_environment().cf.set_fixed_now(a_morning + a_day);
  kkv.set_reps();
  EXPECT_EQ(heute("reps_kk"), "1");
  EXPECT_EQ(anzahl("reps_kk"), "1");
  EXPECT_EQ(anzahl("reps_kk", false), "3");
}

TEST_F(CardMetadataTest, CardRecordsOfTheCurrentCollection) {
  kkv.add_cardid_to_schon_gelernt(nullptr, "heute_falsch", "kk_test-1");
  const Karteikarte zwei = card(2);
  kkv.add_cardid_to_schon_gelernt(&zwei, "heute_falsch");
  kkv.remove_cardid_from_metadata(card(1), "heute_falsch");
  kkv.remove_cardid_from_metadata(card(1), "heute_falsch");
  kkv.remove_cardid_from_metadata(card(1), "wiederholte_karten");
  EXPECT_EQ(heute("heute_falsch"), "['kk_test-2']");

  kkv.set_karte_heute_schon_gelernt(card(1), true, "good");
  EXPECT_EQ(heute("karte_erfolgreich_wiederholt"), "None");
  kkv.set_karte_heute_schon_gelernt(card(1), false, "good");
  EXPECT_EQ(heute("karte_erfolgreich_wiederholt"), "['kk_test-1']");

  kkv.add_bezeichner_to_kkv_info("kk_test-3", "wiederholte_karten");
  EXPECT_EQ(heute("wiederholte_karten"), "['kk_test-3']");
  kkv.faellig_liste_eintragen("kk_test-1", 1632297600.0);
  EXPECT_EQ(heute("faellig_liste"), "[('kk_test-1', 1632297600.0)]");
  // None of these writes reaches the statistics store.
  EXPECT_TRUE(kkv.get_liste_alle_from_alte_daten().empty());
}

}  // namespace
}  // namespace tavo::kk::testing
