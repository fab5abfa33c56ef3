#include "cli/figures_report.hpp"

#include <fmt/format.h>

#include <ostream>

#include "cli/translation.hpp"
#include "karteikarten/scheduling/time_helpers.hpp"
#include "value/date_time.hpp"

namespace tavo::cli {
namespace {

std::string limit_text(const std::optional<std::int64_t>& limit) {
  return limit ? trf("{} per collection", *limit) : tr("none");
}

}  // namespace

std::string collections_line(const kk::Karteikartenverwaltung& kkv) {
  std::string line;
  for (const kk::SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    const std::size_t cards = sammlung->karten.size();
    if (!line.empty()) line += ", ";
    line += trf_n("{} ({} card)", "{} ({} cards)", cards, sammlung->name, cards);
  }
  return line;
}

std::string local_time_text(double seconds) {
  const DateTime moment = DateTime::fromtimestamp(seconds);
  return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", moment.year(), moment.month(), moment.day(),
                     moment.hour(), moment.minute());
}

std::string next_due_text(const kk::DayFigures& figures, double now) {
  if (!figures.next_due) {
    return figures.due_now > 0 ? tr("No other card has a due moment yet.")
                               : tr("No card has a due moment yet.");
  }
  const double days = (*figures.next_due - now) / 86400;
  return trf("Next card due: {} ({})", local_time_text(*figures.next_due),
             interval_text(kk::interval_label(days)));
}

void print_next_due(std::ostream& out, const kk::DayFigures& figures, double now) {
  out << next_due_text(figures, now) << "\n";
}

std::vector<std::pair<std::string, std::string>> figure_lines(const kk::DayFigures& figures,
                                                              bool today_only) {
  std::vector<std::pair<std::string, std::string>> lines;
  const auto line = [&](const char* label, const auto& value) {
    lines.emplace_back(label, fmt::format("{}", value));
  };
  line(tr("Repetitions today"), figures.repetitions_today);
  if (!today_only) line(tr("Repetitions in total"), figures.repetitions_total);
  line(tr("\"again\" today"), figures.again_today);
  if (!today_only) {
    line(tr("\"again\" in total"), figures.again_total);
    line(tr("Learning days"), figures.learning_days);
  }
  line(tr("Answer time today"), trf("{:.1f} min", figures.answer_minutes_today));
  line(tr("New cards today"),
       trf("{} (limit {})", figures.new_cards_today, limit_text(figures.new_card_limit)));
  line(tr("Reviews today"),
       trf("{} (limit {} per collection)", figures.reviews_today, figures.review_limit));
  line(tr("Cards due now"), figures.due_now);
  line(tr("Cards due tomorrow"), figures.due_tomorrow);
  return lines;
}

void print_figures(std::ostream& out, const kk::DayFigures& figures, bool today_only) {
  for (const auto& [label, value] : figure_lines(figures, today_only)) {
    out << fmt::format("{:<26}{}\n", label + ":", value);
  }
}

}  // namespace tavo::cli
