#pragma once

#include <string>

namespace korval {

class HostContext;
class Ui;

// What start-up makes of the host's "FormPath", the prefix of every format
// file name ("TiketFrm.ini", "TiketSav.NNN" appended).
struct FormPathChoice {
  std::string Prefix;
  // The value named neither a folder nor existing format files: nothing
  // stored can be found under it, which the person must hear of.
  bool Unresolved = false;
};

// A value that ends in a separator ("\", "/", ":"), or is empty, is taken as
// it stands. Otherwise it stays a plain prefix when the format list file
// starts with it (hosts that keep "C:\Etikety\lab" + "TiketFrm.ini" rely on
// that), gets a separator when it names an existing folder ("forms" becomes
// "forms/", with the separator the value already uses, else the system's),
// and is kept but unresolved when it is neither.
FormPathChoice ResolveFormPath(const std::string& configured);

// The first dialog or print of the library's life says once, through ui,
// that the configured form path names no formats; later ones say nothing.
void ReportUnresolvedFormPath(HostContext& host, Ui& ui);

}  // namespace korval
