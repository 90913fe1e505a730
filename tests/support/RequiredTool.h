#pragma once
// Tests that run a program of the system check for it first and, when it is missing, fail
// naming the Debian package that provides it (scripts/bootstrap installs every one).

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kivtest {

// `program` is a command name looked up on PATH, or an absolute path.
inline ::testing::AssertionResult ToolInstalled(const std::string& program,
                                                const std::string& package) {
  const std::string probe = "command -v '" + program + "' >/dev/null 2>&1";
  if (std::system(probe.c_str()) == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << program << " is missing: install the Debian package "
                                       << package << " (scripts/bootstrap installs it)";
}

}  // namespace kivtest
