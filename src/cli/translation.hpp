// kkv's texts in the learner's language. The texts are written in English
// in the code; the message catalogue of the text domain "kkv" (po/de.po,
// compiled by msgfmt into <locale dir>/de/LC_MESSAGES/kkv.mo) gives them
// in German. Every text a learner sees goes through these functions, so
// that xgettext finds it (keywords tr, tr_n:1,2, trf, trf_n:1,2).
//
// Translated texts with {} placeholders are fmt format strings; one that a
// damaged catalogue spoils falls back to the English text.
#pragma once

#include <fmt/format.h>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "karteikarten/scheduling/time_helpers.hpp"

namespace tavo::cli {

// The languages kkv speaks: "en" and "de".
const std::vector<std::string>& languages();

// The language of a run without --lang: "de" when the first of the locale
// variables LC_ALL, LC_MESSAGES and LANG that is set and not empty names
// German ("de", "de_DE.UTF-8", ...), otherwise "en".
std::string language_of_locale(const char* lc_all, const char* lc_messages, const char* lang);

// Where the catalogues are: $KKV_LOCALEDIR when set; else the locale
// directory beside the program (<prefix>/share/locale) when it holds kkv's
// catalogues; else the build's.
std::filesystem::path catalogue_directory();

// Speaks `language` from now on, with the catalogues under `directory`.
// For a language whose catalogue is missing or damaged, the texts stay in
// English (the button intervals as the module words them) and the result
// is one line saying so.
std::optional<std::string> speak(const std::string& language,
                                 const std::filesystem::path& directory);

// The language the texts are in: "en", or the language of the catalogue
// in use.
const std::string& spoken_language();

// `english` in the language spoken.
const char* tr(const char* english);

// The singular or plural form for `count`.
const char* tr_n(const char* singular, const char* plural, unsigned long count);

// `english` in the language spoken, with its {} placeholders filled.
template <typename... Args>
std::string trf(const char* english, const Args&... args) {
  try {
    return fmt::format(fmt::runtime(tr(english)), args...);
  } catch (const fmt::format_error&) {
    return fmt::format(fmt::runtime(english), args...);
  }
}

// The singular or plural form for `count`, with its placeholders filled.
template <typename... Args>
std::string trf_n(const char* singular, const char* plural, unsigned long count,
                  const Args&... args) {
  try {
    return fmt::format(fmt::runtime(tr_n(singular, plural, count)), args...);
  } catch (const fmt::format_error&) {
    return fmt::format(fmt::runtime(count == 1 ? singular : plural), args...);
  }
}

// The label of an answer button or a due interval: "< 10 min", "4 days",
// "1.1 months", "—" for a button that cannot be pressed, "done" for a card
// finished in the drill (in German "< 10min", "4 Tage", "1.1 Monate",
// "Ende").
std::string interval_text(const kk::IntervalLabel& label);

}  // namespace tavo::cli
