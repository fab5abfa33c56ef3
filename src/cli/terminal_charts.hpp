// The pictures of kkv stats, drawn with block characters: each chart a
// title, its rows and its axis captions, at most 80 columns wide.
#pragma once

#include <iosfwd>

#include "karteikarten/frame/learning_pictures.hpp"

namespace tavo::cli {

// Bars of the cards due on each of the next learning days, eight rows high
// (▁▂▃▄▅▆▇█ for the eighths of a row).
void print_due_forecast_chart(std::ostream& out, const kk::LearningPictures& pictures);

// The answers per learning day as a calendar: a row per weekday, a column
// per week, each day a shade (·░▒▓█), and the legend of the shades.
void print_answer_calendar(std::ostream& out, const kk::LearningPictures& pictures);

// Bars of the weekly share of "again", one chart for young cards and one
// for mature ones; "·" marks a week without answers.
void print_again_share_chart(std::ostream& out, const kk::LearningPictures& pictures);

// The three, each after a blank line.
void print_charts(std::ostream& out, const kk::LearningPictures& pictures);

}  // namespace tavo::cli
