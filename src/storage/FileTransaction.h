#pragma once

#include <string>
#include <vector>

namespace korval {

// A change of several files that lands whole or not at all. Saving a label
// format may rewrite the format list, move state files down after a name was
// deleted and write the saved format's file: a crash in the middle must not
// leave the list pointing at files of other formats.
//
// Every new file is first written beside its target and flushed. A journal
// naming the renames that remain is then put in place in one rename: that is
// the moment the change happens. The renames follow and the journal goes.
// A crash before the journal leaves the old files (and temporary files that
// the next save of their target removes); a crash after it is completed by
// Recover, which every reader of these files calls first.
class FileTransaction {
 public:
  explicit FileTransaction(std::string journal) : journal_(std::move(journal)) {}

  // target gets bytes. displayName is the name an error message shows.
  void Write(const std::string& target, std::string bytes, std::string displayName);
  // target goes.
  void Remove(const std::string& target);

  // Lands the change; throws ProfileWriteError, naming the file, when it
  // cannot, and then nothing has changed. A read-only target is refused, as
  // Windows refuses to write it. A folder that takes no new file while the
  // files to change are there and may be written gets them rewritten in
  // place, one after the other, as Windows would write them.
  void Commit();

  // Completes the change a journal describes, if one is there.
  static void Recover(const std::string& journal);

 private:
  struct Step {
    char Kind;  // 'W': rename Temporary over Target; 'D': remove Target
    std::string Temporary;
    std::string Target;
  };
  struct Change {
    std::string Target;
    std::string Bytes;
    std::string DisplayName;
  };
  static std::string Describe(const std::vector<Step>& steps);
  static bool Parse(const std::string& text, std::vector<Step>& steps);
  static bool Apply(const std::vector<Step>& steps);
  // The change is complete: its journal goes.
  static void Forget(const std::string& journal);
  void WriteInPlace() const;

  std::string journal_;
  std::vector<Change> writes_;
  std::vector<std::string> removals_;
};

}  // namespace korval
