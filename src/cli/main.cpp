// kkv: the terminal host of the card scheduler. Parses the command line
// and hands each command to its function; every failure becomes one line
// on standard error and exit status 1.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>
#include <string>

#include "cli/commands.hpp"
#include "karteikarten/analysis/self_check_catalogue.hpp"

namespace {

using namespace tavo::cli;

struct Arguments {
  GlobalOptions global;
  LearnOptions learn;
  DrillOptions drill;
  SelfCheckOptions selfcheck;
  std::string file;
  std::string name;
  bool today_only = false;
  std::optional<std::string> key;
  std::optional<std::string> value;
  std::string deck = KKV_BUNDLED_DECK;
};

void add_global_options(CLI::App& app, Arguments& arguments) {
  app.add_option("--data-dir", arguments.global.data_dir,
                 "application data directory (default: $TAVO_DATA_DIR, else "
                 "$XDG_DATA_HOME/tavo, else ~/.local/share/tavo)");
  app.add_option("--now", arguments.global.now,
                 "run as if the present were this moment, frozen: seconds since the epoch or "
                 "local time 'YYYY-MM-DD HH:MM' (for scripted runs)");
  app.add_option("--seed", arguments.global.seed,
                 "seed of the random order among equal cards (for repeatable runs)");
}

std::vector<std::string> scenario_names() {
  std::vector<std::string> names;
  for (const tavo::kk::SelfCheckScenario& scenario : tavo::kk::self_check_scenarios()) {
    names.emplace_back(scenario.name);
  }
  return names;
}

std::string scenarios_footer() {
  std::string footer = "Scenarios:\n";
  for (const tavo::kk::SelfCheckScenario& scenario : tavo::kk::self_check_scenarios()) {
    footer += "  " + std::string(scenario.name) + ": " + std::string(scenario.description) + "\n";
  }
  return footer +
         "Every card of the collection is rewritten and its day statistics reset; without --yes "
         "nothing is changed. Copy the data directory first if its learning state matters.\n";
}

void add_commands(CLI::App& app, Arguments& a) {
  CLI::App* learn = app.add_subcommand("learn", "learn the due cards in an interactive session");
  learn->add_option("--collection", a.learn.collections,
                    "a stored collection to learn (repeatable; default: all)");
  learn->add_option("--ahead", a.learn.ahead, "days of learning ahead")->check(CLI::Range(0, 9999));
  learn->add_flag("--only-new", a.learn.only_new, "show only new cards");
  learn->footer(
      "Each card shows its question; Enter shows the answer and the four buttons with the "
      "interval each gives. Answer 1-4 or again/hard/good/easy, optionally followed by the "
      "seconds taken; q or Ctrl-D stops. Every answer is stored at once. With standard input "
      "not a terminal, one answer is read per line.");
  learn->callback([&a] { tavo::cli::learn(a.learn); });

  CLI::App* import_command =
      app.add_subcommand("import", "import a deck of question/answer cards into a collection");
  import_command
      ->add_option("FILE", a.file,
                   "the deck: tab-separated 'question<TAB>answer' lines ('#' starts a "
                   "comment), or JSON (.json) [{\"fragetext\": ..., \"antworttext\": ...}]")
      ->required();
  import_command->add_option("--name", a.name, "the collection (letters, digits, '_')")->required();
  import_command->footer(
      "A deck with a fault imports nothing. Re-importing keeps the learning state of every card "
      "whose question stayed, takes over changed answers and removes cards whose question is "
      "gone.");
  import_command->callback([&a] { import_deck_file(a.file, a.name); });

  CLI::App* drill = app.add_subcommand(
      "drill", "drill the cards forgotten in the last days, then return to normal learning");
  drill->add_option("--days", a.drill.days, "how many days back a lapse counts")
      ->check(CLI::Range(1, 999))
      ->capture_default_str();
  drill->add_option("--collection", a.drill.collections,
                    "a stored collection to drill (repeatable; default: all)");
  drill->footer(
      "The cards answered \"again\" in the last days come one at a time: \"again\" (1) brings a "
      "card back, \"good\" (3) finishes it for this drill. The drill works on copies stored as "
      "<name>_vergessen; the collections themselves stay as they were.");
  drill->callback([&a] { tavo::cli::drill(a.drill); });

  CLI::App* stats = app.add_subcommand("stats", "show the learning figures");
  stats->add_flag("--today", a.today_only, "only today's figures");
  stats->callback([&a] { tavo::cli::stats(a.today_only); });

  CLI::App* analyse = app.add_subcommand("analyse", "show a collection's cards by category");
  analyse->add_option("NAME", a.name, "the collection")->required();
  analyse->callback([&a] { tavo::cli::analyse(a.name); });

  CLI::App* selfcheck = app.add_subcommand(
      "selfcheck",
      "put a collection into a known learning situation (replaces its learning state)");
  selfcheck->add_option("SCENARIO", a.selfcheck.scenario, "the scenario")
      ->required()
      ->check(CLI::IsMember(scenario_names()));
  selfcheck->add_option("--collection", a.selfcheck.collection, "the stored collection")
      ->required();
  selfcheck->add_flag("--yes", a.selfcheck.yes, "replace its learning state");
  selfcheck->footer(scenarios_footer());
  selfcheck->callback([&a] { tavo::cli::selfcheck(a.selfcheck); });

  CLI::App* settings =
      app.add_subcommand("settings", "show the settings with their bounds, or change one");
  settings->add_option("KEY", a.key, "the setting to show or change");
  settings->add_option("VALUE", a.value,
                       "its new value: an integer, steps as '1,10', or 'none' for "
                       "neue_karten_nur_heute");
  settings->callback([&a] { tavo::cli::settings(a.key, a.value); });

  CLI::App* demo = app.add_subcommand(
      "demo", "a scripted learner learns the bundled deck over three days (temporary data)");
  demo->add_option("--deck", a.deck, "the deck to use")->capture_default_str();
  demo->callback([&a] { tavo::cli::demo(a.deck); });

  for (CLI::App* command : app.get_subcommands({})) command->fallthrough();
}  // namespace

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"kkv - learning sessions with the tavo card scheduler", "kkv"};
  app.set_version_flag("--version", std::string("kkv ") + KKV_VERSION);
  app.require_subcommand(1);
  app.failure_message([](const CLI::App* command, const CLI::Error& error) {
    return "kkv: " + std::string(error.what()) + " (see " + command->get_display_name(true) +
           " --help)\n";
  });
  Arguments arguments;
  add_global_options(app, arguments);
  add_commands(app, arguments);
  app.parse_complete_callback([&arguments] { apply(arguments.global); });
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    return app.exit(error);
  } catch (const std::exception& error) {
    std::cerr << "kkv: " << failure_message(error) << "\n";
    return 1;
  }
  return 0;
}
