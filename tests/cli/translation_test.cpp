// kkv's texts in English and German, and what happens without a usable
// German catalogue.
#include "cli/translation.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temporary_directory.hpp"
#include "value/repr.hpp"

namespace tavo::cli {
namespace {

using testing::TemporaryDirectory;

TEST(Translation, IntervalTextsInEachLanguage) {
  const TemporaryDirectory broken;
  std::filesystem::create_directories(broken / "de" / "LC_MESSAGES");
  std::ofstream(broken / "de" / "LC_MESSAGES" / "kkv.mo") << "not a catalogue";
  const struct {
    Value days;
    const char* english;
    const char* german;
    // Without a usable catalogue: the module's own texts.
    const char* fallback;
  } cases[] = {
      {"done", "done", "Ende", "Ende"},
      {"", "—", "Ende", "Ende"},
      {10.0 / 1440, "< 10 min", "< 10min", "< 10min"},
      {1, "1 day", "1 Tag", "1 Tag"},
      {1.2, "1 day", "1 Tag", "1 Tage"},
      {4, "4 days", "4 Tage", "4 Tage"},
      {30.4375, "1.0 month", "1.0 Monat", "1.0 Monat"},
      {45, "1.5 months", "1.5 Monate", "1.5 Monate"},
      {365.25, "1.0 year", "1.0 Jahr", "1.0 Jahr"},
      {400, "1.1 years", "1.1 Jahre", "1.1 Jahre"},
  };
  const auto texts = [&](const char* language, const std::filesystem::path& directory) {
    speak(language, directory);
    std::vector<std::string> shown;
    for (const auto& c : cases) shown.push_back(interval_text(kk::interval_label(c.days)));
    return shown;
  };
  const std::vector<std::string> english = texts("en", KKV_BUILD_LOCALE_DIR);
  const std::vector<std::string> german = texts("de", KKV_BUILD_LOCALE_DIR);
  const std::vector<std::string> fallback = texts("de", broken.path());
  speak("en", KKV_BUILD_LOCALE_DIR);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(english[i], cases[i].english) << repr(cases[i].days);
    EXPECT_EQ(german[i], cases[i].german) << repr(cases[i].days);
    EXPECT_EQ(fallback[i], cases[i].fallback) << repr(cases[i].days);
  }
}

TEST(Translation, UnusableCatalogueIsSaidInOneLine) {
  const TemporaryDirectory directory;
  const std::filesystem::path file = directory / "de" / "LC_MESSAGES" / "kkv.mo";
  EXPECT_EQ(speak("de", directory.path()), "the message catalogue \"" + file.string() +
                                               "\" is missing; the texts stay in English");
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file) << "\x95\x04";
  EXPECT_EQ(speak("de", directory.path()), "the message catalogue \"" + file.string() +
                                               "\" is damaged; the texts stay in English");
  EXPECT_EQ(tr("Next card due"), std::string("Next card due"));
  EXPECT_EQ(speak("en", directory.path()), std::nullopt);
}

TEST(Translation, LanguageFollowsTheFirstLocaleVariableSet) {
  const struct {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    const char* language;
  } cases[] = {
      {nullptr, nullptr, nullptr, "en"},  {nullptr, nullptr, "de_DE.UTF-8", "de"},
      {"", "de_AT", "en_US.UTF-8", "de"}, {"C", "de_DE", "de_DE", "en"},
      {nullptr, "de", nullptr, "de"},     {nullptr, nullptr, "dex", "en"},
      {"fr_FR", nullptr, nullptr, "en"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(language_of_locale(c.lc_all, c.lc_messages, c.lang), c.language)
        << (c.lang ? c.lang : "-");
  }
}

}  // namespace
}  // namespace tavo::cli
