// kkv report: the learning figures and the three pictures of kkv stats as
// one self-contained HTML page: inline CSS and SVG, no scripts, nothing
// fetched from elsewhere, UTF-8.
//
// Each bar and calendar day carries its value twice: as a tooltip (an SVG
// <title>) for the learner, and as data attributes for programs:
//   due forecast   <rect class="due" data-day="2026-03-04" data-count="5">
//   calendar       <rect class="day" data-day="2026-03-04" data-count="12">
//   "again" share  <rect class="week" data-series="young" data-week="2026-03-02"
//                        data-answers="40" data-again="6">
// Days after today in the calendar's last week have no rect; a week
// without answers of a series has a rect of height 0.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "karteikarten/frame/day_figures.hpp"
#include "karteikarten/frame/learning_pictures.hpp"

namespace tavo::cli {

struct ReportContents {
  // The registered collections with their sizes (collections_line).
  std::string collections;
  kk::DayFigures figures;
  kk::LearningPictures pictures;
  // The present moment, seconds since the epoch.
  double now = 0;
};

// The page, in the language spoken.
std::string html_report(const ReportContents& contents);

}  // namespace tavo::cli
