#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dialog/Form.h"
#include "storage/StoredProperties.h"

namespace korval {

class ProfileFile;

// One of the two stored sets of a label format: an ordered list of
// "component.property" entries, each with the control it belongs to. Saving
// walks the list in order, so the order of registration is the order of the
// keys in the file. Entries of a destroyed control leave the list; keys
// already written stay in the file.
class ComponentStateList : private ControlObserver {
 public:
  explicit ComponentStateList(Form& form);
  ~ComponentStateList() override;
  ComponentStateList(const ComponentStateList&) = delete;
  ComponentStateList& operator=(const ComponentStateList&) = delete;

  // Appends the control's stored properties. A control registered twice has
  // its entries twice.
  void Register(Control& control);

  // Writes every entry into the section: existing keys are replaced where
  // they stand, new ones appended; nothing is erased first.
  void Write(ProfileFile& file, const std::string& section);
  // Reads every entry; a missing key leaves its property as it is, and a
  // value that cannot be taken leaves that one property and goes on.
  void Read(const ProfileFile& file, const std::string& section);

  // The entries' texts in order ("lNazev.Alignment", ...), names as they are now.
  std::vector<std::string> Entries() const;

 private:
  struct Entry {
    std::string Text;
    Control* Target;
  };
  struct Resolved {
    std::string Key;  // component + "." + property, as the file spells it
    PropertyInfo Property;
  };
  static std::optional<Resolved> Resolve(const Entry& entry);
  void ControlDestroyed(Control& control) override;
  // Step 1 of reading and writing: texts follow the controls' current names.
  void Refresh();

  Form& form_;
  std::vector<Entry> entries_;
};

}  // namespace korval
