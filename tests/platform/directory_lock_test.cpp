#include "platform/directory_lock.hpp"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/temporary_directory.hpp"

namespace tavo::platform {
namespace {

namespace fs = std::filesystem;

std::string contents_of(const fs::path& path) {
  std::ostringstream text;
  text << std::ifstream(path).rdbuf();
  return text.str();
}

// Another process holding the lock on a directory until it is told to end.
class LockHolder {
 public:
  explicit LockHolder(const fs::path& directory) {
    int ready[2];
    int go[2];
    if (::pipe(ready) != 0 || ::pipe(go) != 0) throw std::runtime_error("pipe failed");
    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
      ::close(ready[0]);
      ::close(go[1]);
      try {
        const DirectoryLock lock(directory);
        (void)!::write(ready[1], "x", 1);
        char ignored = 0;
        (void)!::read(go[0], &ignored, 1);  // until the test closes its end
      } catch (...) {
        ::_exit(1);
      }
      ::_exit(0);
    }
    ::close(ready[1]);
    ::close(go[0]);
    go_ = go[1];
    char signal = 0;
    const bool locked = ::read(ready[0], &signal, 1) == 1;
    ::close(ready[0]);
    if (!locked) throw std::runtime_error("the holder did not take the lock");
  }

  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  ~LockHolder() { end(SIGKILL); }

  pid_t pid() const { return pid_; }

  // Ends the holder: by the end of its wait (0) or by `signal`.
  void end(int signal) {
    if (go_ < 0) return;
    if (signal != 0) ::kill(pid_, signal);
    ::close(go_);
    go_ = -1;
    ::waitpid(pid_, nullptr, 0);
  }

 private:
  pid_t pid_ = -1;
  int go_ = -1;
};

class DirectoryLockTest : public ::testing::Test {
 protected:
  tavo::testing::TemporaryDirectory directory_;
  const fs::path data_ = directory_ / "data";
};

TEST_F(DirectoryLockTest, AnotherProcessIsRefusedByNameUntilTheHolderEndsHoweverItEnds) {
  for (const int ending : {0, SIGKILL}) {
    LockHolder holder(data_);
    const std::string held_by = std::to_string(holder.pid()) + "\n";
    EXPECT_EQ(contents_of(data_ / "kkv.lock"), held_by);
    try {
      const DirectoryLock refused(data_);
      ADD_FAILURE() << "a second lock was taken";
    } catch (const DirectoryLockError& error) {
      EXPECT_EQ(error.directory(), data_);
      EXPECT_EQ(error.holder(), holder.pid());
      EXPECT_EQ(std::string(error.what()),
                "directory \"" + data_.string() + "\" is in use by process " +
                    std::to_string(holder.pid()) + "; try again when it has ended");
    }
    EXPECT_EQ(contents_of(data_ / "kkv.lock"), held_by) << "a refused lock changed the file";

    holder.end(ending);
    {
      const DirectoryLock lock(data_);
      EXPECT_EQ(contents_of(lock.path()), std::to_string(::getpid()) + "\n") << ending;
      // A lock is one open file: even this process gets no second one.
      EXPECT_THROW(DirectoryLock{data_}, DirectoryLockError);
    }
    EXPECT_NO_THROW(DirectoryLock{data_});
  }
}

TEST_F(DirectoryLockTest, ADirectoryThatCannotBeCreatedIsNamedWithTheReason) {
  std::ofstream(directory_ / "file") << "not a directory";
  for (const fs::path& unwritable :
       {directory_ / "file", fs::path((directory_ / "file").string() + "/"),
        directory_ / "file" / "data"}) {
    try {
      const DirectoryLock lock(unwritable);
      ADD_FAILURE() << unwritable << " was locked";
    } catch (const DirectoryLockError& error) {
      EXPECT_EQ(error.directory(), unwritable);
      EXPECT_EQ(error.holder(), std::nullopt);
      EXPECT_EQ(std::string(error.what()),
                "cannot write to directory \"" + unwritable.string() + "\": Not a directory");
    }
  }
  // A missing directory is created with its parents.
  const DirectoryLock lock(data_ / "nested");
  EXPECT_TRUE(fs::is_regular_file(data_ / "nested" / "kkv.lock"));
}

}  // namespace
}  // namespace tavo::platform
