// A child program whose standard output is read line by line, and which
// can be killed at any moment. The child is killed and reaped when the
// object goes, so that no test leaves a process behind.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavo::testing {

class ChildProcess {
 public:
  // Starts `arguments[0]` with the arguments, in the environment of this
  // process; its standard error stays this process's.
  explicit ChildProcess(std::vector<std::string> arguments) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) throw std::runtime_error("pipe failed");
    std::vector<char*> argv;
    for (std::string& word : arguments) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::dup2(pipe_ends[1], STDOUT_FILENO);
      ::close(pipe_ends[0]);
      ::close(pipe_ends[1]);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(pipe_ends[1]);
    output_.reset(::fdopen(pipe_ends[0], "r"));
  }

  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  ~ChildProcess() {
    if (!status_) {
      kill();
      wait();
    }
  }

  // The next line of the child's output without its line break, or
  // nothing once the output has ended.
  std::optional<std::string> read_line() {
    std::string line;
    for (int c = std::fgetc(output_.get()); c != EOF; c = std::fgetc(output_.get())) {
      if (c == '\n') return line;
      line += static_cast<char>(c);
    }
    return std::nullopt;
  }

  void kill() { ::kill(pid_, SIGKILL); }

  // Waits for the child's end; its exit status, or -1 when a signal ended it.
  int wait() {
    if (!status_) {
      int raw = 0;
      ::waitpid(pid_, &raw, 0);
      status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    return *status_;
  }

 private:
  struct Close {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
  };

  pid_t pid_ = -1;
  std::unique_ptr<std::FILE, Close> output_;
  std::optional<int> status_;
};

}  // namespace tavo::testing
