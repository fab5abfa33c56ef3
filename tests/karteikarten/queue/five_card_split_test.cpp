#include "support/test_environment.hpp"
#include "karteikarten/queue/five_card_split.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "platform/environment.hpp"
#include "platform/importiere_haende.hpp"
#include "platform/random_source.hpp"
#include "support/debug_mode.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

using tavo::testing::DebugMode;
using testing::a_morning;
using ::testing::StrEq;
using ::testing::ThrowsMessage;
using Split = std::pair<std::int64_t, std::int64_t>;

TEST(AufteilungFuenf, SplitsTheFivePlaces) {
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 10, 0, 7), Split(5, 0));
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 10, 2, 7), Split(3, 2));
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 10, 6, 7), Split(2, 3));
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 10, 6, 1), Split(1, 4));
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 0, 6, 7), Split(0, 5));
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 1, 1, 0), Split(1, 1));
  EXPECT_EQ(aufteilung_5(test_environment().diagnostics, 0, 0, 0), Split(0, 0));

  const DebugMode debug(test_environment().diagnostics);
  for (int n = 0; n < 8 * 8 * 8; ++n) {
    const auto [neue_max, wdh_max] = aufteilung_5(test_environment().diagnostics, n / 64, n / 8 % 8, n % 8);
    EXPECT_LE(neue_max + wdh_max, 5) << n;
  }
  EXPECT_THROW(aufteilung_5(test_environment().diagnostics, -1, 0, 0), AssertionError);
}

class CandidatePick : public testing::SchedulingTest {
 protected:
  ~CandidatePick() override { test_environment().hands.clear(); }

  Entry pair(int number) {
    const std::string name = "kk_test-" + std::to_string(number);
    return Entry{std::nullopt, kkv.hc.get_richtige_sammlung("kk_test")->karten.at(name), name};
  }
  Entry triple(int number, std::int64_t fudge) {
    Entry entry = pair(number);
    entry.fudge = fudge;
    return entry;
  }
  SammlungRef sammlung() { return kkv.hc.get_richtige_sammlung("kk_test"); }
};

TEST_F(CandidatePick, PicksByCount) {
  EXPECT_TRUE(std::holds_alternative<std::monostate>(kkv.finde_beste_karte_alle({})));
  EXPECT_EQ(std::get<Entry>(kkv.finde_beste_karte_alle({pair(2)})), pair(2));

  std::set<std::string> chosen;
  for (std::uint64_t seed = 0; seed < 32; ++seed) {
    test_environment().random.seed(seed);
    chosen.insert(std::get<Entry>(kkv.finde_beste_karte_alle({pair(1), pair(2)})).name);
  }
  EXPECT_EQ(chosen, (std::set<std::string>{"kk_test-1", "kk_test-2"}));

  const PickedCandidate lowest =
      kkv.finde_beste_karte_alle({triple(1, 9), triple(2, 4), triple(3, 7)});
  EXPECT_EQ(std::get<std::vector<Entry>>(lowest), std::vector<Entry>{triple(2, 4)});
  EXPECT_EQ(std::get<Entry>(kkv.korrigiere_typ_ausgewaehlte_karte(lowest)), triple(2, 4));
  const PickedCandidate empty = std::vector<Entry>{};
  EXPECT_EQ(kkv.korrigiere_typ_ausgewaehlte_karte(empty), empty);
}

TEST_F(CandidatePick, ChosenCardInfo) {
  const ChosenCandidate none = kkv.bestimme_ausgewaehlte_karte_info_aus_alle({}, sammlung());
  EXPECT_EQ(none.data, nullptr);
  EXPECT_EQ(none.name, std::nullopt);
  EXPECT_EQ(none.sammlungsname, std::nullopt);

  const ChosenCandidate from_pair =
      kkv.bestimme_ausgewaehlte_karte_info_aus_alle({pair(2)}, sammlung());
  EXPECT_EQ(from_pair.data, pair(2).data);
  EXPECT_EQ(from_pair.name, "kk_test-2");
  EXPECT_EQ(from_pair.sammlungsname, "kk_test");
  const ChosenCandidate from_triples = kkv.bestimme_ausgewaehlte_karte_info_aus_alle(
      {triple(1, 9), triple(3, 4), triple(2, 7)}, sammlung());
  EXPECT_EQ(from_triples.data, pair(3).data);
  EXPECT_EQ(from_triples.name, "kk_test-3");

  kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}}, "kk_other");
  const SammlungRef other = kkv.hc.get_richtige_sammlung("kk_other");
  const DebugMode debug(test_environment().diagnostics);
  EXPECT_THROW(kkv.bestimme_ausgewaehlte_karte_info_aus_alle({pair(1)}, other), AssertionError);
}

TEST_F(CandidatePick, IsNewAndShapeCheck) {
  EXPECT_FALSE(kkv.ausgewaehlte_karte_ist_neu("kk_test-1", {}));
  EXPECT_TRUE(kkv.ausgewaehlte_karte_ist_neu("kk_test-2", {pair(1), triple(2, 3)}));
  EXPECT_FALSE(kkv.ausgewaehlte_karte_ist_neu("kk_test-3", {pair(1), triple(2, 3)}));

  const Entry without_data{5, nullptr, "kk_test-1"};
  EXPECT_NO_THROW(kkv.check_id_faehig({pair(1), without_data}));
  const DebugMode debug(test_environment().diagnostics);
  EXPECT_NO_THROW(kkv.check_id_faehig({triple(1, 2), triple(2, 3)}));
  EXPECT_THROW(kkv.check_id_faehig({triple(1, 2), pair(2)}), AssertionError);
  EXPECT_THAT([&] { kkv.check_id_faehig({without_data}); },
              ThrowsMessage<TypeError>(StrEq("Element 1 sollte dict sein")));
  EXPECT_EQ(debug.stops(), 2);
}

TEST_F(CandidatePick, HandOfACard) {
  const Dict hand{{"reizung", List{"1C", "pass"}}};
  test_environment().hands.register_modul("kk_test", Dict{{7, hand}});
  EXPECT_EQ(kkv.get_handinfo_from_cardpointer("kk_test-7"), Value(hand));
  EXPECT_EQ(kkv.get_handinfo_from_cardpointer("kk_test-7-b"), Value(hand));
  EXPECT_THAT([&] { kkv.get_reizungsdict_from_karteikarte(card(1)); },
              ThrowsMessage<KeyError>(StrEq("no hand registered as 'kk_test.hand1'")));
}

TEST_F(CandidatePick, DuesInOrder) {
  const auto& karten = sammlung()->karten;
  karten.at("kk_test-1").edit().due = Due::at(a_morning + 300);
  karten.at("kk_test-3").edit().due = Due::at(a_morning + 100);
  kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}}, "kk_other");
  kkv.hc.get_richtige_sammlung("kk_other")->karten.at("kk_other-1").edit().due =
      Due::at(a_morning + 100);

  using Dues = std::vector<std::pair<double, std::string>>;
  EXPECT_EQ(kkv.bestimme_x_dues(2),
            (Dues{{a_morning + 100, "kk_test-3"}, {a_morning + 100, "kk_other-1"}}));
  EXPECT_EQ(kkv.get_all_dues().back(), std::make_pair(a_morning + 300, std::string("kk_test-1")));
  EXPECT_TRUE(kkv.bestimme_x_dues(-1).empty());
}

}  // namespace
}  // namespace tavo::kk
