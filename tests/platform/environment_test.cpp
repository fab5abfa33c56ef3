// The data paths of an environment.
#include "platform/environment.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "support/scoped_environment.hpp"
#include "value/errors.hpp"

namespace tavo::platform {
namespace {

using ::testing::StrEq;
using ::testing::ThrowsMessage;

TEST(EnvironmentDataDir, GivenOneEndsInASlashElseTheProcessVariablesAreReadAtEachUse) {
  EXPECT_EQ(Environment("/srv/tavo").app_data_dir(), "/srv/tavo/");
  EXPECT_EQ(Environment("/srv/tavo/").app_data_dir(), "/srv/tavo/");

  Environment environment;
  {
    const tavo::testing::ScopedEnvironment variable("TAVO_DATA_DIR", "/srv/one");
    EXPECT_EQ(environment.app_data_dir(), "/srv/one/");
  }
  const tavo::testing::ScopedEnvironment variable("TAVO_DATA_DIR", "/srv/two");
  EXPECT_EQ(environment.app_data_dir(), "/srv/two/");
  environment.use_app_data_dir("/srv/own");
  EXPECT_EQ(environment.app_data_dir(), "/srv/own/");
}

TEST(LegacyCollectionFile, IsTheShelveOfAPlainFileNameInTheDataDirectory) {
  const Environment environment("/srv/tavo");
  EXPECT_EQ(environment.legacy_collection_file("Skat"), "/srv/tavo/legacy/Skat.dat");
  EXPECT_EQ(environment.legacy_collection_file("..Skat"), "/srv/tavo/legacy/..Skat.dat");
  EXPECT_THAT(
      [&] { environment.legacy_collection_file("../x"); },
      ThrowsMessage<ValueError>(StrEq("collection name must be a plain file name, got '../x'")));
  EXPECT_THAT(
      [&] { environment.legacy_collection_file(std::string("a\0b", 3)); },
      ThrowsMessage<ValueError>(StrEq("collection name must be a plain file name, got 'a\\x00b'")));
  for (const char* name : {"", ".", "..", "a/b", "/abs", "a\\b"}) {
    EXPECT_THROW(environment.legacy_collection_file(name), ValueError) << name;
  }
}

}  // namespace
}  // namespace tavo::platform
