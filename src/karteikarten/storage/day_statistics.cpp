// The manager's day statistics: recording into and reading the day
// statistics store, the daily counters of the current collection, and the
// values that are valid for one learning day.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "karteikarten/storage/statistics_recorder.hpp"
#include "karteikarten/storage/day_bound_value.hpp"
#include "karteikarten/storage/day_statistics_store.hpp"
#include "karteikarten/collection/haendesammlung_vergessen.hpp"
#include "value/number_arithmetic.hpp"
#include "value/repr.hpp"

namespace tavo::kk {
namespace {

// The four slots of "zeitdauer_heute" in their stored order.
constexpr std::array<const char*, 4> time_slots{"kk", "reizung", "alleinspiel", "gegenspiel"};

bool is_settings_key(const std::string& name) {
  return name == "neue_karten_pro_tag" || name == "neue_karten_nur_heute" ||
         name == "wiederholungen_pro_tag";
}

// The store's date text of a recording: key[0], key[1] and key[2] joined by
// "-", each printed as the host prints it ("2022-1-3").
std::string date_text(const Tuple& key) {
  return str(key.at(0)) + "-" + str(key.at(1)) + "-" + str(key.at(2));
}

Dict zero_result(const std::string& key) {
  if (statistic_kind(key) != StatisticKind::time_totals) return Dict{{"anzahl", 0}};
  const Dict result{{"anzahl", 0}};
  for (const char* slot : time_slots) result.set(slot, 0);
  return result;
}

// What a counter history adds: its newest count, or with `today` only the
// growth on that day.
Value counter_share(const std::vector<DayCount>& pairs, const std::optional<std::string>& today) {
  if (pairs.empty()) return 0;
  const DayCount& newest = pairs.back();
  if (!today) return newest.total;
  if (newest.day != *today) return 0;
  return pairs.size() > 1 ? subtract_numbers(newest.total, pairs.front().total) : newest.total;
}

// The same for the time totals, slot by slot; nothing when nothing counts.
std::optional<std::array<Value, 4>> time_share(const std::vector<DayTimes>& tuples,
                                               const std::optional<std::string>& today) {
  if (tuples.empty()) return std::nullopt;
  const DayTimes& newest = tuples.back();
  if (!today) return newest.totals;
  if (newest.day != *today) return std::nullopt;
  if (tuples.size() == 1) return newest.totals;
  std::array<Value, 4> growth;
  for (std::size_t slot = 0; slot < growth.size(); ++slot) {
    growth[slot] = subtract_numbers(newest.totals[slot], tuples.front().totals[slot]);
  }
  return growth;
}

Dict sum_counters(DayStatisticsStore& store, const std::vector<std::string>& collections,
                  const std::string& key, const std::optional<std::string>& today) {
  Value anzahl = 0;
  for (const std::string& collection : collections) {
    anzahl = add_numbers(anzahl, counter_share(store.latest_counts(collection, key), today));
  }
  return Dict{{"anzahl", anzahl}};
}

Dict sum_times(DayStatisticsStore& store, const std::vector<std::string>& collections,
               const std::optional<std::string>& today) {
  std::array<Value, 4> sums{0, 0, 0, 0};
  for (const std::string& collection : collections) {
    const std::optional<std::array<Value, 4>> share =
        time_share(store.latest_times(collection), today);
    if (!share) continue;
    for (std::size_t slot = 0; slot < sums.size(); ++slot) {
      sums[slot] = add_numbers(sums[slot], (*share)[slot]);
    }
  }
  Value anzahl = 0;
  for (const Value& sum : sums) anzahl = add_numbers(anzahl, sum);
  const Dict result{{"anzahl", anzahl}};
  for (std::size_t slot = 0; slot < sums.size(); ++slot) result.set(time_slots[slot], sums[slot]);
  return result;
}

// Card lists, and every name recorded otherwise: a counter or time history
// holds no card names, so it sums to 0 here.
Dict sum_card_lists(DayStatisticsStore& store, const std::vector<std::string>& collections,
                    const std::string& key, const std::optional<std::string>& today) {
  std::int64_t anzahl = 0;
  for (const std::string& collection : collections) {
    anzahl += store.card_count(collection, key, today);
  }
  return Dict{{"anzahl", anzahl}};
}

}  // namespace

void StatisticsRecorder::update_um_1(const std::string& key) {
  if (!state_.sammlungsort_name) return;
  const std::int64_t index = hc_.get_index_from_name(*state_.sammlungsort_name);
  if (index < 0) return;
  const SammlungRef& sammlung = hc_.liste_aller_sammlungen.at(static_cast<std::size_t>(index));
  const Value wert = sammlung->get_metadata_heute(key);
  sammlung->set_metadata(key, wert.truthy() ? add_numbers(wert, 1) : Value(1));
}

void StatisticsRecorder::add_to_shelve(const std::string& sammlungsname, const Tuple& key,
                                           const std::string& name) {
  const std::string day = date_text(key);
  env_.diagnostics.check(!is_settings_key(name));
  if (UnsavedLogEntry* answer = answer_in_progress(sammlungsname)) {
    answer->row.answer.recordings.append(List{sammlungsname, name, day, deep_copy(key.at(3))});
    return;
  }
  DayStatisticsStore store = DayStatisticsStore::open_for_recording(day_statistics_path(env_));
  store.record(sammlungsname, name, day, key.at(3));
}

Dict StatisticsRecorder::iterate_key_shelve(const std::string& key, bool heute,
                                                bool alle) const {
  std::optional<DayStatisticsStore> store =
      DayStatisticsStore::open_for_reading(day_statistics_path(env_));
  if (!store || store->empty()) return zero_result(key);
  std::vector<std::string> collections;
  for (std::string& collection : store->collection_names()) {
    if (alle || hc_.get_index_from_name(collection) >= 0)
      collections.push_back(std::move(collection));
  }
  if (collections.empty()) return zero_result(key);
  const std::optional<std::string> today =
      heute ? std::optional(env_.cf.get_datum_string_startzeit(state_.startzeit_tag))
            : std::nullopt;
  switch (statistic_kind(key)) {
    case StatisticKind::counter: return sum_counters(*store, collections, key, today);
    case StatisticKind::time_totals: return sum_times(*store, collections, today);
    case StatisticKind::recent_counter:
    case StatisticKind::card_list: return sum_card_lists(*store, collections, key, today);
  }
  return zero_result(key);
}

double StatisticsRecorder::gesamte_zeitdauer_heute(bool heute) const {
  return iterate_key_shelve("zeitdauer_heute", heute).at("anzahl").as_float() / 60.0;
}

Value StatisticsRecorder::get_data_from_shelve(const std::string& key) const {
  std::optional<DayStatisticsStore> store =
      DayStatisticsStore::open_for_reading(day_statistics_path(env_));
  return store ? store->collection_layout(key) : Value(None);
}

void StatisticsRecorder::get_value_from_shelve_heute(const std::string&) const {
  // Reading the store leaves nothing behind that outlives the call, so
  // there is nothing to do.
}

List StatisticsRecorder::get_liste_alle_from_alte_daten() const {
  std::optional<DayStatisticsStore> store =
      DayStatisticsStore::open_for_reading(day_statistics_path(env_));
  List names;
  if (!store) return names;
  for (const std::string& name : store->collection_names()) {
    if (!name.ends_with(kk::forgotten_suffix)) names.append(name);
  }
  return names;
}

void StatisticsRecorder::erstelle_cashing(const Value& key, const Value& data) const {
  env_.diagnostics.print_line("in erstelle_cashing");
  env_.diagnostics.print_line(repr(Tuple{"key: ", key}));
  env_.diagnostics.print_line(repr(Tuple{"data: ", data}));
}

Dict StatisticsRecorder::set_heute_bezogener_wert(const Value&, const Value& wert) const {
  return day_bound_value(env_.cf, state_.startzeit_tag, wert);
}

Value StatisticsRecorder::get_heute_bezogener_wert_aus_dict(const Dict& dictionary,
                                                            const std::string& key) const {
  return todays_value_in(env_, state_.startzeit_tag, dictionary, key);
}

}  // namespace tavo::kk
