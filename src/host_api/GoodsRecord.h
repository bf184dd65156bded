#pragma once

#include <korval/korval.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace korval {

// Where the host's extension blocks are: the record's own pointer on 32-bit
// Windows, else a 1-based index into the table the host handed over.
using ExtensionTable = std::span<const TTiketItemExt* const>;

// One goods record read in place. Texts come out as UTF-8. A length byte
// larger than its field's room reads the room: nothing outside the 494 bytes
// is ever read.
class GoodsRecord {
 public:
  GoodsRecord(const TTiketItem& raw, ExtensionTable extensions);

  std::int32_t Size() const;
  std::string Nazev() const { return Text(raw_->Nazev); }
  std::string Cislo() const { return Text(raw_->Cislo); }
  std::string PLU1() const { return Text(raw_->PLU1); }
  std::string PLU2() const { return Text(raw_->PLU2); }
  std::string Jednotka() const { return Text(raw_->Jednotka); }
  std::string EAN() const { return Text(raw_->EAN); }
  std::string TkInfo() const { return Text(raw_->TkInfo); }
  std::string Pozn1() const { return Text(raw_->Pozn1); }
  std::string Pozn2() const { return Text(raw_->Pozn2); }
  std::string Pozn3() const { return Text(raw_->Pozn3); }
  std::string Pozn4() const { return Text(raw_->Pozn4); }

  double CenaA() const { return NumberAt(offsetof(TTiketItem, CenaA)); }
  double CenaAsDPH() const { return NumberAt(offsetof(TTiketItem, CenaAsDPH)); }
  double CenaB() const { return NumberAt(offsetof(TTiketItem, CenaB)); }
  double CenaBsDPH() const { return NumberAt(offsetof(TTiketItem, CenaBsDPH)); }
  double CenaC() const { return NumberAt(offsetof(TTiketItem, CenaC)); }
  double CenaCsDPH() const { return NumberAt(offsetof(TTiketItem, CenaCsDPH)); }
  double MinZasoba() const { return NumberAt(offsetof(TTiketItem, MinZasoba)); }
  double MaxZasoba() const { return NumberAt(offsetof(TTiketItem, MaxZasoba)); }
  double EuroKurz() const { return NumberAt(offsetof(TTiketItem, EuroKurz)); }
  double Euro() const { return NumberAt(offsetof(TTiketItem, Euro)); }
  double PLU1Cena() const { return NumberAt(offsetof(TTiketItem, PLU1Cena)); }
  double PLU2Cena() const { return NumberAt(offsetof(TTiketItem, PLU2Cena)); }
  std::uint16_t Pocet() const;

  // The extension block, or none.
  const TTiketItemExt* Extension() const { return extension_; }
  // The unit-price template of the extension block (empty without one).
  std::string CenaZaJednotku() const;
  // The ingredient list, when the block is large enough to carry its address.
  std::optional<std::string> Ingredience() const;

  const TTiketItem& Raw() const { return *raw_; }

  // A length-prefixed field of room N (the array holds N + 1 bytes).
  template <std::size_t N>
  static std::string Text(const std::uint8_t (&field)[N]) {
    return FieldText(field, N - 1);
  }
  static std::string FieldText(const std::uint8_t* field, std::size_t room);

 private:
  double NumberAt(std::size_t offset) const;

  const TTiketItem* raw_;
  const TTiketItemExt* extension_ = nullptr;
};

// Size a block must announce to carry the ingredient list's address.
inline constexpr std::int32_t kExtensionSizeWithIngredients =
    static_cast<std::int32_t>(offsetof(TTiketItemExt, Ingredience) + sizeof(const char*));

}  // namespace korval
