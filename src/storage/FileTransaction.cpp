#include "storage/FileTransaction.h"

#include <string_view>
#include <utility>

#include "storage/FileSystem.h"
#include "storage/ProfileFile.h"

namespace korval {
namespace {

constexpr std::string_view kHeader = "KORVAL journal 1\n";
constexpr std::string_view kEnd = "end\n";

// Paths are written with their length, so that no character of a name can
// be taken for a separator.
void PutPath(std::string& out, const std::string& path) {
  out += std::to_string(path.size());
  out += ':';
  out += path;
}

bool GetPath(std::string_view& in, std::string& path) {
  const std::size_t colon = in.find(':');
  if (colon == 0 || colon == std::string_view::npos || colon > 9) return false;
  std::size_t length = 0;
  for (const char c : in.substr(0, colon)) {
    if (c < '0' || c > '9') return false;
    length = length * 10 + static_cast<std::size_t>(c - '0');
  }
  in.remove_prefix(colon + 1);
  if (in.size() < length) return false;
  path = std::string(in.substr(0, length));
  in.remove_prefix(length);
  return true;
}

}  // namespace

void FileTransaction::Write(const std::string& target, std::string bytes, std::string displayName) {
  writes_.push_back(
      {files::FollowLinks(files::Locate(target)), std::move(bytes), std::move(displayName)});
}

void FileTransaction::Remove(const std::string& target) {
  removals_.push_back(files::Locate(target));
}

std::string FileTransaction::Describe(const std::vector<Step>& steps) {
  std::string text(kHeader);
  for (const Step& step : steps) {
    text += step.Kind;
    text += ' ';
    if (step.Kind == 'W') {
      PutPath(text, step.Temporary);
      text += ' ';
    }
    PutPath(text, step.Target);
    text += '\n';
  }
  text += kEnd;
  return text;
}

bool FileTransaction::Parse(const std::string& text, std::vector<Step>& steps) {
  std::string_view in = text;
  if (!in.starts_with(kHeader) || !in.ends_with(kEnd)) return false;
  in.remove_prefix(kHeader.size());
  in.remove_suffix(kEnd.size());
  while (!in.empty()) {
    Step step{in.front(), {}, {}};
    if ((step.Kind != 'W' && step.Kind != 'D') || in.size() < 2 || in[1] != ' ') return false;
    in.remove_prefix(2);
    if (step.Kind == 'W') {
      if (!GetPath(in, step.Temporary) || in.empty() || in.front() != ' ') return false;
      in.remove_prefix(1);
    }
    if (!GetPath(in, step.Target) || in.empty() || in.front() != '\n') return false;
    in.remove_prefix(1);
    steps.push_back(std::move(step));
  }
  return true;
}

// Idempotent, so that a crash while applying is mended by applying again:
// a temporary file that is gone was renamed already.
bool FileTransaction::Apply(const std::vector<Step>& steps) {
  bool done = true;
  for (const Step& step : steps) {
    if (step.Kind == 'W') {
      if (files::Exists(step.Temporary) && !files::RenameOver(step.Temporary, step.Target))
        done = false;
    } else if (!files::Remove(step.Target)) {
      done = false;
    }
  }
  if (!steps.empty()) files::SyncFolderOf(steps.front().Target);
  return done;
}

void FileTransaction::Recover(const std::string& journal) {
  const std::string path = files::Locate(journal);
  std::string text;
  if (files::ReadAll(path, text) != files::ReadResult::kRead) return;
  std::vector<Step> steps;
  // The journal is put in place whole by a rename; one that does not read
  // is no journal of ours and describes nothing to complete.
  if (Parse(text, steps) && !Apply(steps)) return;
  Forget(path);
}

void FileTransaction::Forget(const std::string& journal) {
  files::Remove(journal);
  files::SyncFolderOf(journal);
}

void FileTransaction::WriteInPlace() const {
  for (const Change& change : writes_) {
    if (!files::WriteInPlace(change.Target, change.Bytes))
      throw ProfileWriteError(change.DisplayName);
  }
}

void FileTransaction::Commit() {
  if (writes_.empty() && removals_.empty()) return;
  for (const Change& change : writes_) {
    if (files::IsReadOnly(change.Target)) throw ProfileWriteError(change.DisplayName);
  }
  const auto failed = [&](const std::vector<Step>& written) {
    for (const Step& step : written) files::Remove(step.Temporary);
  };

  std::vector<Step> steps;
  for (const Change& change : writes_) {
    files::RemoveStaleTemporaries(change.Target);
    const files::Temporary temp = files::WriteTemporary(change.Target, change.Bytes);
    if (temp.Path.empty()) {
      failed(steps);
      bool inPlace = temp.FolderRefused && removals_.empty();
      for (const Change& other : writes_) inPlace = inPlace && files::Exists(other.Target);
      if (!inPlace) throw ProfileWriteError(change.DisplayName);
      WriteInPlace();
      return;
    }
    steps.push_back({'W', temp.Path, change.Target});
  }
  for (const std::string& target : removals_) steps.push_back({'D', {}, target});

  files::RemoveStaleTemporaries(journal_);
  if (!files::Replace(journal_, Describe(steps))) {
    failed(steps);
    throw ProfileWriteError(writes_.empty() ? journal_ : writes_.front().DisplayName);
  }
  // From here on the change has happened; what Apply leaves undone, the
  // next reader completes.
  if (Apply(steps)) Forget(journal_);
}

}  // namespace korval
