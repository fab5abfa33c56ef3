#include "cli/line_editor.hpp"

// readline.h needs stdio.h first.
#include <cstdio>
#include <readline/history.h>
#include <readline/readline.h>
#include <sys/select.h>

#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>

#include "cli/interruption.hpp"

namespace tavo::cli {
namespace {

// What readline handed to take_line for the line being read.
struct ReadLine {
  bool done = false;
  std::optional<std::string> line;
};

ReadLine read_line;

extern "C" void take_line(char* line) {
  read_line.done = true;
  if (line != nullptr) {
    read_line.line = line;
    std::free(line);
  }
  // Readline would show the prompt again for the next line.
  rl_callback_handler_remove();
}

// Once per run: readline leaves the signals to kkv (SIGINT is the
// interruption watch's) and reads UTF-8, as kkv's texts are.
void set_up_readline() {
  static bool set_up = false;
  if (set_up) return;
  set_up = true;
  std::setlocale(LC_CTYPE, "C.UTF-8");
  rl_readline_name = "kkv";
  rl_catch_signals = 0;
  using_history();
}

// Waits until the input can be read: true, or false once Ctrl-C was
// pressed. SIGINT is blocked except while waiting, so that one coming
// just before the wait is not missed.
bool wait_for_input() {
  sigset_t interrupt_only;
  sigset_t previous;
  sigemptyset(&interrupt_only);
  sigaddset(&interrupt_only, SIGINT);
  ::sigprocmask(SIG_BLOCK, &interrupt_only, &previous);
  const int input = fileno(rl_instream != nullptr ? rl_instream : stdin);
  while (!interruption_requested()) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(input, &readable);
    const int ready = ::pselect(input + 1, &readable, nullptr, nullptr, nullptr, &previous);
    // A failure other than a signal is left for readline's read to meet.
    if (ready > 0 || (ready < 0 && errno != EINTR)) break;
  }
  ::sigprocmask(SIG_SETMASK, &previous, nullptr);
  return !interruption_requested();
}

}  // namespace

std::optional<std::string> read_edited_line(const std::string& prompt) {
  set_up_readline();
  read_line = ReadLine();
  rl_callback_handler_install(prompt.c_str(), take_line);
  while (!read_line.done) {
    if (!wait_for_input()) {
      // Gives the terminal its settings back.
      rl_callback_sigcleanup();
      rl_callback_handler_remove();
      return std::nullopt;
    }
    rl_callback_read_char();
  }
  if (read_line.line && !read_line.line->empty()) add_history(read_line.line->c_str());
  return read_line.line;
}

}  // namespace tavo::cli
