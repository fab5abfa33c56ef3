// kkv: the terminal host of the card scheduler. For now it reports its
// version; the learning commands come with the scheduler itself.
#include <CLI/CLI.hpp>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
  CLI::App app{"kkv - learning sessions with the tavo card scheduler", "kkv"};
  app.set_version_flag("--version", std::string("kkv ") + KKV_VERSION);
  CLI11_PARSE(app, argc, argv);
  std::cout << app.help();
  return 0;
}
