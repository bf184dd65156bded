#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "storage/ProfileTestFolder.h"

namespace korval::test {

// The korval program's commands over a copy of the example formats, in a
// fresh folder that is also the current folder (printer settings) and the
// configuration folder.
class ExampleFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(folder_.Path());
    ::setenv("XDG_CONFIG_HOME", folder_.File("config").c_str(), 1);
    std::filesystem::copy(std::filesystem::path(KORVAL_SOURCE_DIR) / "examples" / "forms", forms_);
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  TempFolder folder_;
  std::filesystem::path previous_;
  std::string forms_ = folder_.File("forms");
  std::ostringstream out_;
  std::ostringstream err_;
};

}  // namespace korval::test
