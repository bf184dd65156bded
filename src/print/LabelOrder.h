#pragma once

#include <functional>
#include <optional>
#include <vector>

namespace korval {

class HostContext;

// The labels a real print of the host's goods puts out: each item's count,
// and at least one for each.
long long LabelsOfJob(const HostContext& host);

// Which goods item each label position of the first sheet of a real print
// gets, computed without binding anything: items in list order, each as many
// times as its count asks and at least once. countOf gives an item's count,
// or nothing past the end of the list; the result is one item index per
// position, and ends early when the goods run out.
//
// The print job walks the same order while it binds and paints
// (TfrmMain::DrawPage); the page preview uses this to paint the labels the
// printer will put where, without disturbing the dialog's goods navigation.
std::vector<int> FirstSheetItems(int positions,
                                 const std::function<std::optional<int>(int)>& countOf);

}  // namespace korval
