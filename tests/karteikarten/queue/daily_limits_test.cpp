#include <gtest/gtest.h>

#include "karteikarten/scheduling/scheduling_fixture.hpp"
#include "value/errors.hpp"

namespace tavo::kk {
namespace {

class DailyLimits : public testing::SchedulingTest {
 protected:
  DailyLimits() {
    kkv.neue_karten_pro_tag = 5;
    kkv.neue_karten_nur_heute = std::nullopt;
    kkv.maximale_wiederholungen_pro_tag = 50;
  }

  SammlungRef kk_test() const { return kkv.hc.get_richtige_sammlung("kk_test"); }
  SammlungRef leer() const {
    return kkv.create_temp_haendesammlung(kkv.zeitberechnung, 0, "leer", 3, Dict(), CardMap());
  }
};

TEST_F(DailyLimits, NewCardLimitPrecedence) {
  const SammlungRef sammlung = kk_test();
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(sammlung), 5);
  sammlung->set_metadata("neue_karten_nur_heute", 0);
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(sammlung), 5);
  kkv.neue_karten_nur_heute = 3;
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(sammlung), 3);
  sammlung->set_metadata("neue_karten_nur_heute", 7);
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(sammlung), 7);

  sammlung->set_metadata("neue_karten_nur_heute", List{7});
  EXPECT_THROW(kkv.bestimme_grenzwert_neue_karten_heute(sammlung), TypeError);
}

TEST_F(DailyLimits, ForgottenCardsModeAllowsEveryCard) {
  Dict modul;
  for (int i = 1; i <= 40; ++i) modul.set(i, Dict{{"fragetext", "F"}, {"antworttext", "A"}});
  kkv.add_haendesammlung(modul, "vierzig");
  const SammlungRef vierzig = kkv.hc.get_richtige_sammlung("vierzig");
  vierzig->set_metadata("neue_karten_nur_heute", 7);
  kkv.modus_vergessene_karten = true;
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(vierzig), 40);
  EXPECT_EQ(kkv.bestimme_grenzwert_wiederholungen(vierzig), 40);

  EXPECT_EQ(kkv.bestimme_grenzwert_wiederholungen(leer()), 0);
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(leer()), 5);
  kkv.neue_karten_nur_heute = 3;
  EXPECT_EQ(kkv.bestimme_grenzwert_neue_karten_heute(leer()), 3);
}

TEST_F(DailyLimits, ReviewAndManagerWideLimits) {
  EXPECT_EQ(kkv.bestimme_grenzwert_wiederholungen(leer()), 0);
  EXPECT_EQ(kkv.bestimme_grenzwert_wiederholungen(kk_test()), 50);
  kkv.neue_karten_nur_heute = 0;
  EXPECT_EQ(kkv.get_grenzwert_neue_karten_heute(), 5);
  kkv.neue_karten_nur_heute = 4;
  EXPECT_EQ(kkv.get_grenzwert_neue_karten_heute(), 4);
}

}  // namespace
}  // namespace tavo::kk
