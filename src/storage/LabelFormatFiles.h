#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korval {

// The files of the stored label formats under one folder prefix: the list
// "TiketFrm.ini" and one state file "TiketSav.NNN" per name, found by the
// name's position in the list. A name's file is always the one at its
// position: that is the only link between the two that every reader of
// these files knows.
class LabelFormatFiles {
 public:
  // The index has three digits.
  static constexpr int kMaxFormats = 1000;

  explicit LabelFormatFiles(std::string prefix) : prefix_(std::move(prefix)) {}

  const std::string& Prefix() const { return prefix_; }
  std::string ListFile() const { return prefix_ + "TiketFrm.ini"; }
  // The state file of the name at index; an index outside 0 to 999 names no
  // file, and asking for it is a fault of the caller (std::out_of_range).
  std::string StateFile(int index) const;
  // Where a save that changes several files notes what remains to be done.
  std::string JournalFile() const { return prefix_ + "TiketFrm.ini.~journal"; }

  // Completes a save that a crash interrupted, so that the list and the
  // state files read below agree.
  void Recover() const;
  // The names of section "Saves", whole whatever their number, in file
  // order: a save rewrites the list from them, so a name cut off here would
  // be lost.
  std::vector<std::string> ReadNames() const;

 private:
  std::string prefix_;
};

// Position of name in names without regard to case, or -1.
int IndexOfFormatName(const std::vector<std::string>& names, std::string_view name);

// Why a name (trimmed, not blank) cannot be stored as a key of section
// "Saves" and read back as the same name, in words for the user; empty when
// it can.
std::string FormatNameProblem(std::string_view name);

}  // namespace korval
