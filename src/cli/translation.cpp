#include "cli/translation.hpp"

#include <libintl.h>
#include <unistd.h>

#include <array>
#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <fstream>

#include "value/quoted.hpp"
#include "value/repr.hpp"

namespace tavo::cli {
namespace {

constexpr const char* domain = "kkv";

// Separates a message's context from its text in a catalogue key, as
// msgfmt writes it for msgctxt.
constexpr char context_separator = '\004';

// Whether texts are looked up in a catalogue (not for English), and whether
// the button intervals are the module's own German texts (the German
// catalogue could not be used).
bool english_only = true;
bool module_intervals = false;
// The language of the texts: English until a catalogue is in use.
std::string spoken = "en";

// `english` as meant in `context` (a msgctxt of the catalogue), for words
// that read alike in English but not in every language.
std::string in_context(const char* context, const char* english) {
  if (english_only) return english;
  const std::string key = std::string(context) + context_separator + english;
  const char* translated = ::dgettext(domain, key.c_str());
  return translated == key ? english : translated;
}

bool starts_with_german(const char* value) {
  const std::string_view text(value);
  return text.substr(0, 2) == "de" && (text.size() == 2 || text[2] == '_' || text[2] == '.');
}

std::filesystem::path catalogue_file(const std::filesystem::path& directory,
                                     const std::string& language) {
  return directory / language / "LC_MESSAGES" / (std::string(domain) + ".mo");
}

// Why the catalogue `file` cannot be used, or nothing when it can: a
// compiled catalogue begins with its magic number in either byte order.
std::optional<std::string> catalogue_fault(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return "is missing";
  std::array<unsigned char, 4> magic{};
  in.read(reinterpret_cast<char*>(magic.data()), magic.size());
  constexpr std::array<unsigned char, 4> little{0xde, 0x12, 0x04, 0x95};
  constexpr std::array<unsigned char, 4> big{0x95, 0x04, 0x12, 0xde};
  if (!in || (magic != little && magic != big)) return "is damaged";
  return std::nullopt;
}

// "1.5", "1.0": tenths as the module writes them.
std::string tenths(double number) { return float_str(number); }

std::string whole(double number) { return std::to_string(static_cast<long long>(number)); }

// The form for a count of tenths: singular only for exactly one.
unsigned long tenths_count(const kk::IntervalLabel& label) { return label.singular ? 1 : 2; }

}  // namespace

const std::vector<std::string>& languages() {
  static const std::vector<std::string> spoken{"en", "de"};
  return spoken;
}

std::string language_of_locale(const char* lc_all, const char* lc_messages, const char* lang) {
  for (const char* value : {lc_all, lc_messages, lang}) {
    if (value != nullptr && *value != '\0') return starts_with_german(value) ? "de" : "en";
  }
  return "en";
}

std::filesystem::path catalogue_directory() {
  if (const char* directory = std::getenv("KKV_LOCALEDIR")) return directory;
  std::error_code unknown;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", unknown);
  if (!unknown) {
    const std::filesystem::path beside = program.parent_path().parent_path() / "share" / "locale";
    if (std::filesystem::exists(catalogue_file(beside, "de"), unknown)) return beside;
  }
  return KKV_BUILD_LOCALE_DIR;
}

std::optional<std::string> speak(const std::string& language,
                                 const std::filesystem::path& directory) {
  english_only = true;
  module_intervals = false;
  spoken = "en";
  if (language == "en") return std::nullopt;
  const std::filesystem::path file = catalogue_file(directory, language);
  if (const std::optional<std::string> fault = catalogue_fault(file)) {
    module_intervals = language == "de";
    return "the message catalogue " + tavo::quoted(file) + " " + *fault +
           "; the texts stay in English";
  }
  // The catalogue is chosen by LANGUAGE, which gettext heeds in every locale
  // but "C"; C.UTF-8 is there on every system and changes nothing else.
  ::setenv("LANGUAGE", language.c_str(), 1);
  std::setlocale(LC_MESSAGES, "C.UTF-8");
  ::bindtextdomain(domain, directory.c_str());
  ::bind_textdomain_codeset(domain, "UTF-8");
  english_only = false;
  spoken = language;
  return std::nullopt;
}

const std::string& spoken_language() { return spoken; }

const char* tr(const char* english) { return english_only ? english : ::dgettext(domain, english); }

const char* tr_n(const char* singular, const char* plural, unsigned long count) {
  if (english_only) return count == 1 ? singular : plural;
  return ::dngettext(domain, singular, plural, count);
}

std::string interval_text(const kk::IntervalLabel& label) {
  if (module_intervals) return kk::human_friendly_time(label);
  using Unit = kk::IntervalLabel::Unit;
  switch (label.unit) {
    case Unit::none: return tr("—");
    case Unit::done: return in_context("drill", "done");
    case Unit::minutes: return trf("< {} min", whole(label.number));
    case Unit::days:
      return trf_n("{} day", "{} days", static_cast<unsigned long>(label.number),
                   whole(label.number));
    case Unit::months:
      return trf_n("{} month", "{} months", tenths_count(label), tenths(label.number));
    case Unit::years:
      return trf_n("{} year", "{} years", tenths_count(label), tenths(label.number));
  }
  return tr("—");
}

}  // namespace tavo::cli
