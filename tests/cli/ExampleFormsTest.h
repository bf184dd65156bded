#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
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
    inUse_.emplace(folder_.Path());
    std::filesystem::copy(std::filesystem::path(KORVAL_SOURCE_DIR) / "examples" / "forms", forms_);
  }
  void TearDown() override { inUse_.reset(); }

  TempFolder folder_;
  std::optional<FolderInUse> inUse_;
  std::string forms_ = folder_.File("forms");
  std::ostringstream out_;
  std::ostringstream err_;
};

}  // namespace korval::test
