// kkv: the terminal host of the card scheduler. Parses the command line
// and hands each command to its function. A mistake in the command line
// (an unknown command or option, a bad option value) becomes one line on
// standard error that names the option and points to the command's --help,
// with exit status 2; every other failure becomes one line and exit status
// 1. A session stopped by Ctrl-C exits with 130. --help and --version exit
// with 0.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.hpp"
#include "cli/moment.hpp"
#include "cli/translation.hpp"
#include "karteikarten/analysis/self_check_catalogue.hpp"
#include "platform/environment.hpp"
#include "value/errors.hpp"

namespace {

using namespace tavo::cli;

constexpr int failure_status = 1;
constexpr int usage_status = 2;
constexpr int interrupted_status = 130;

struct Arguments {
  GlobalOptions global;
  // Spoken from the start of main (speak_language_of_run); here for the
  // parse to check it.
  std::string language;
  LearnOptions learn;
  DrillOptions drill;
  SelfCheckOptions selfcheck;
  SettingsOptions settings;
  ImportOptions import_deck;
  std::string file;
  std::string name;
  std::string card;
  bool today_only = false;
  std::string deck = KKV_BUNDLED_DECK;
};

// A whole number of type `Number` of at least `lowest`; the bound above,
// if any, is the command's to check. No description of its own: the
// option's type name says the range.
template <typename Number>
CLI::Validator whole_number_from(Number lowest) {
  return CLI::Validator(
      [lowest](std::string& text) -> std::string {
        Number number = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
        if (error == std::errc() && end == text.data() + text.size() && number >= lowest) return {};
        return trf("needs a whole number of at least {}, not '{}'", lowest, text);
      },
      "");
}

// The language of this run: the value of --lang, found before the command
// line is parsed so that --help speaks it too, or else the locale's. An
// unknown one is left for the parse to report.
std::string language_of_run(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--lang" && i + 1 < argc) return argv[i + 1];
    if (argument.starts_with("--lang=")) return std::string(argument.substr(7));
  }
  return language_of_locale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

// Speaks the language of the run; a catalogue that cannot be used is said
// in one line, and the texts stay in English.
void speak_language_of_run(int argc, char** argv) {
  std::string language = language_of_run(argc, argv);
  const std::vector<std::string>& known = languages();
  if (std::find(known.begin(), known.end(), language) == known.end()) language = "en";
  if (const std::optional<std::string> fault = speak(language, catalogue_directory())) {
    std::cerr << "kkv: " << *fault << "\n";
  }
}

// The help's own words in the language of the run; set before the commands
// are added, which take them over.
void speak_in_help(CLI::App& app) {
  app.option_defaults()->group(tr("Options"));
  app.set_help_flag("-h,--help", tr("print this help and exit"));
  const std::shared_ptr<CLI::FormatterBase> formatter = app.get_formatter();
  formatter->label("Usage", tr("Usage"));
  formatter->label("Positionals", tr("Positionals"));
  formatter->label("OPTIONS", tr("OPTIONS"));
  formatter->label("REQUIRED", tr("REQUIRED"));
  formatter->label("Excludes", tr("Excludes"));
  formatter->label("Needs", tr("Needs"));
}

void add_global_options(CLI::App& app, Arguments& arguments) {
  app.add_option("--lang", arguments.language,
                 tr("the language of kkv's texts (default: from LC_ALL, LC_MESSAGES or LANG, "
                    "else English)"))
      ->check(CLI::IsMember(languages()));
  app.add_option("--data-dir", arguments.global.data_dir,
                 tr("application data directory (default: $TAVO_DATA_DIR, else "
                    "$XDG_DATA_HOME/tavo, else ~/.local/share/tavo)"));
  app.add_option("--now", arguments.global.now,
                 tr("run as if the present were this moment, frozen: seconds since the epoch or "
                    "local time 'YYYY-MM-DD HH:MM' (for scripted runs)"));
  app.add_option("--seed", arguments.global.seed,
                 tr("seed of the random order among equal cards (for repeatable runs)"))
      ->check(whole_number_from<std::uint64_t>(0));
}

std::vector<std::string> scenario_names() {
  std::vector<std::string> names;
  for (const tavo::kk::SelfCheckScenario& scenario : tavo::kk::self_check_scenarios()) {
    names.emplace_back(scenario.name);
  }
  return names;
}

std::string scenarios_footer() {
  std::string footer = tr("Scenarios:") + std::string("\n");
  for (const tavo::kk::SelfCheckScenario& scenario : tavo::kk::self_check_scenarios()) {
    footer += "  " + std::string(scenario.name) + ": " + std::string(scenario.description) + "\n";
  }
  return footer +
         tr("Every card of the collection is rewritten and its day statistics reset; without "
            "--yes nothing is changed. Copy the data directory first if its learning state "
            "matters.") +
         "\n";
}

void add_commands(CLI::App& app, Arguments& a, tavo::platform::Environment& environment) {
  CLI::App* learn = app.add_subcommand("learn", "learn the due cards in an interactive session");
  learn->add_option("--collection", a.learn.collections,
                    "a stored collection to learn (repeatable; default: all)");
  learn->add_option("--ahead", a.learn.ahead, "days of learning ahead")->check(CLI::Range(0, 9999));
  learn->add_flag("--only-new", a.learn.only_new, "show only new cards");
  learn->footer(tr(
      "Each card shows what is left today (reviews due, new cards, cards in learning steps) and "
      "its question; Enter shows the answer and the four buttons with the interval each gives. "
      "Answer 1-4 or again/hard/good/easy, optionally followed by the seconds taken; u undoes "
      "the last answer of the day and shows its card again; ? lists the keys; q, Ctrl-D or "
      "Ctrl-C stops (Ctrl-C with exit status 130) and shows the session's time and share of "
      "\"again\". Every answer is stored at once. At a terminal the line can be edited and "
      "earlier lines come back with Up; texts are wrapped at its width and coloured unless "
      "NO_COLOR is set. With standard input not a terminal, one answer is read per line."));
  learn->callback([&a, &environment] { tavo::cli::learn(environment, a.learn); });

  CLI::App* import_command =
      app.add_subcommand("import", tr("import a deck of question/answer cards into a collection"));
  import_command
      ->add_option("FILE", a.file,
                   tr("the deck: tab-separated 'question<TAB>answer' lines ('#' starts a "
                      "comment), or JSON (.json) [{\"fragetext\": ..., \"antworttext\": ...}]"))
      ->required();
  import_command->add_option("--name", a.name, tr("the collection (letters, digits, '_')"))
      ->required();
  import_command
      ->add_option("--rename", a.import_deck.renames,
                   tr("keep the stored card asking OLD under the deck's question NEW "
                      "(repeatable)"))
      ->type_name("OLD NEW");
  import_command->add_flag("--dry-run", a.import_deck.dry_run,
                           tr("only show the new, changed, renamed, unchanged and removed cards"));
  import_command->add_flag("--yes", a.import_deck.yes,
                           tr("go ahead when cards that have been answered are removed"));
  import_command->footer(
      tr("A deck with a fault imports nothing. Cards are told apart by their questions: "
         "re-importing keeps the learning state of every card whose question stayed, takes over "
         "changed answers and removes the cards whose question is gone. Removing a card that has "
         "been answered needs --yes; a card whose question was only corrected keeps its learning "
         "state and history with --rename OLD NEW."));
  import_command->callback([&a, &environment] {
    a.import_deck.file = a.file;
    a.import_deck.name = a.name;
    import_deck_file(environment, a.import_deck);
  });

  CLI::App* drill = app.add_subcommand(
      "drill", "drill the cards forgotten in the last days, then return to normal learning");
  drill
      ->add_option("--days", a.drill.days,
                   "how many days back a lapse counts; at most the setting "
                   "vergessen_in_letzten_tagen_groesstmoeglicher_wert")
      ->check(whole_number_from<std::int64_t>(1))
      ->capture_default_str();
  drill->add_option("--collection", a.drill.collections,
                    "a stored collection to drill (repeatable; default: all)");
  drill->footer(tr(
      "The cards answered \"again\" in the last days come one at a time: \"again\" (1) brings a "
      "card back, \"good\" (3) finishes it for this drill; u undoes the last answer and shows "
      "its card again; ? lists the keys; q, Ctrl-D or Ctrl-C stops (Ctrl-C with exit status "
      "130). The drill works on copies stored as <name>_vergessen; the collections themselves "
      "stay as they were."));
  drill->callback([&a, &environment] { tavo::cli::drill(environment, a.drill); });

  CLI::App* stats = app.add_subcommand("stats", tr("show the learning figures"));
  stats->add_flag("--today", a.today_only, tr("only today's figures"));
  stats->footer(tr(
      "Without --today, three charts follow the figures: the cards due on each of the next 30 "
      "learning days (day 0 includes the overdue cards); the answers on each learning day of "
      "the last 52 weeks, a row per weekday and a column per week, darker for more answers; "
      "and the share of \"again\" per week for young cards (interval under 21 days) and "
      "mature ones, where · marks a week without answers. kkv report draws the same as a page."));
  stats->callback([&a, &environment] { tavo::cli::stats(environment, a.today_only); });

  CLI::App* report = app.add_subcommand(
      "report", tr("write the learning figures and the charts of stats as one HTML page"));
  report->add_option("FILE", a.file, tr("the page to write; an existing file is replaced"))
      ->required();
  report->footer(
      tr("The page is self-contained (no scripts, nothing fetched from elsewhere): open it in any "
         "browser. Pointing at a bar or a day shows its value. The file is written whole or not "
         "at all; its directory must exist."));
  report->callback([&a, &environment] { tavo::cli::report(environment, a.file); });

  CLI::App* history = app.add_subcommand("history", tr("show a card's answers, oldest first"));
  history
      ->add_option("CARD", a.card,
                   tr("the card: its question as kkv learn shows it, or its name "
                      "(<collection>-<key>)"))
      ->required();
  history->footer(
      tr("One line per answer: when (local time), the response, the seconds counted, and the "
         "card's interval (days), ease factor and learnstatus after the answer. Answers taken back "
         "with u are left out. A card given by a question that several collections ask is shown "
         "once for each."));
  history->callback([&a, &environment] { tavo::cli::history(environment, a.card); });

  CLI::App* analyse = app.add_subcommand("analyse", tr("show a collection's cards by category"));
  analyse->add_option("NAME", a.name, tr("the collection"))->required();
  analyse->callback([&a, &environment] { tavo::cli::analyse(environment, a.name); });

  CLI::App* selfcheck = app.add_subcommand(
      "selfcheck",
      tr("put a collection into a known learning situation (replaces its learning state)"));
  selfcheck->add_option("SCENARIO", a.selfcheck.scenario, tr("the scenario"))
      ->required()
      ->check(CLI::IsMember(scenario_names()));
  selfcheck->add_option("--collection", a.selfcheck.collection, tr("the stored collection"))
      ->required();
  selfcheck->add_flag("--yes", a.selfcheck.yes, tr("replace its learning state"));
  selfcheck->footer(scenarios_footer());
  selfcheck->callback([&a, &environment] { tavo::cli::selfcheck(environment, a.selfcheck); });

  CLI::App* settings = app.add_subcommand(
      "settings",
      tr("show the settings with their bounds and defaults, change one, or reset them"));
  CLI::Option* key =
      settings->add_option("KEY", a.settings.key, tr("the setting to show or change"));
  settings->add_option("VALUE", a.settings.value,
                       tr("its new value: an integer, steps as '1,10', or 'none' for "
                          "neue_karten_nur_heute"));
  CLI::Option* reset =
      settings->add_flag("--reset", a.settings.reset, tr("put every setting back to its default"))
          ->excludes(key);
  settings->add_flag("--yes", a.settings.yes, tr("go ahead with --reset"))->needs(reset);
  settings->footer(
      tr("Each setting is shown with its value and unit, what it does, the values it may take "
         "and its default, with which a learner starts. Without --yes, --reset only lists what "
         "it would change."));
  settings->callback([&a, &environment] { tavo::cli::settings(environment, a.settings); });

  CLI::App* demo = app.add_subcommand(
      "demo", tr("a scripted learner learns the bundled deck over three days (temporary data)"));
  demo->add_option("--deck", a.deck, tr("the deck to use"))->capture_default_str();
  demo->callback([&a, &environment] { tavo::cli::demo(environment, a.deck); });

  for (CLI::App* command : app.get_subcommands({})) {
    command->fallthrough()->group(tr("Commands"));
    command->get_help_ptr()->group(tr("Options"));
  }
}

// "kkv" or "kkv drill": the command whose --help fits a mistake.
std::string command_path(const CLI::App& app) {
  const std::vector<CLI::App*> parsed = app.get_subcommands();
  return parsed.empty() ? "kkv" : "kkv " + parsed.front()->get_name();
}

// The one line for a mistake in the command line, and its status.
int usage_mistake(const CLI::App& app, const std::string& message) {
  std::cerr << "kkv: " << trf("{} (see {} --help)", message, command_path(app)) << "\n";
  return usage_status;
}

// CLI11's words for a missing command, made plain.
std::string parse_mistake(const CLI::App& app, const CLI::ParseError& error) {
  if (dynamic_cast<const CLI::RequiredError*>(&error) == nullptr ||
      !app.get_subcommands().empty()) {
    return error.what();
  }
  const std::vector<std::string> rest = app.remaining();
  if (!rest.empty()) return trf("unknown command '{}'", rest.front());
  return tr("a command is required");
}

// Before `kkv drill --help` is shown: the range of --days as the stored
// settings make it. Without readable settings the help says less.
void show_drill_days_range(CLI::App& app, tavo::platform::Environment& environment,
                           const GlobalOptions& global) {
  CLI::App* drill = app.get_subcommand("drill");
  if (!drill->parsed()) return;
  try {
    use_data_directory(environment, global);
    drill->get_option("--days")->type_name("INT in [1 - " +
                                           std::to_string(longest_drill_days(environment)) + "]");
  } catch (const tavo::TypeError&) {
    // A stored value that is no integer: the help shows the type without
    // its bound above.
  } catch (const std::runtime_error&) {
    // No data directory to be found (GetCwd, std::filesystem::absolute):
    // the same.
  }
}

}  // namespace

int main(int argc, char** argv) {
  speak_language_of_run(argc, argv);
  CLI::App app{tr("kkv - learning sessions with the tavo card scheduler"), "kkv"};
  speak_in_help(app);
  app.set_version_flag("--version", std::string("kkv ") + KKV_VERSION,
                       tr("print the version and exit"));
  app.require_subcommand(1);
  // kkv's environment, set from its options and given to every manager the
  // command creates.
  tavo::platform::Environment environment;
  Arguments arguments;
  add_global_options(app, arguments);
  add_commands(app, arguments, environment);
  app.parse_complete_callback([&] { apply(environment, arguments.global); });
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    show_drill_days_range(app, environment, arguments.global);
    return app.exit(help);
  } catch (const CLI::Success& done) {
    return app.exit(done);
  } catch (const CLI::ParseError& error) {
    return usage_mistake(app, parse_mistake(app, error));
  } catch (const UsageError& error) {
    return usage_mistake(app, error.what());
  } catch (const Interrupted&) {
    return interrupted_status;
  } catch (const std::exception& error) {
    // Every failure of a command ends here, whatever its type: one line
    // naming it and the failure status.
    std::cerr << "kkv: " << failure_message(environment, error) << "\n";
    return failure_status;
  }
  return 0;
}
