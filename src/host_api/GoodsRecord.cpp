#include "host_api/GoodsRecord.h"

#include <cstring>

#include "platform/CodePage.h"

namespace korval {
namespace {

// The record is packed; fields are read by copying, never through a
// misaligned reference.
template <typename T>
T ReadAt(const void* base, std::size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const unsigned char*>(base) + offset, sizeof(T));
  return value;
}

const TTiketItemExt* ResolveExtension(const TTiketItem& raw, ExtensionTable extensions) {
#if KORVAL_WIN32_ABI
  (void)extensions;
  return ReadAt<const TTiketItemExt*>(&raw, offsetof(TTiketItem, Rozsireni));
#else
  const auto index = ReadAt<std::uint32_t>(&raw, offsetof(TTiketItem, Rozsireni));
  if (index == 0 || index > extensions.size()) return nullptr;
  return extensions[index - 1];
#endif
}

}  // namespace

GoodsRecord::GoodsRecord(const TTiketItem& raw, ExtensionTable extensions)
    : raw_(&raw), extension_(ResolveExtension(raw, extensions)) {}

std::int32_t GoodsRecord::Size() const {
  return ReadAt<std::int32_t>(raw_, offsetof(TTiketItem, Velikost));
}

std::uint16_t GoodsRecord::Pocet() const {
  return ReadAt<std::uint16_t>(raw_, offsetof(TTiketItem, Pocet));
}

double GoodsRecord::NumberAt(std::size_t offset) const {
  return ReadAt<double>(raw_, offset);
}

std::string GoodsRecord::FieldText(const std::uint8_t* field, std::size_t room) {
  std::size_t length = field[0];
  if (length > room) length = room;
  return Cp1250ToUtf8(std::string_view(reinterpret_cast<const char*>(field + 1), length));
}

std::string GoodsRecord::CenaZaJednotku() const {
  if (extension_ == nullptr) return {};
  return FieldText(extension_->CenaZaJednotku, sizeof(extension_->CenaZaJednotku) - 1);
}

std::optional<std::string> GoodsRecord::Ingredience() const {
  if (extension_ == nullptr) return std::nullopt;
  if (ReadAt<std::int32_t>(extension_, 0) < kExtensionSizeWithIngredients) return std::nullopt;
  const char* text = ReadAt<const char*>(extension_, offsetof(TTiketItemExt, Ingredience));
  if (text == nullptr) return std::string();
  return Cp1250ToUtf8(text);
}

}  // namespace korval
