#include "storage/StoredProperties.h"

#include <stdexcept>

#include "barcode/TBarCodeControl.h"
#include "dialog/StdControls.h"
#include "label/TImage.h"
#include "label/TLabel.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"

namespace korval {
namespace {

constexpr const char* kAlignments[] = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr const char* kLayouts[] = {"tlTop", "tlCenter", "tlBottom"};
constexpr const char* kPitches[] = {"fpDefault", "fpVariable", "fpFixed"};
constexpr std::pair<FontStyleBit, const char*> kStyles[] = {{fsBold, "fsBold"},
                                                            {fsItalic, "fsItalic"},
                                                            {fsUnderline, "fsUnderline"},
                                                            {fsStrikeOut, "fsStrikeOut"}};

std::string BoolText(bool v) {
  return v ? "True" : "False";
}

std::optional<bool> ParseBool(const std::string& text) {
  if (SameText(text, "True")) return true;
  if (SameText(text, "False")) return false;
  return std::nullopt;
}

template <std::size_t N>
std::optional<int> ParseMember(const char* const (&names)[N], const std::string& text) {
  for (std::size_t i = 0; i < N; ++i) {
    if (SameText(names[i], text)) return static_cast<int>(i);
  }
  return std::nullopt;
}

// Integers from stored text: anything that is not a number counts as 0.
int IntegerOf(const std::string& text) {
  return ParseInt(text).value_or(0);
}

std::string StyleText(FontStyles style) {
  std::string text = "[";
  for (const auto& [bit, name] : kStyles) {
    if ((style & bit) == 0) continue;
    if (text.size() > 1) text += ',';
    text += name;
  }
  return text + "]";
}

FontStyles ParseStyle(const std::string& text) {
  FontStyles style = 0;
  std::string piece;
  const auto flush = [&] {
    for (const auto& [bit, name] : kStyles) {
      if (SameText(piece, name)) style |= bit;
    }
    piece.clear();
  };
  for (const char c : text) {
    if (c == ' ' || c == ',' || c == '[' || c == ']') {
      flush();
    } else {
      piece += c;
    }
  }
  flush();
  return style;
}

bool HasFont(const Control& c) {
  return dynamic_cast<const TLabel*>(&c) != nullptr ||
         dynamic_cast<const TBarCodeControl*>(&c) != nullptr;
}

Font FontOf(const Control& c) {
  if (const auto* label = dynamic_cast<const TLabel*>(&c)) return label->GetFont();
  return dynamic_cast<const TBarCodeControl&>(c).GetFont();
}

void SetFontOf(Control& c, const Font& font) {
  if (auto* label = dynamic_cast<TLabel*>(&c)) {
    label->SetFont(font);
  } else {
    dynamic_cast<TBarCodeControl&>(c).SetFont(font);
  }
}

const std::vector<PropertyInfo>& FontProperties() {
  static const std::vector<PropertyInfo> props = {
      {"Charset", PropertyKind::Integer},   {"Color", PropertyKind::Integer},
      {"Height", PropertyKind::Integer},    {"Name", PropertyKind::Text},
      {"Pitch", PropertyKind::Enumeration}, {"Size", PropertyKind::Integer},
      {"Style", PropertyKind::StyleSet}};
  return props;
}

// The published properties of each control, by kind.
std::vector<PropertyInfo> PublishedProperties(const Control& c) {
  std::vector<PropertyInfo> props = {
      {"Left", PropertyKind::Integer},    {"Top", PropertyKind::Integer},
      {"Width", PropertyKind::Integer},   {"Height", PropertyKind::Integer},
      {"Visible", PropertyKind::Boolean}, {"Enabled", PropertyKind::Boolean},
      {"Tag", PropertyKind::Integer},     {"Hint", PropertyKind::Text}};
  if (dynamic_cast<const CheckBox*>(&c)) props.push_back({"Checked", PropertyKind::Boolean});
  if (dynamic_cast<const ComboBox*>(&c)) {
    props.push_back({"ItemIndex", PropertyKind::Integer});
    props.push_back({"Text", PropertyKind::Text});
  }
  if (dynamic_cast<const Edit*>(&c)) props.push_back({"Text", PropertyKind::Text});
  if (dynamic_cast<const TLabel*>(&c)) {
    props.push_back({"Caption", PropertyKind::Text});
    props.push_back({"Alignment", PropertyKind::Enumeration});
    props.push_back({"Layout", PropertyKind::Enumeration});
    props.push_back({"WordWrap", PropertyKind::Boolean});
    props.push_back({"Font", PropertyKind::Object});
    props.push_back({"Linked", PropertyKind::Boolean});
  }
  if (dynamic_cast<const TBarCodeControl*>(&c)) {
    props.push_back({"TallGuardBars", PropertyKind::Boolean});
    props.push_back({"ShowGuardChars", PropertyKind::Boolean});
    props.push_back({"Font", PropertyKind::Object});
  }
  if (dynamic_cast<const TImage*>(&c)) props.push_back({"Stretch", PropertyKind::Boolean});
  return props;
}

}  // namespace

std::vector<std::string> StoredProperties(const Control& c) {
  if (c.Kind() == ControlKind::CheckBox) return {"Checked"};
  if (c.Kind() == ControlKind::ComboBox) return {"ItemIndex"};
  if (c.Kind() == ControlKind::Edit) return {"Text"};
  std::vector<std::string> keys;
  if (dynamic_cast<const TLabel*>(&c))
    keys.insert(keys.end(), {"Alignment", "Layout", "Font", "WordWrap"});
  if (dynamic_cast<const TBarCodeControl*>(&c))
    keys.insert(keys.end(), {"TallGuardBars", "ShowGuardChars", "Font", "Tag"});
  if (dynamic_cast<const TImage*>(&c)) keys.push_back("Stretch");
  if (const auto* label = dynamic_cast<const TLabel*>(&c); label && label->CanSplit() == 1)
    keys.push_back("Linked");
  keys.insert(keys.end(), {"Top", "Left", "Width", "Height", "Visible"});
  return keys;
}

std::optional<PropertyInfo> FindProperty(const Control& c, std::string_view name) {
  for (const auto& p : PublishedProperties(c)) {
    if (SameText(p.Name, name)) return p;
  }
  return std::nullopt;
}

std::vector<PropertyInfo> SubProperties(const PropertyInfo& object) {
  if (object.Kind == PropertyKind::Object && object.Name == "Font") return FontProperties();
  return {};
}

std::string PropertyText(const Control& c, const std::string& property, const std::string& sub) {
  if (property == "Font") {
    const Font font = FontOf(c);
    if (sub == "Charset") return std::to_string(font.Charset);
    if (sub == "Color") return std::to_string(font.FontColor);
    if (sub == "Height") return std::to_string(font.Height);
    if (sub == "Name") return font.Name;
    if (sub == "Pitch") return kPitches[static_cast<int>(font.Pitch)];
    if (sub == "Size") return std::to_string(font.Size);
    if (sub == "Style") return StyleText(font.Style);
    return {};
  }
  if (property == "Left") return std::to_string(c.Left());
  if (property == "Top") return std::to_string(c.Top());
  if (property == "Width") return std::to_string(c.Width());
  if (property == "Height") return std::to_string(c.Height());
  if (property == "Visible") return BoolText(c.Visible());
  if (property == "Enabled") return BoolText(c.Enabled());
  if (property == "Tag") return std::to_string(c.Tag());
  if (property == "Hint") return c.Hint();
  if (property == "Text" || property == "Caption") return c.Caption();
  if (property == "Checked") return BoolText(dynamic_cast<const CheckBox&>(c).Checked());
  if (property == "ItemIndex") return std::to_string(dynamic_cast<const ComboBox&>(c).ItemIndex());
  if (const auto* label = dynamic_cast<const TLabel*>(&c)) {
    if (property == "Alignment") return kAlignments[static_cast<int>(label->Alignment())];
    if (property == "Layout") return kLayouts[static_cast<int>(label->Layout())];
    if (property == "WordWrap") return BoolText(label->WordWrap());
    if (property == "Linked") return BoolText(label->Linked());
  }
  if (const auto* barcode = dynamic_cast<const TBarCodeControl*>(&c)) {
    if (property == "TallGuardBars") return BoolText(barcode->TallGuardBars());
    if (property == "ShowGuardChars") return BoolText(barcode->ShowGuardChars());
  }
  if (property == "Stretch") return BoolText(dynamic_cast<const TImage&>(c).Stretch());
  return {};
}

void SetPropertyText(Control& c, const std::string& property, const std::string& sub,
                     const std::string& text) {
  const auto setBool = [&](auto&& assign) {
    if (const auto v = ParseBool(text)) assign(*v);
  };
  if (property == "Font") {
    if (!HasFont(c)) throw std::invalid_argument(c.Name() + " has no font");
    Font font = FontOf(c);
    if (sub == "Charset") font.Charset = IntegerOf(text);
    if (sub == "Color") font.FontColor = IntegerOf(text);
    if (sub == "Height") font.SetHeight(IntegerOf(text));
    if (sub == "Name") font.Name = text;
    if (sub == "Pitch") {
      if (const auto m = ParseMember(kPitches, text)) font.Pitch = static_cast<FontPitch>(*m);
    }
    if (sub == "Size") font.SetSize(IntegerOf(text));
    if (sub == "Style") font.Style = ParseStyle(text);
    SetFontOf(c, font);
    return;
  }
  if (property == "Left") return c.SetLeft(IntegerOf(text));
  if (property == "Top") return c.SetTop(IntegerOf(text));
  if (property == "Width") return c.SetWidth(IntegerOf(text));
  if (property == "Height") return c.SetHeight(IntegerOf(text));
  if (property == "Visible") return setBool([&](bool v) { c.SetVisible(v); });
  if (property == "Enabled") return setBool([&](bool v) { c.SetEnabled(v); });
  if (property == "Tag") return c.SetTag(IntegerOf(text));
  if (property == "Hint") return c.SetHint(text);
  if (property == "Text" || property == "Caption") return c.SetCaption(text);
  if (property == "Checked")
    return setBool([&](bool v) { dynamic_cast<CheckBox&>(c).SetChecked(v); });
  if (property == "ItemIndex") return dynamic_cast<ComboBox&>(c).SetItemIndex(IntegerOf(text));
  if (auto* label = dynamic_cast<TLabel*>(&c)) {
    if (property == "Alignment") {
      if (const auto m = ParseMember(kAlignments, text))
        label->SetAlignment(static_cast<TAlignment>(*m));
      return;
    }
    if (property == "Layout") {
      if (const auto m = ParseMember(kLayouts, text))
        label->SetLayout(static_cast<TTextLayout>(*m));
      return;
    }
    if (property == "WordWrap") return setBool([&](bool v) { label->SetWordWrap(v); });
    if (property == "Linked") return setBool([&](bool v) { label->SetLinked(v); });
  }
  if (auto* barcode = dynamic_cast<TBarCodeControl*>(&c)) {
    if (property == "TallGuardBars") return setBool([&](bool v) { barcode->SetTallGuardBars(v); });
    if (property == "ShowGuardChars")
      return setBool([&](bool v) { barcode->SetShowGuardChars(v); });
  }
  if (auto* image = dynamic_cast<TImage*>(&c); image && property == "Stretch")
    return setBool([&](bool v) { image->SetStretch(v); });
  throw std::invalid_argument(c.Name() + " has no property " + property);
}

}  // namespace korval
