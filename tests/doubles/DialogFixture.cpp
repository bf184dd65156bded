#include "doubles/DialogFixture.h"

namespace korval::test {

RecordBuilder::RecordBuilder() {
  std::memset(&item_, 0, sizeof item_);
  item_.Velikost = KORVAL_TIKET_ITEM_SIZE;
  item_.Pocet = 1;
}

RecordBuilder& RecordBuilder::Text(std::uint8_t* field, std::size_t room, const std::string& utf8) {
  const std::string bytes = Utf8ToCp1250(utf8);
  const std::size_t n = bytes.size() < room ? bytes.size() : room;
  std::memset(field, 0, room + 1);
  field[0] = static_cast<std::uint8_t>(n);
  std::memcpy(field + 1, bytes.data(), n);
  return *this;
}

RecordBuilder& RecordBuilder::Notes(const std::string& n1, const std::string& n2,
                                    const std::string& n3, const std::string& n4) {
  Text(item_.Pozn1, 50, n1);
  Text(item_.Pozn2, 50, n2);
  Text(item_.Pozn3, 50, n3);
  return Text(item_.Pozn4, 50, n4);
}

RecordBuilder& RecordBuilder::SetDouble(std::size_t offset, double v) {
  std::memcpy(reinterpret_cast<char*>(&item_) + offset, &v, sizeof v);
  return *this;
}

DialogFixture::DialogFixture() = default;
DialogFixture::~DialogFixture() = default;

void DialogFixture::SetGoods(const std::vector<TTiketItem>& records,
                             const std::string& formatName) {
  const std::string name = Utf8ToCp1250(formatName);
  host.SetParamsCopy(records.data(), static_cast<std::int32_t>(records.size()), name.c_str(), -1);
}

TfrmMain& DialogFixture::Dialog() {
  if (!dialog) Recreate();
  return *dialog;
}

void DialogFixture::Recreate() {
  dialog.reset();
  dialog = std::make_unique<TfrmMain>(DialogServices{host, ui, printer, locale, clock, {}});
}

}  // namespace korval::test
