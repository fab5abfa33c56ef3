#include "support/test_environment.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "karteikarten/frame/manager_attributes.hpp"
#include "platform/environment.hpp"
#include "support/debug_mode.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// A manager constructed in an app directory of its own, so that no settings
// stored by another manager apply.
class FreshDirectory {
 public:
  FreshDirectory() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {}

 private:
  testing::TemporaryDirectory directory_;
  testing::ScopedEnvironment data_dir_;
};

TEST(Karteikartenverwaltung, ConstructionDefaults) {
  const FreshDirectory first;
  const Karteikartenverwaltung kkv{test_environment()};
  EXPECT_EQ(kkv.neue_karten_pro_tag, 10);
  EXPECT_EQ(kkv.vorauslernen_tage, 0);
  EXPECT_FALSE(kkv.nur_neue_karten_anzeigen);
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[1, 10]");
  EXPECT_EQ(repr(kkv.LAPSE_STEPS), "[10, 1440]");
  EXPECT_EQ(kkv.fudge_nochmal, -1);
  EXPECT_EQ(kkv.hc.startzeit_tag, 3);
  EXPECT_EQ(kkv.zeitberechnung->startzeit_tag(), 3);
  EXPECT_TRUE(kkv.hc.zeitberechnung == kkv.zeitberechnung);
  EXPECT_EQ(kkv.bestimme_gegenwaertige_sammlung(), nullptr);

  {
    const FreshDirectory second;
    EXPECT_EQ(Karteikartenverwaltung(test_environment(), 0, false, 0).neue_karten_pro_tag, 10);
  }
  const FreshDirectory third;
  const Karteikartenverwaltung ahead(test_environment(), 2, true, 7);
  EXPECT_EQ(ahead.neue_karten_pro_tag, 7);
  EXPECT_EQ(ahead.vorauslernen_tage, 2);
  EXPECT_EQ(ahead.hc.vorauslernen, 2);
  EXPECT_TRUE(ahead.nur_neue_karten_anzeigen);
}

TEST(Karteikartenverwaltung, SmallOperations) {
  Karteikartenverwaltung kkv(test_environment(), 3);
  kkv.nur_neue_einstellen();
  EXPECT_EQ(kkv.vorauslernen_tage, 0);
  EXPECT_TRUE(kkv.nur_neue_karten_anzeigen);
  kkv.vorauslernen_einstellen(4);
  EXPECT_EQ(kkv.vorauslernen_tage, 4);
  EXPECT_FALSE(kkv.nur_neue_karten_anzeigen);
  kkv.heute_gelernt_hochsetzen();
  EXPECT_EQ(kkv.anzahl_heute_gelernt, 1);
  kkv.set_sammlungsort_name("kk_test", None);
  EXPECT_EQ(kkv.sammlungsort_name, "kk_test");
  // Naming an unregistered collection finds none.
  EXPECT_EQ(kkv.bestimme_gegenwaertige_sammlung(), nullptr);

  kkv.set_durchlauf10_counter();
  EXPECT_EQ(repr(kkv.durchlauf_10_counter), "1");
  kkv.durchlauf_10_counter = 2.5;
  kkv.set_durchlauf10_counter();
  EXPECT_EQ(repr(kkv.durchlauf_10_counter), "3.5");
  kkv.durchlauf_10_counter = "zehn";
  kkv.set_durchlauf10_counter();
  EXPECT_EQ(repr(kkv.durchlauf_10_counter), "0");
}

TEST(Karteikartenverwaltung, RegistrationMakesTheCollectionCurrent) {
  const testing::TemporaryDirectory directory;
  const testing::ScopedEnvironment data_dir("TAVO_DATA_DIR", directory.path().string());
  Karteikartenverwaltung kkv{test_environment()};
  kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}}, "kk_test");
  EXPECT_EQ(kkv.sammlungsort_name, "kk_test");
  ASSERT_NE(kkv.bestimme_gegenwaertige_sammlung(), nullptr);
  EXPECT_EQ(kkv.bestimme_gegenwaertige_sammlung()->karten.names(),
            std::vector<std::string>{"kk_test-1"});

  const tavo::testing::DebugMode debug(test_environment().diagnostics);
  EXPECT_THROW(kkv.add_haendesammlung(Dict{{"kk_other-1", Dict{}}}, "kk_other"), AssertionError);
  EXPECT_EQ(debug.stops(), 1);
}

TEST(Karteikartenverwaltung, AttributesAsTheHostSeesThem) {
  const FreshDirectory directory;
  Karteikartenverwaltung kkv{test_environment()};
  const auto& attributes = manager_attributes();

  EXPECT_EQ(repr(attributes.get(kkv, "sammlungsort_name")), "None");
  EXPECT_EQ(repr(attributes.get(kkv, "voraus_10_min")), "600.0");
  attributes.get(kkv, "NEW_STEPS").as_list().append(30);
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[1, 10, 30]") << "the list is the manager's own";

  attributes.set(kkv, "neue_karten_nur_heute", 4);
  attributes.set(kkv, "continuous_learning", List{1});
  attributes.set(kkv, "durchlauf_10_counter", "x");
  EXPECT_EQ(kkv.neue_karten_nur_heute, 4);
  EXPECT_TRUE(kkv.continuous_learning) << "a flag takes the truth of what is assigned";
  EXPECT_EQ(repr(kkv.durchlauf_10_counter), "'x'");
  attributes.set(kkv, "neue_karten_nur_heute", None);
  EXPECT_EQ(kkv.neue_karten_nur_heute, std::nullopt);

  EXPECT_THAT([&] { attributes.set(kkv, "voraus_1_min", 5); },
              ::testing::ThrowsMessage<AttributeError>(::testing::StrEq(
                  "attribute 'voraus_1_min' of 'Karteikartenverwaltung' objects is not writable")));
  EXPECT_THAT([&] { attributes.set(kkv, "startzeit_tag", 1e3); },
              ::testing::ThrowsMessage<TypeError>(
                  ::testing::StrEq("attribute 'startzeit_tag' must be int, not float")));
  EXPECT_THROW(attributes.set(kkv, "NEW_STEPS", Tuple{1}), TypeError);
  EXPECT_THROW(attributes.get(kkv, "hc"), AttributeError);
}

}  // namespace
}  // namespace tavo::kk
