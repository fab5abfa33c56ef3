#include "support/test_environment.hpp"
#include "karteikarten/storage/settings.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "platform/diagnostics.hpp"
#include "karteikarten/collection/pickle_dump.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "value/errors.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

constexpr double a_morning = 1632297600;  // 2021-09-22 10:00, Europe/Berlin

class SettingsTest : public ::testing::Test {
 protected:
  SettingsTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string() + "/") {
    test_environment().cf.set_fixed_now(a_morning);
  }
  ~SettingsTest() override { test_environment().cf.clear_fixed_now(); }

  static Dict stored() { return kk::PickleDump(test_environment()).get_kkv_settings().value(); }
  static void store(const Dict& settings) { kk::PickleDump(test_environment()).save_default_values(settings); }

  tavo::testing::TemporaryDirectory directory_;
  tavo::testing::ScopedEnvironment data_dir_;
};

TEST_F(SettingsTest, MissingSettingsTakeTheConstructorValuesOrTheirDefaults) {
  // Unreadable settings leave the constructor values; the file is kept
  // aside, with a warning, before the constructor values are stored.
  const std::filesystem::path file = directory_ / "settings/kkv_settings.eps";
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "{ damaged";
  std::vector<std::string> warnings;
  test_environment().diagnostics.warning_line = [&](const std::string& line) { warnings.push_back(line); };
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).maximale_wiederholungen_pro_tag, 3);
  test_environment().diagnostics = platform::Diagnostics();
  ASSERT_EQ(warnings.size(), 1U);
  EXPECT_THAT(warnings[0],
              ::testing::StartsWith("settings file '" + file.string() + "' cannot be read: "));
  EXPECT_THAT(warnings[0], ::testing::EndsWith("; it was renamed to \"" + file.string() +
                                               ".damaged\" and the default settings are used"));
  std::ifstream aside(file.string() + ".damaged");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aside), {}), "{ damaged");
  EXPECT_EQ(stored().at("maximale_wiederholungen_pro_tag"), Value(3));

  // Nothing stored stores the constructor values.
  std::filesystem::remove(file);
  const Karteikartenverwaltung kkv{test_environment()};
  EXPECT_EQ(kkv.neue_karten_pro_tag, 10);
  EXPECT_EQ(Value(stored()), Value(kkv.make_default_values_dictionary()));
  EXPECT_EQ(repr(stored().at("LAPSE_STEPS")), "[10, 1440]");
  EXPECT_EQ(repr(stored().at("neue_karten_nur_heute")), "{'2021-9-22': None}");

  // Keys missing beside a stored one take their defaults and are stored.
  store(Dict{{"startzeit_tag", 5}});
  const Karteikartenverwaltung defaults{test_environment()};
  EXPECT_EQ(repr(stored()),
            "{'vergessen_in_letzten_tagen_groesstmoeglicher_wert': 30, 'startzeit_tag': 5, "
            "'neue_karten_pro_tag': 5, 'neue_karten_nur_heute': {'2021-9-22': None}, "
            "'maximale_wiederholungen_pro_tag': 50, 'maximale_beantwortungszeit': 60, "
            "'maximale_beantwortungszeit_reizung': 180, 'NEW_STEPS': [1, 10], "
            "'GRADUATING_INTERVAL': 1, 'EASY_INTERVAL': 4, 'STARTING_EASE': 250, "
            "'EASY_BONUS': 130, 'INTERVAL_MODIFIER': 100, 'MAXIMUM_INTERVAL': 36500, "
            "'LAPSE_STEPS': [10], 'NEW_INTERVAL': 70, 'MINIMUM_INTERVAL': 1, "
            "'hard_factor': 120}");
  EXPECT_EQ(Value(stored()), Value(defaults.make_default_values_dictionary()));
}

TEST_F(SettingsTest, TheStartHourReachesTheWholeManager) {
  Karteikartenverwaltung kkv{test_environment()};
  kkv.add_haendesammlung(Dict{{1, Dict{{"fragetext", "F"}, {"antworttext", "A"}}}}, "kk_test");
  store(Dict{{"startzeit_tag", 11}});
  kkv.update_default_values();
  const SammlungRef sammlung = kkv.hc.get_richtige_sammlung("kk_test");
  EXPECT_EQ(kkv.zeitberechnung->startzeit_tag(), 11);
  EXPECT_EQ(sammlung->startzeit_tag, 11);
  EXPECT_TRUE(kkv.hc.zeitberechnung == kkv.zeitberechnung);
  EXPECT_TRUE(sammlung->zeitberechnung == kkv.zeitberechnung);
  // At 10:00 the learning day that starts at 11:00 is still yesterday.
  EXPECT_EQ(sammlung->datum_heute(), "2021-9-21");
  EXPECT_EQ(kkv.get_now(), DateTime(2021, 9, 21, 10, 0));
}

TEST_F(SettingsTest, TodaysNewCardLimitLapsesWithItsLearningDay) {
  store(Dict{{"neue_karten_nur_heute", Dict{{"2021-9-21", 7}}}});
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).neue_karten_nur_heute, std::nullopt);
  EXPECT_EQ(repr(stored().at("neue_karten_nur_heute")), "{'2021-9-22': None}");

  store(Dict{{"neue_karten_nur_heute", Dict{{"2021-9-22", 7}}}});
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).neue_karten_nur_heute, 7);
  // Before 03:00 the learning day of the evening before is still running.
  test_environment().cf.set_fixed_now(a_morning + 16.5 * 3600);  // 2021-09-23 02:30
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).neue_karten_nur_heute, 7);
  test_environment().cf.set_fixed_now(a_morning + 17 * 3600);  // 2021-09-23 03:00
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).neue_karten_nur_heute, std::nullopt);

  // A plain number counts as set today.
  store(Dict{{"neue_karten_nur_heute", 4}});
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).neue_karten_nur_heute, 4);
  EXPECT_EQ(repr(stored().at("neue_karten_nur_heute")), "{'2021-9-23': 4}");
}

TEST_F(SettingsTest, MinimumAndMaximumTables) {
  Karteikartenverwaltung kkv{test_environment()};
  const Dict minimum = kkv.set_minimum_values_in_dict();
  EXPECT_EQ(repr(minimum.at("STARTING_EASE")), "130");
  EXPECT_EQ(kkv.MAXIMUM_INTERVAL, 7);
  EXPECT_EQ(kkv.NEW_STEPS_min, 1);
  EXPECT_EQ(kkv.zeitberechnung->startzeit_tag(), 0);
  EXPECT_EQ(repr(stored().at("MAXIMUM_INTERVAL")), "36500");  // not stored

  EXPECT_EQ(repr(kkv.get_maximum_values()),
            "{'vergessen_in_letzten_tagen_groesstmoeglicher_wert': 999, 'startzeit_tag': 23, "
            "'neue_karten_pro_tag': 9999, 'maximale_wiederholungen_pro_tag': 9999, "
            "'maximale_beantwortungszeit': 999, 'maximale_beantwortungszeit_reizung': 999, "
            "'NEW_STEPS': [1, 10], 'GRADUATING_INTERVAL': 99, 'EASY_INTERVAL': 99, "
            "'STARTING_EASE': 999, 'EASY_BONUS': 999, 'INTERVAL_MODIFIER': 999, "
            "'MAXIMUM_INTERVAL': 99999, 'LAPSE_STEPS': [10], 'NEW_INTERVAL': 100, "
            "'MINIMUM_INTERVAL': 99, 'hard_factor': 999, 'NEW_STEPS_min': 99999, "
            "'LAPSE_STEPS_min': 99999}");
  EXPECT_EQ(kkv.MAXIMUM_INTERVAL, 7);

  // The table hands out copies of its lists.
  kkv.set_default_values();
  kkv.NEW_STEPS.append(60);
  kkv.set_default_values();
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[1, 10]");
}

TEST_F(SettingsTest, ANewManagerSeesTheSavedSettings) {
  {
    Karteikartenverwaltung kkv{test_environment()};
    kkv.NEW_STEPS = List{2, 20, 200};
    kkv.neue_karten_nur_heute = 3;
    kkv.save_default_values(Dict());
  }
  const Karteikartenverwaltung kkv{test_environment()};
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[2, 20, 200]");
  EXPECT_EQ(kkv.neue_karten_nur_heute, 3);
  // A given table is stored as it is.
  Karteikartenverwaltung(test_environment()).save_default_values(Dict{{"hard_factor", 150}});
  EXPECT_EQ(repr(stored()), "{'hard_factor': 150}");
}

TEST_F(SettingsTest, AStoredValueOfTheWrongKindStopsTheLoad) {
  store(Dict{{"startzeit_tag", 5}, {"neue_karten_pro_tag", "zehn"}, {"hard_factor", 150}});
  Karteikartenverwaltung kkv{test_environment()};
  // Construction discards the failure: the load stopped at the bad value.
  EXPECT_EQ(kkv.startzeit_tag, 5);
  EXPECT_EQ(kkv.neue_karten_pro_tag, 5);
  EXPECT_EQ(kkv.hard_factor, 120);
  EXPECT_EQ(stored().size(), 3u);
  EXPECT_THAT(
      [&] { kkv.update_default_values(); },
      ThrowsMessage<TypeError>(StrEq("setting 'neue_karten_pro_tag' must be an integer, not str")));
  store(Dict{{"startzeit_tag", 24}});
  EXPECT_THROW(kkv.update_default_values(), ValueError);
  EXPECT_EQ(kkv.zeitberechnung->startzeit_tag(), 3);
}

TEST_F(SettingsTest, DescriptionsShowEverySettingWithItsBounds) {
  Karteikartenverwaltung kkv{test_environment()};
  const std::vector<SettingDescription> descriptions = kkv.settings_store().describe_settings();
  std::vector<Value> keys;
  for (const SettingDescription& description : descriptions) keys.emplace_back(description.key);
  EXPECT_EQ(keys, kkv.make_default_values_dictionary().keys());

  const auto shown = [&](std::size_t index) {
    const SettingDescription& d = descriptions.at(index);
    return d.key + " " + repr(d.wert) + " " + repr(d.minimum) + ".." + repr(d.maximum) +
           " default " + repr(d.standard);
  };
  EXPECT_EQ(shown(1), "startzeit_tag 3 0..23 default 3");
  EXPECT_EQ(shown(3), "neue_karten_nur_heute None None..None default None");
  EXPECT_EQ(shown(4), "maximale_wiederholungen_pro_tag 3 0..9999 default 50");
  EXPECT_EQ(shown(7), "NEW_STEPS [1, 10] 1..99999 default [1, 10]");
  EXPECT_EQ(shown(10), "STARTING_EASE 250 130..999 default 250");
  EXPECT_EQ(shown(14), "LAPSE_STEPS [10, 1440] 1..99999 default [10]");
  EXPECT_EQ(shown(17), "hard_factor 120 5..999 default 120");
  EXPECT_EQ(descriptions.at(1).unit, SettingUnit::hour_of_day);
  EXPECT_EQ(descriptions.at(7).unit, SettingUnit::minutes);
  EXPECT_EQ(descriptions.at(10).unit, SettingUnit::percent);

  // A described list is a copy.
  descriptions.at(7).wert.as_list().append(60);
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[1, 10]");
}

TEST_F(SettingsTest, TypedTextIsReadByTheKindOfTheSetting) {
  const auto read = [](std::string_view key, std::string_view text) {
    return repr(setting_value_from_text(key, text));
  };
  EXPECT_EQ(read("neue_karten_pro_tag", " 25 "), "25");
  EXPECT_EQ(read("neue_karten_pro_tag", "-3"), "-3");
  EXPECT_EQ(read("NEW_STEPS", "1, 10"), "[1, 10]");
  EXPECT_EQ(read("NEW_STEPS", "[1,10, 60]"), "[1, 10, 60]");
  EXPECT_EQ(read("LAPSE_STEPS", "10 1440"), "[10, 1440]");
  EXPECT_EQ(read("LAPSE_STEPS", "[]"), "[]");
  EXPECT_EQ(read("neue_karten_nur_heute", "None"), "None");
  EXPECT_EQ(read("neue_karten_nur_heute", "7"), "7");

  EXPECT_THAT(
      [] { setting_value_from_text("STARTING_EASE", "2.5"); },
      ThrowsMessage<ValueError>(StrEq("setting 'STARTING_EASE' needs an integer, not '2.5'")));
  EXPECT_THROW(setting_value_from_text("STARTING_EASE", ""), ValueError);
  EXPECT_THAT([] { setting_value_from_text("NEW_STEPS", "a,b"); },
              ThrowsMessage<ValueError>(
                  StrEq("setting 'NEW_STEPS' needs integers separated by commas, not 'a,b'")));
  EXPECT_THROW(setting_value_from_text("NEW_STEPS", "1,,10"), ValueError);
  EXPECT_THROW(setting_value_from_text("NEW_STEPS", "1, 10,"), ValueError);
  EXPECT_THAT([] { setting_value_from_text("neue_karten_nur_heute", "heute"); },
              ThrowsMessage<ValueError>(
                  StrEq("setting 'neue_karten_nur_heute' needs an integer or none, not 'heute'")));
  EXPECT_THAT([] { setting_value_from_text("x", "1"); },
              ThrowsMessage<KeyError>(StrEq("no setting 'x'")));
  // The bounds of a step are no setting.
  EXPECT_THROW(setting_value_from_text("NEW_STEPS_min", "1"), KeyError);
}

TEST_F(SettingsTest, AChangeWithinItsBoundsReachesTheNextManager) {
  {
    Karteikartenverwaltung kkv{test_environment()};
    kkv.settings_store().change_setting("STARTING_EASE", 130);
    kkv.settings_store().change_setting("MAXIMUM_INTERVAL", 99999);
    kkv.settings_store().change_setting("NEW_STEPS", setting_value_from_text("NEW_STEPS", "2, 20"));
    kkv.settings_store().change_setting("neue_karten_nur_heute", 7);
    kkv.settings_store().change_setting("startzeit_tag", 5);
    EXPECT_EQ(kkv.hc.startzeit_tag, 5);
    EXPECT_EQ(kkv.zeitberechnung->startzeit_tag(), 5);
  }
  Karteikartenverwaltung kkv{test_environment()};
  EXPECT_EQ(kkv.STARTING_EASE, 130);
  EXPECT_EQ(kkv.MAXIMUM_INTERVAL, 99999);
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[2, 20]");
  EXPECT_EQ(kkv.neue_karten_nur_heute, 7);
  EXPECT_EQ(kkv.startzeit_tag, 5);

  kkv.settings_store().change_setting("neue_karten_nur_heute", None);
  EXPECT_EQ(Karteikartenverwaltung(test_environment()).neue_karten_nur_heute, std::nullopt);
}

TEST_F(SettingsTest, AChangeOutsideItsBoundsIsRefusedAndNothingChanges) {
  Karteikartenverwaltung kkv{test_environment()};
  const std::string before = repr(stored());
  const auto refused = [&](std::string_view key, const Value& wert) -> std::string {
    try {
      kkv.settings_store().change_setting(key, wert);
    } catch (const Error& error) {
      return error.what();
    }
    return "accepted";
  };
  EXPECT_EQ(refused("STARTING_EASE", 100),
            "setting 'STARTING_EASE' must be from 130 to 999, not 100");
  EXPECT_EQ(refused("startzeit_tag", 24), "setting 'startzeit_tag' must be from 0 to 23, not 24");
  EXPECT_EQ(refused("NEW_STEPS", List{}), "setting 'NEW_STEPS' needs at least one step");
  EXPECT_EQ(refused("NEW_STEPS", List{1, 0}),
            "setting 'NEW_STEPS' must have steps from 1 to 99999 minutes, not 0");
  EXPECT_EQ(refused("LAPSE_STEPS", List{100000}),
            "setting 'LAPSE_STEPS' must have steps from 1 to 99999 minutes, not 100000");
  EXPECT_EQ(refused("neue_karten_nur_heute", -1),
            "setting 'neue_karten_nur_heute' must be none or at least 0, not -1");
  EXPECT_EQ(refused("x", 1), "no setting 'x'");
  EXPECT_THROW(kkv.settings_store().change_setting("STARTING_EASE", "200"), TypeError);
  EXPECT_THROW(kkv.settings_store().change_setting("NEW_STEPS", List{1, "10"}), TypeError);
  EXPECT_THROW(kkv.settings_store().change_setting("NEW_STEPS", 10), TypeError);

  EXPECT_EQ(kkv.STARTING_EASE, 250);
  EXPECT_EQ(kkv.startzeit_tag, 3);
  EXPECT_EQ(repr(kkv.NEW_STEPS), "[1, 10]");
  EXPECT_EQ(repr(kkv.LAPSE_STEPS), "[10, 1440]");
  EXPECT_EQ(kkv.neue_karten_nur_heute, std::nullopt);
  EXPECT_EQ(repr(stored()), before);
}

TEST_F(SettingsTest, AHostOfItsOwnStartsWithTheDefaultColumnAndGoesBackToIt) {
  const std::filesystem::path file = directory_ / "settings/kkv_settings.eps";
  struct Start {
    std::string name;
    std::optional<std::string> file_text;
    bool stored_now;
    std::int64_t neue_karten_pro_tag;
  };
  for (const Start& start : std::vector<Start>{
           {"nothing stored", std::nullopt, true, 5},
           {"an unreadable file", "{ damaged", true, 5},
           {"settings stored", R"({"neue_karten_pro_tag": 12})", false, 12},
       }) {
    std::filesystem::remove(file);
    if (start.file_text) {
      std::filesystem::create_directories(file.parent_path());
      std::ofstream(file) << *start.file_text;
    }
    test_environment().diagnostics.warning_line = [](const std::string&) {};
    EXPECT_EQ(store_default_settings_if_none_stored(test_environment()), start.stored_now) << start.name;
    test_environment().diagnostics = platform::Diagnostics();
    EXPECT_EQ(stored_setting(test_environment(), "neue_karten_pro_tag"), Value(start.neue_karten_pro_tag));
    const Karteikartenverwaltung kkv{test_environment()};
    EXPECT_EQ(kkv.neue_karten_pro_tag, start.neue_karten_pro_tag) << start.name;
    if (start.stored_now) {
      EXPECT_EQ(kkv.maximale_wiederholungen_pro_tag, 50);
      EXPECT_EQ(repr(kkv.NEW_STEPS), "[1, 10]");
      EXPECT_EQ(repr(kkv.LAPSE_STEPS), "[10]");
      EXPECT_EQ(Value(stored()), Value(kkv.make_default_values_dictionary()));
    }
  }

  Karteikartenverwaltung kkv{test_environment()};
  kkv.settings_store().change_setting("STARTING_EASE", 300);
  kkv.settings_store().change_setting("startzeit_tag", 5);
  kkv.settings_store().change_setting("neue_karten_nur_heute", 7);
  kkv.settings_store().reset_to_default_settings();
  EXPECT_EQ(kkv.STARTING_EASE, 250);
  EXPECT_EQ(kkv.zeitberechnung->startzeit_tag(), 3);
  EXPECT_EQ(kkv.neue_karten_nur_heute, std::nullopt);
  EXPECT_EQ(kkv.neue_karten_pro_tag, 5);
  const Karteikartenverwaltung next{test_environment()};
  EXPECT_EQ(Value(next.make_default_values_dictionary()),
            Value(kkv.make_default_values_dictionary()));
  EXPECT_EQ(repr(stored().at("LAPSE_STEPS")), "[10]");
}

TEST_F(SettingsTest, LoadingSettingsThatNeedNoChangeDoesNotRewriteThem) {
  const std::filesystem::path file = directory_ / "settings/kkv_settings.eps";
  const auto load = [] { return Karteikartenverwaltung(test_environment()).neue_karten_pro_tag; };
  load();
  const auto an_hour_ago = std::filesystem::last_write_time(file) - std::chrono::hours(1);
  std::filesystem::last_write_time(file, an_hour_ago);
  load();
  EXPECT_EQ(std::filesystem::last_write_time(file), an_hour_ago);
  // The next learning day the day-bound value is dated anew and stored.
  test_environment().cf.set_fixed_now(a_morning + 86400);
  load();
  EXPECT_NE(std::filesystem::last_write_time(file), an_hour_ago);
  EXPECT_EQ(repr(stored().at("neue_karten_nur_heute")), "{'2021-9-23': None}");
}

}  // namespace
}  // namespace tavo::kk
