#include "storage/FileSystem.h"

namespace korval::files {

// The same on every system; only the steps differ.
bool Replace(const std::string& target, const std::string& bytes) {
  if (IsReadOnly(target)) return false;
  RemoveStaleTemporaries(target);
  const Temporary temp = WriteTemporary(target, bytes);
  bool refusedByFolder = temp.FolderRefused;
  if (!temp.Path.empty()) {
    if (RenameOver(temp.Path, target, &refusedByFolder)) {
      SyncFolderOf(target);
      return true;
    }
    Remove(temp.Path);
  }
  // Only a folder that takes no new file is a reason to write in place; a
  // full disk would tear the file that way.
  return refusedByFolder && Exists(target) && WriteInPlace(target, bytes);
}

}  // namespace korval::files
