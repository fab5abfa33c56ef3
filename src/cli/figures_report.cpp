#include "cli/figures_report.hpp"

#include "cli/translation.hpp"

#include <fmt/format.h>

#include <ostream>

#include "karteikarten/scheduling/time_helpers.hpp"
#include "value/date_time.hpp"

namespace tavo::cli {
namespace {

std::string limit_text(const std::optional<std::int64_t>& limit) {
  return limit ? fmt::format("{} per collection", *limit) : "none";
}

}  // namespace

std::string local_time_text(double seconds) {
  const DateTime moment = DateTime::fromtimestamp(seconds);
  return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", moment.year(), moment.month(), moment.day(),
                     moment.hour(), moment.minute());
}

void print_next_due(std::ostream& out, const kk::DayFigures& figures, double now) {
  if (!figures.next_due) {
    out << (figures.due_now > 0 ? "No other card has a due moment yet.\n"
                                : "No card has a due moment yet.\n");
    return;
  }
  const double days = (*figures.next_due - now) / 86400;
  out << "Next card due: " << local_time_text(*figures.next_due) << " ("
      << interval_text(kk::interval_label(days)) << ")\n";
}

void print_figures(std::ostream& out, const kk::DayFigures& figures, bool today_only) {
  const auto line = [&](std::string_view label, const auto& value) {
    out << fmt::format("{:<26}{}\n", std::string(label) + ":", value);
  };
  line("Repetitions today", figures.repetitions_today);
  if (!today_only) line("Repetitions in total", figures.repetitions_total);
  line("\"again\" today", figures.again_today);
  if (!today_only) {
    line("\"again\" in total", figures.again_total);
    line("Learning days", figures.learning_days);
  }
  line("Answer time today", fmt::format("{:.1f} min", figures.answer_minutes_today));
  line("New cards today",
       fmt::format("{} (limit {})", figures.new_cards_today, limit_text(figures.new_card_limit)));
  line("Reviews today",
       fmt::format("{} (limit {} per collection)", figures.reviews_today, figures.review_limit));
  line("Cards due now", figures.due_now);
  line("Cards due tomorrow", figures.due_tomorrow);
}

}  // namespace tavo::cli
