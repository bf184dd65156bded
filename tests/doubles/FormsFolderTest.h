#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "doubles/DialogFixture.h"
#include "storage/ProfileTestFolder.h"

namespace korval::test {

// A label dialog whose formats live in a fresh folder, which is also the
// current folder (printer settings) and the configuration folder (the
// placement file), with one printer, "Laser", stored as the label printer.
class FormsFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inUse_.emplace(folder_.Path());
    f_.host.SetFormPath(folder_.Path().string() + "/");
    f_.printer.printers_ = {{"Laser"}};
    f_.printer.defaultName_ = "Laser";
    WriteBytes(folder_.File("etikety.ini"), "[SETUP]\r\nTISKARNA=Laser\r\n");
  }
  void TearDown() override {
    f_.dialog.reset();
    inUse_.reset();
  }

  std::string File(const std::string& name) const { return folder_.File(name); }
  std::string Bytes(const std::string& name) const { return ReadBytes(folder_.File(name)); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(folder_.File(name)); }

  TempFolder folder_;
  std::optional<FolderInUse> inUse_;
  DialogFixture f_;
};

}  // namespace korval::test
