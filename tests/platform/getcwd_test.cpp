#include "platform/getcwd.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/scoped_environment.hpp"
#include "support/temporary_directory.hpp"

namespace tavo::platform {
namespace {

using tavo::testing::ScopedEnvironment;

// The data directory with the three variables it is looked up in set for the
// call (nullopt: unset).
std::string data_dir(const std::optional<std::string>& own, const std::optional<std::string>& xdg,
                     const std::optional<std::string>& home) {
  const ScopedEnvironment own_variable("TAVO_DATA_DIR", own);
  const ScopedEnvironment xdg_variable("XDG_DATA_HOME", xdg);
  const ScopedEnvironment home_variable("HOME", home);
  return GetCwd().get_app_data_dir();
}

TEST(AppDataDir, OwnVariableThenXdgDataHomeThenHome) {
  const auto unset = std::nullopt;
  EXPECT_EQ(data_dir("/srv/tavo", "/xdg", "/home/anna"), "/srv/tavo/");
  EXPECT_EQ(data_dir("/srv/tavo//", "/xdg", "/home/anna"), "/srv/tavo/");
  EXPECT_EQ(data_dir("relative", unset, unset), "relative/");
  EXPECT_EQ(data_dir(unset, "/xdg", "/home/anna"), "/xdg/tavo/");
  EXPECT_EQ(data_dir("", "/xdg/", "/home/anna"), "/xdg/tavo/");
  EXPECT_EQ(data_dir(unset, unset, "/home/anna"), "/home/anna/.local/share/tavo/");
  EXPECT_EQ(data_dir("", "", "/home/anna/"), "/home/anna/.local/share/tavo/");
  EXPECT_EQ(data_dir(unset, unset, "/"), "/.local/share/tavo/");

  // Without HOME the passwd entry's home directory is used.
  const std::string directory = data_dir(unset, unset, unset);
  EXPECT_EQ(directory.front(), '/');
  EXPECT_TRUE(directory.ends_with("/.local/share/tavo/")) << directory;
  EXPECT_FALSE(directory.ends_with("//.local/share/tavo/")) << directory;
}

TEST(AppDataDir, CreatesNothing) {
  const tavo::testing::TemporaryDirectory temporary;
  const std::filesystem::path wanted = temporary / "data";
  EXPECT_EQ(data_dir(std::nullopt, wanted.string(), std::nullopt), wanted.string() + "/tavo/");
  EXPECT_FALSE(std::filesystem::exists(wanted));
}

}  // namespace
}  // namespace tavo::platform
