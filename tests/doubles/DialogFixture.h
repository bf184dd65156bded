#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dialog/TfrmMain.h"
#include "doubles/FakePrintSurface.h"
#include "doubles/FixedLocale.h"
#include "doubles/ScriptedUi.h"
#include "host_api/HostContext.h"
#include "platform/CodePage.h"

namespace korval::test {

// Builds goods records the way a host fills them.
class RecordBuilder {
 public:
  RecordBuilder();
  RecordBuilder& Text(std::uint8_t* field, std::size_t room, const std::string& utf8);
  RecordBuilder& Name(const std::string& v) { return Text(item_.Nazev, 50, v); }
  RecordBuilder& Number(const std::string& v) { return Text(item_.Cislo, 12, v); }
  RecordBuilder& Ean(const std::string& v) { return Text(item_.EAN, 19, v); }
  RecordBuilder& Unit(const std::string& v) { return Text(item_.Jednotka, 5, v); }
  RecordBuilder& Notes(const std::string& n1, const std::string& n2, const std::string& n3,
                       const std::string& n4);
  RecordBuilder& PriceA(double v) { return SetDouble(offsetof(TTiketItem, CenaA), v); }
  RecordBuilder& PriceAWithVat(double v) { return SetDouble(offsetof(TTiketItem, CenaAsDPH), v); }
  RecordBuilder& Euro(double v) { return SetDouble(offsetof(TTiketItem, Euro), v); }
  RecordBuilder& EuroRate(double v) { return SetDouble(offsetof(TTiketItem, EuroKurz), v); }
  RecordBuilder& MinStock(double v) { return SetDouble(offsetof(TTiketItem, MinZasoba), v); }
  RecordBuilder& Count(std::uint16_t v) {
    item_.Pocet = v;
    return *this;
  }
  RecordBuilder& Size(std::int32_t v) {
    item_.Velikost = v;
    return *this;
  }
  RecordBuilder& Extension(std::uint32_t index) {
#if !KORVAL_WIN32_ABI
    item_.Rozsireni = index;
#else
    (void)index;
#endif
    return *this;
  }
  TTiketItem Build() const {
    return item_;
  }

 private:
  RecordBuilder& SetDouble(std::size_t offset, double v);
  TTiketItem item_;
};

// A label dialog on stand-ins: a host context of its own, a scripted person,
// a fake printer, the Czech locale and a fixed day.
struct DialogFixture {
  DialogFixture();
  ~DialogFixture();

  // Hands records to the host context (copies, as SetTiketFormularParams2).
  void SetGoods(const std::vector<TTiketItem>& records, const std::string& formatName = "");
  TfrmMain& Dialog();
  void Recreate();

  HostContext host;
  ScriptedUi ui;
  FakePrintSurface printer;
  FixedLocale locale;
  FixedClock clock;
  std::unique_ptr<TfrmMain> dialog;
};

}  // namespace korval::test
