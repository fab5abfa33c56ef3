// Runs the kkv program as a person's shell would, with its standard input
// read from a text and its output captured.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/temporary_directory.hpp"

namespace tavo::testing {

struct KkvRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs kkv with `arguments`, `input` as its standard input (not a terminal)
// and TZ=Europe/Berlin.
inline KkvRun run_kkv(const std::vector<std::string>& arguments, const std::string& input = "") {
  const TemporaryDirectory files;
  const auto input_path = files / "input";
  const auto out_path = files / "out";
  const auto err_path = files / "err";
  std::ofstream(input_path) << input;

  std::vector<std::string> words{KKV_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int in = ::open(input_path.c_str(), O_RDONLY);
    const int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(126);
    ::dup2(in, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    ::setenv("TZ", "Europe/Berlin", 1);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int wait_status = 0;
  ::waitpid(child, &wait_status, 0);
  const auto read = [](const std::filesystem::path& path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
  };
  return KkvRun{WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1, read(out_path),
                read(err_path)};
}

}  // namespace tavo::testing
