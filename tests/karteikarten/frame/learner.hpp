// A learner's own data directory and a manager on it as a host starts one:
// the collection "kk_test" of three question cards registered, and the
// clock frozen at 2021-09-22 10:00 (Europe/Berlin) until the learner is
// gone. Answers go through answer_card, as the host loop gives them.
#pragma once

#include <memory>
#include <string>

#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "karteikarten/frame/learning_step.hpp"
#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"
#include "support/test_environment.hpp"

namespace tavo::kk::testing {

inline constexpr double learner_morning = 1632297600;
inline constexpr double one_day = 86400;

class Learner {
 public:
  // A new manager on the same data directory, as the next session starts.
  std::unique_ptr<Karteikartenverwaltung> next_session() const {
    auto kkv = std::make_unique<Karteikartenverwaltung>(test_environment());
    Dict modul;
    for (int hand = 1; hand <= 3; ++hand) {
      modul.set(hand,
                Dict{{"fragetext", "Frage " + std::to_string(hand)}, {"antworttext", "Antwort"}});
    }
    kkv->add_haendesammlung(modul, "kk_test");
    return kkv;
  }

  // The record of the card `name` in the live collection "kk_test" (in the
  // forgotten-cards drill, the drill's copy), marked as changed, since
  // tests change it through this.
  CardRecord& record(const std::string& name) const {
    return kkv->hc.sammlung_named("kk_test")->karten.at(name).edit();
  }

  // Makes the card `name` a review card of a ten-day interval, due at
  // `due`; the caller stores it.
  void make_review(const std::string& name, double due) const {
    CardRecord& card = record(name);
    card.learnstatus = Learnstatus::learned;
    card.karte_ist_neu = false;
    card.reps = 4;
    card.interval = 10;
    card.ease_factor = 250;
    card.due = Due::at(due);
  }

  // Answers the card `name` with `response`, eight seconds taken.
  Value answer(const std::string& name, const std::string& response) {
    Karteikarte card(kkv->hc.sammlung_named("kk_test")->karten.at(name), name, kkv->startzeit_tag);
    return answer_card(*kkv, card, Antwort{response, 8});
  }

 private:
  // Frozen before the manager starts, thawed after it is gone.
  struct FrozenClock {
    FrozenClock() { test_environment().cf.set_fixed_now(learner_morning); }
    ~FrozenClock() { test_environment().cf.clear_fixed_now(); }
    FrozenClock(const FrozenClock&) = delete;
    FrozenClock& operator=(const FrozenClock&) = delete;
  };

  const FrozenClock clock_;
  const tavo::testing::TemporaryDirectory directory_;
  const tavo::testing::ScopedEnvironment data_dir_{"TAVO_DATA_DIR", directory_.path().string()};

 public:
  const std::unique_ptr<Karteikartenverwaltung> kkv = next_session();
};

}  // namespace tavo::kk::testing
