// A fresh directory for one test, removed with its contents afterwards.
#pragma once

#include "platform/temporary_directory.hpp"

namespace tavo::testing {

using platform::TemporaryDirectory;

}  // namespace tavo::testing
