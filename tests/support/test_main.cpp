// The main program of every test binary: runs the tests with the
// application data directory in a fresh temporary directory, so that no
// test reads or writes the data of the person running them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temporary_directory.hpp"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const tavo::testing::TemporaryDirectory data_dir;
  ::setenv("TAVO_DATA_DIR", data_dir.path().c_str(), 1);
  return RUN_ALL_TESTS();
}
