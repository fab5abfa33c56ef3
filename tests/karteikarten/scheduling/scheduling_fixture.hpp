// A manager with one registered collection "kk_test" of three question
// cards, in a temporary app directory, with the clock frozen at
// 2021-09-22 10:00 (Europe/Berlin).
#pragma once

#include <gtest/gtest.h>

#include "support/test_environment.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/common_functions.hpp"
#include "platform/environment.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::kk::testing {

inline constexpr double a_morning = 1632297600;
inline constexpr double a_day = 86400;

class SchedulingTest : public ::testing::Test {
 protected:
  SchedulingTest() : data_dir_("TAVO_DATA_DIR", directory_.path().string()) {
    test_environment().cf.set_fixed_now(a_morning);
    Dict modul;
    for (int i = 1; i <= 3; ++i) {
      modul.set(i, Dict{{"fragetext", "Frage"}, {"antworttext", "Antwort"}});
    }
    kkv.add_haendesammlung(modul, "kk_test");
  }
  ~SchedulingTest() override { test_environment().cf.clear_fixed_now(); }

  // The working card of "kk_test-<number>".
  Karteikarte card(int number = 1) {
    const std::string name = "kk_test-" + std::to_string(number);
    return Karteikarte(kkv.hc.get_richtige_sammlung("kk_test")->karten.at(name), name,
                       kkv.startzeit_tag);
  }

  // A card of the learned phase with the given interval and ease, due at
  // `due`.
  Karteikarte learned_card(const Value& interval, const Value& ease, double due) {
    Karteikarte learned = card();
    learned.learnstatus = Learnstatus::learned;
    learned.interval = interval;
    learned.ease_factor = ease;
    learned.due = Due::at(due);
    return learned;
  }

 private:
  tavo::testing::TemporaryDirectory directory_;
  tavo::testing::ScopedEnvironment data_dir_;

 protected:
  Karteikartenverwaltung kkv{test_environment()};
};

}  // namespace tavo::kk::testing
