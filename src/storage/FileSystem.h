#pragma once

#include <string>

// The file operations under the stores: finding a file the way Windows
// finds it, and replacing one so that a crash or a power loss leaves the old
// bytes or the new ones, never a torn file. Paths are UTF-8 with "/".
namespace korval::files {

// The path of an existing file or folder: the path itself when it names
// one; else, folder by folder, the entry whose name differs only in case (a
// folder copied from Windows holds "TIKETFRM.INI" where the program asks for
// "TiketFrm.ini"). Parts that match nothing are kept as given, so a file that
// does not exist yet is created under the name asked for.
std::string Locate(const std::string& path);

// The path that a Windows file name as hosts and stored formats carry it
// (".\forms\TiketFrm.ini", "C:\Etikety\") names on this system: every
// backslash is a separator. On Windows a drive letter is kept; elsewhere it
// means nothing and is dropped, with one word on stderr the first time.
std::string NativePath(const std::string& windowsName);

enum class ReadResult { kMissing, kRead, kFailed };
// The whole of a regular file. A folder, device or pipe in its place fails:
// it would block or makes no sense as settings.
ReadResult ReadAll(const std::string& path, std::string& bytes);

bool Exists(const std::string& path);
// Creates the folder and the folders above it that are missing.
void CreateFolders(const std::string& folder);

// True when the file exists and must not be written: it carries no write
// permission for anybody (the read-only attribute of Windows, which holds
// for an administrator too), or this process may not write it.
bool IsReadOnly(const std::string& path);

// The file a link points to, followed to its end: writing through a link
// must change the file the user keeps, not replace the link.
std::string FollowLinks(const std::string& path);

// Writes bytes to a fresh temporary file beside target, flushed to the disk.
// The name carries this process's id, so a later save can tell the
// leftovers of a killed process from a file another save is still writing.
struct Temporary {
  std::string Path;            // empty when nothing was written
  bool FolderRefused = false;  // the folder takes no new file
};
Temporary WriteTemporary(const std::string& target, const std::string& bytes);
// Renames from over to. False when the system refuses; refusedByFolder then
// tells whether the folder's permissions were the reason.
bool RenameOver(const std::string& from, const std::string& to, bool* refusedByFolder = nullptr);
// Rewrites the file where it stands, flushed: the way Windows writes, for a
// folder that takes no new file while the file itself may be written.
bool WriteInPlace(const std::string& path, const std::string& bytes);
bool Remove(const std::string& path);
// Flushes the folder's entries, so a rename survives a power loss.
void SyncFolderOf(const std::string& path);
// Removes the temporary files that saves of target left when their process
// was killed before renaming them.
void RemoveStaleTemporaries(const std::string& target);

// The whole replacement of one file: a temporary file renamed over it; where
// the folder takes no new file but the file may be written, in place. False
// when the file is read-only or nothing could be written.
bool Replace(const std::string& target, const std::string& bytes);

}  // namespace korval::files
