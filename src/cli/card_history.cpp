#include "cli/card_history.hpp"

#include <fmt/format.h>

#include <ostream>

#include "cli/figures_report.hpp"
#include "cli/translation.hpp"
#include "value/repr.hpp"

namespace tavo::cli {
namespace {

// `value` as a learner reads it; "-" where there is none.
std::string shown(const Value& value) { return value.is_none() ? "-" : str(value); }

constexpr const char* history_columns = "{:<18}{:<10}{:<9}{:<10}{:<6}{}\n";

}  // namespace

std::vector<CardMatch> cards_named_or_asked(const kk::Karteikartenverwaltung& kkv,
                                            const std::string& text) {
  std::vector<CardMatch> found;
  for (const kk::SammlungRef& sammlung : kkv.hc.liste_aller_sammlungen) {
    for (const auto& [name, record] : sammlung->karten) {
      const std::string question = record->fragetext.value_or("");
      if (name == text || question == text) found.push_back({name, sammlung->name, question});
    }
  }
  return found;
}

void print_history(std::ostream& out, const std::vector<kk::PastAnswer>& answers) {
  if (answers.empty()) {
    out << tr("No answer to this card is stored.") << "\n";
    return;
  }
  out << fmt::format(history_columns, tr("answered"), tr("response"), tr("seconds"), tr("interval"),
                     tr("ease"), tr("learnstatus"));
  for (const kk::PastAnswer& answer : answers) {
    out << fmt::format(history_columns, local_time_text(answer.moment), answer.response,
                       shown(answer.seconds), shown(answer.interval), shown(answer.ease_factor),
                       shown(answer.learnstatus));
  }
}

}  // namespace tavo::cli
