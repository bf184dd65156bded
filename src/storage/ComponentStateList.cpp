#include "storage/ComponentStateList.h"

#include <algorithm>
#include <exception>

#include "platform/Text.h"
#include "storage/ProfileFile.h"
#include "storage/StoredProperties.h"

namespace korval {
namespace {

bool IsTextKind(PropertyKind kind) {
  return kind == PropertyKind::Text;
}

// Values are written trimmed of blanks and control characters; an empty text
// is written as an empty value, an empty value of another kind not at all.
void WriteValue(ProfileFile& file, const std::string& section, const std::string& key,
                PropertyKind kind, const std::string& value) {
  const std::string text = TrimControl(value);
  if (text.empty() && !IsTextKind(kind)) return;
  file.WriteString(section, key, text);
}

void ReadValue(const ProfileFile& file, const std::string& section, const std::string& key,
               Control& control, const std::string& property, const std::string& sub) {
  const std::string current = PropertyText(control, property, sub);
  const std::string text = TrimControl(file.ReadString(section, key, current));
  try {
    SetPropertyText(control, property, sub, text);
  } catch (const std::exception&) {
    // One value that cannot be taken leaves its property and reading goes on.
  }
}

}  // namespace

ComponentStateList::ComponentStateList(Form& form) : form_(form) {
  form_.AddObserver(this);
}

ComponentStateList::~ComponentStateList() {
  form_.RemoveObserver(this);
}

void ComponentStateList::Register(Control& control) {
  for (const std::string& property : StoredProperties(control)) {
    entries_.push_back({FormatText("%s.%s", control.Name().c_str(), property.c_str()), &control});
  }
}

void ComponentStateList::ControlDestroyed(Control& control) {
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                [&](const Entry& e) { return e.Target == &control; }),
                 entries_.end());
}

void ComponentStateList::Refresh() {
  for (Entry& e : entries_) {
    const std::size_t dot = e.Text.find('.');
    const std::string property = dot == std::string::npos ? std::string() : e.Text.substr(dot + 1);
    e.Text = e.Target->Name() + "." + property;
  }
}

// The property an entry names: its text split at the first full stop into
// component and property (either empty: skipped), the property looked up on
// the control without regard to case. Keys are the component name, a full
// stop, the property, and for an object property each sub-property's name.
std::optional<ComponentStateList::Resolved> ComponentStateList::Resolve(const Entry& e) {
  const std::size_t dot = e.Text.find('.');
  if (dot == 0 || dot == std::string::npos || dot + 1 == e.Text.size()) return std::nullopt;
  auto property = FindProperty(*e.Target, e.Text.substr(dot + 1));
  if (!property) return std::nullopt;
  return Resolved{e.Text.substr(0, dot) + "." + property->Name, std::move(*property)};
}

void ComponentStateList::Write(ProfileFile& file, const std::string& section) {
  Refresh();
  for (const Entry& e : entries_) {
    const auto r = Resolve(e);
    if (!r) continue;
    if (r->Property.Kind == PropertyKind::Object) {
      for (const PropertyInfo& sub : SubProperties(r->Property)) {
        WriteValue(file, section, r->Key + sub.Name, sub.Kind,
                   PropertyText(*e.Target, r->Property.Name, sub.Name));
      }
    } else {
      WriteValue(file, section, r->Key, r->Property.Kind,
                 PropertyText(*e.Target, r->Property.Name));
    }
  }
}

void ComponentStateList::Read(const ProfileFile& file, const std::string& section) {
  Refresh();
  // A value may create controls (a price's link label registers itself into
  // the other set) but never destroys one of this list's.
  const std::vector<Entry> entries = entries_;
  for (const Entry& e : entries) {
    if (!form_.Owns(e.Target)) continue;
    const auto r = Resolve(e);
    if (!r) continue;
    if (r->Property.Kind == PropertyKind::Object) {
      for (const PropertyInfo& sub : SubProperties(r->Property)) {
        ReadValue(file, section, r->Key + sub.Name, *e.Target, r->Property.Name, sub.Name);
      }
    } else {
      ReadValue(file, section, r->Key, *e.Target, r->Property.Name, {});
    }
  }
}

std::vector<std::string> ComponentStateList::Entries() const {
  std::vector<std::string> texts;
  for (const Entry& e : entries_)
    texts.push_back(e.Target->Name() + e.Text.substr(e.Text.find('.')));
  return texts;
}

}  // namespace korval
