// Realistic collections for the benchmarks: a learner's collection after
// months of use, at a frozen moment, in a data directory of its own.
//
// A realistic collection of N question cards holds, in a random order fixed
// by the seed:
//   25 %  new cards (no due moment);
//    5 %  learned cards due a little before now;
//    5 %  cards in their learning steps (new or relearnt), due within ten
//         minutes;
//   65 %  learned cards due on a day of the coming year, with intervals,
//         ease factors and answer histories to match;
// and the day metadata of a learning day with 100 answers so far: six new
// cards put due and answered, forty reviews of which eight failed, and the
// day's counters and answer time. The same size and seed always give the
// same collection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/environment.hpp"
#include "karteikarten/frame/karteikartenverwaltung.hpp"
#include "platform/temporary_directory.hpp"

namespace tavo::bench {

// The present of every benchmark: Wednesday 2021-09-22 10:00 in
// Europe/Berlin, seven hours into the learning day that began at 03:00.
inline constexpr double bench_now = 1632297600;

// The daily review limit of the benchmark managers: high enough that every
// due card of the largest collection may be shown today.
inline constexpr std::int64_t bench_review_limit = 9999;

// The clock of the process-wide environment, which the managers read,
// frozen at bench_now and its random source seeded, for as long as the
// object lives.
// The environment every benchmark of the program runs in.
platform::Environment& bench_environment();

class FrozenTime {
 public:
  explicit FrozenTime(std::uint64_t seed = 1);
  FrozenTime(const FrozenTime&) = delete;
  FrozenTime& operator=(const FrozenTime&) = delete;
  ~FrozenTime();
};

// A fresh temporary application data directory, made the data directory of
// the process-wide environment, and removed with everything in it when the
// object goes.
class ScratchDataDirectory {
 public:
  ScratchDataDirectory();
  const std::filesystem::path& path() const { return directory_.path(); }

 private:
  platform::TemporaryDirectory directory_;
};

// The names of a realistic collection's cards that have a due moment, by
// their state.
struct CollectionCards {
  std::vector<std::string> due_now;
  std::vector<std::string> in_learning_steps;
  std::vector<std::string> due_later;
};

// A manager with the benchmark review limit.
std::unique_ptr<kk::Karteikartenverwaltung> make_bench_manager();

// Registers with `kkv` the realistic collection `name` of `count` cards
// (named "<name>-1" to "<name>-<count>"); it becomes the current
// collection. Nothing is stored.
CollectionCards add_realistic_collection(kk::Karteikartenverwaltung& kkv, std::size_t count,
                                         const std::string& name, std::uint64_t seed = 1);

// A benchmark manager in a scratch data directory with `collections`
// realistic collections of `cards_each` cards, "bench_0", "bench_1", ...,
// each with its own seed; the last one is the current collection.
class RealisticSession {
 public:
  RealisticSession(std::size_t collections, std::size_t cards_each);

  kk::Karteikartenverwaltung& manager() { return *manager_; }
  const CollectionCards& cards(std::size_t collection = 0) const { return cards_.at(collection); }
  static std::string collection_name(std::size_t collection);

  // Stores every collection, so that later saves write only what changes.
  void store();

 private:
  ScratchDataDirectory directory_;
  std::unique_ptr<kk::Karteikartenverwaltung> manager_;
  std::vector<CollectionCards> cards_;
};

// The one costly object (a session with a million cards, a year of
// history) that a benchmark case needs, kept across the case's calls: the
// runs that find its iteration count and its repetitions. It is made anew
// only when a case asks for another key, and the old one goes first, since
// each may own the process's data directory.
template <class Key, class Kept>
class KeptBetweenRuns {
 public:
  // The object for `key`, made by `make()` (a unique_ptr<Kept>) when needed.
  template <class Make>
  Kept& get(const Key& key, const Make& make) {
    if (key_ != key) {
      kept_.reset();
      key_.reset();
      kept_ = make();
      key_ = key;
    }
    return *kept_;
  }

 private:
  std::optional<Key> key_;
  std::unique_ptr<Kept> kept_;
};

}  // namespace tavo::bench
