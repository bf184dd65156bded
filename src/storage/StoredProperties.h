#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korval {

class Control;

// The published properties of the dialog's controls, by name, as the label
// format store reads and writes them. Values cross as the texts that format
// files hold: Booleans "True"/"False", integers in decimal, enumerations by
// member name ("taLeftJustify", "tlCenter", "fpDefault"), font styles as a
// bracketed list ("[fsBold,fsItalic]").

enum class PropertyKind { Boolean, Integer, Text, Enumeration, StyleSet, Object };

// The properties a format stores of a control, in the order of their keys.
// An object property (the font) is one name here; its sub-properties become
// keys of their own.
std::vector<std::string> StoredProperties(const Control& control);

// A published property of the control, found without regard to case, with
// its proper spelling; nothing when the control has none of that name.
struct PropertyInfo {
  std::string Name;
  PropertyKind Kind;
};
std::optional<PropertyInfo> FindProperty(const Control& control, std::string_view name);

// The published sub-properties of an object property, in alphabetical order:
// for the font Charset, Color, Height, Name, Pitch, Size, Style.
std::vector<PropertyInfo> SubProperties(const PropertyInfo& object);

// The value of a property (sub is empty, or a sub-property of an object
// property) as text.
std::string PropertyText(const Control& control, const std::string& property,
                         const std::string& sub = {});

// Assigns a property from text. A Boolean, enumeration or style that the text
// does not name leaves the property as it is; an integer that is not a number
// becomes 0. Throws std::invalid_argument when the value cannot be assigned.
void SetPropertyText(Control& control, const std::string& property, const std::string& sub,
                     const std::string& text);

}  // namespace korval
