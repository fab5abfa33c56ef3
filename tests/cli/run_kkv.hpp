// Runs the kkv program as a person's shell would, with its standard input
// read from a text and its output captured, or kept waiting on a pipe.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
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

// `arguments` with the options of a repeatable run: `data_dir` as the
// application data directory, the clock frozen at the local `moment`, and a
// fixed seed.
inline std::vector<std::string> with_test_options(std::vector<std::string> arguments,
                                                  const std::filesystem::path& data_dir,
                                                  const std::string& moment) {
  arguments.insert(arguments.end(),
                   {"--data-dir", data_dir.string(), "--now", moment, "--seed", "1"});
  return arguments;
}

// The kkv program with `arguments`, ready for execv in a child.
class KkvCommandLine {
 public:
  explicit KkvCommandLine(const std::vector<std::string>& arguments) : words_{KKV_PROGRAM} {
    words_.insert(words_.end(), arguments.begin(), arguments.end());
    for (std::string& word : words_) argv_.push_back(word.data());
    argv_.push_back(nullptr);
  }
  // argv_ points into words_.
  KkvCommandLine(const KkvCommandLine&) = delete;
  KkvCommandLine& operator=(const KkvCommandLine&) = delete;

  // Replaces the calling (child) process with kkv; returns only on failure.
  void exec() const { ::execv(argv_[0], argv_.data()); }

 private:
  std::vector<std::string> words_;
  std::vector<char*> argv_;
};

// Runs kkv with `arguments`, `input` as its standard input (not a terminal)
// and TZ=Europe/Berlin.
inline KkvRun run_kkv(const std::vector<std::string>& arguments, const std::string& input = "") {
  const TemporaryDirectory files;
  const auto input_path = files / "input";
  const auto out_path = files / "out";
  const auto err_path = files / "err";
  std::ofstream(input_path) << input;

  const KkvCommandLine command(arguments);

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
    command.exec();
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

// kkv running alongside the test, reading its standard input from a pipe
// the test holds open, so that it waits for the next line for as long as
// the test wants. Its standard output is read as it comes; its standard
// error stays the test's. Killed and reaped at the end, if still running.
class KkvSession {
 public:
  explicit KkvSession(const std::vector<std::string>& arguments) {
    int input[2];
    int output[2];
    // Close-on-exec, so that no other program the test starts holds the
    // input open.
    if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
      throw std::runtime_error("pipe failed");
    }
    const KkvCommandLine command(arguments);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::dup2(input[0], STDIN_FILENO);
      ::dup2(output[1], STDOUT_FILENO);
      ::setenv("TZ", "Europe/Berlin", 1);
      command.exec();
      ::_exit(127);
    }
    ::close(input[0]);
    ::close(output[1]);
    input_ = input[1];
    output_ = output[0];
  }

  KkvSession(const KkvSession&) = delete;
  KkvSession& operator=(const KkvSession&) = delete;

  ~KkvSession() {
    if (!status_) {
      ::kill(pid_, SIGKILL);
      wait();
    }
    ::close(output_);
  }

  pid_t pid() const { return pid_; }

  // Reads the output until it ends with `prompt` (kkv then waits for
  // input), or to its end when it never does; everything read so far.
  std::string read_until(const std::string& prompt) {
    char c = 0;
    while ((prompt.empty() || !out_.ends_with(prompt)) && ::read(output_, &c, 1) == 1) out_ += c;
    return out_;
  }

  // Writes `text` to kkv's input.
  void send(const std::string& text) {
    if (::write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
      throw std::runtime_error("write to kkv failed");
    }
  }

  // Ends the input, as Ctrl-D does, reads the rest of the output and waits
  // for the end: the exit status.
  int finish() {
    close_input();
    read_until("");
    return wait();
  }

 private:
  void close_input() {
    if (input_ >= 0) ::close(input_);
    input_ = -1;
  }

  int wait() {
    close_input();
    if (!status_) {
      int raw = 0;
      ::waitpid(pid_, &raw, 0);
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return *status_;
  }

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string out_;
  std::optional<int> status_;
};

}  // namespace tavo::testing
