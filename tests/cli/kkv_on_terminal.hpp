// Runs the kkv program on a pseudo-terminal of a given width, as a person
// at a terminal does: its standard input, output and error are the
// terminal, the test types at it and reads what appears. Every wait has a
// deadline, so that a kkv that hangs fails the test instead of holding it;
// the child is killed and reaped at the end, if still running.
#pragma once

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "cli/run_kkv.hpp"

namespace tavo::testing {

class KkvOnTerminal {
 public:
  // How long kkv may take to show what a test waits for, or to end.
  static constexpr std::chrono::seconds patience{10};

  // Starts kkv with `arguments` on a terminal `columns` wide, with
  // TZ=Europe/Berlin, TERM=dumb (readline then sends no cursor sequences)
  // and the variables of `environment` set (an empty value sets it empty).
  KkvOnTerminal(const std::vector<std::string>& arguments, unsigned short columns,
                const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    const KkvCommandLine command(arguments);
    winsize size{};
    size.ws_row = 24;
    size.ws_col = columns;
    pid_ = ::forkpty(&terminal_, nullptr, nullptr, &size);
    if (pid_ < 0) throw std::runtime_error("forkpty failed");
    if (pid_ == 0) {
      ::setenv("TZ", "Europe/Berlin", 1);
      ::setenv("TERM", "dumb", 1);
      ::unsetenv("NO_COLOR");
      for (const auto& [name, value] : environment) ::setenv(name.c_str(), value.c_str(), 1);
      command.exec();
      ::_exit(127);
    }
  }

  KkvOnTerminal(const KkvOnTerminal&) = delete;
  KkvOnTerminal& operator=(const KkvOnTerminal&) = delete;

  ~KkvOnTerminal() {
    if (!status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    ::close(terminal_);
  }

  // Reads until the output ends with `prompt` (kkv then waits for input)
  // after showing `shown` first, or until it ends or the deadline passes;
  // everything read so far.
  const std::string& read_until(const std::string& prompt, const std::string& shown = "") {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const std::size_t start = output_.size();
    const auto arrived = [&] {
      return output_.ends_with(prompt) && output_.find(shown, start) != std::string::npos;
    };
    while (!arrived() && read_some(deadline)) {
    }
    return output_;
  }

  // Types `keys` at the terminal: "\r" is Enter, "\x7f" Backspace, "\x03"
  // Ctrl-C.
  void type(const std::string& keys) {
    if (::write(terminal_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) {
      throw std::runtime_error("typing at the terminal failed");
    }
  }

  // Reads the rest of the output and waits for kkv to end: its exit status,
  // or -1 when it was killed by a signal or did not end in time (the
  // destructor kills it then).
  int finish() {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (read_some(deadline)) {
    }
    while (std::chrono::steady_clock::now() < deadline) {
      int raw = 0;
      if (::waitpid(pid_, &raw, WNOHANG) == pid_) {
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return *status_;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return -1;
  }

  // Everything read so far, with the terminal's "\r\n" as "\n".
  const std::string& output() const { return output_; }

 private:
  // Reads what is there, waiting until `deadline`: false at the end of the
  // output (the terminal reports EIO once kkv has closed it) or the deadline.
  bool read_some(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd ready{terminal_, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(left.count()));
    if (polled < 0 && errno == EINTR) return true;
    if (polled <= 0) return false;
    char buffer[4096];
    const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
    if (got <= 0) return false;
    for (const char c : std::string_view(buffer, static_cast<std::size_t>(got))) {
      if (c != '\r') output_ += c;
    }
    return true;
  }

  pid_t pid_ = -1;
  int terminal_ = -1;
  std::string output_;
  std::optional<int> status_;
};

}  // namespace tavo::testing
