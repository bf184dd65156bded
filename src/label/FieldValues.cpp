// How every item's text is made from the bound goods record, the dialog's
// own edits and the host.
#include <exception>

#include "barcode/BarcodeError.h"
#include "dialog/Texts.h"
#include "dialog/TfrmMain.h"
#include "host_api/HostContext.h"
#include "platform/LocaleInfo.h"
#include "platform/NumberFormat.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace korval {
namespace {

constexpr const char* kPriceMask = "###########0.00";

// A number as the locale writes it on a label: its separator may be more
// than one byte ("٫"), so the number is formatted with a point first.
std::string LocaleNumber(double number, const char* mask, const LocaleInfo& locale) {
  std::string s = FormatFloatMask(number, mask, '.');
  const std::size_t sep = s.find('.');
  if (sep != std::string::npos) s.replace(sep, 1, locale.DecimalSeparatorText());
  return s;
}

}  // namespace

std::string TfrmMain::FormatSplitNumber(double number, const Control& item) const {
  const std::string s = FormatFloatMask(number, kPriceMask, '.');
  const std::size_t sep = s.find('.');
  const std::string separator = Locale().DecimalSeparatorText();
  // A link label is a TPropLabel too, so it is asked about first.
  if (dynamic_cast<const TPropLabelLink*>(&item) != nullptr) {
    return sep == std::string::npos ? std::string() : s.substr(sep + 1);
  }
  if (const auto* label = dynamic_cast<const TPropLabel*>(&item);
      label != nullptr && label->Linked()) {
    return sep == std::string::npos ? s : s.substr(0, sep) + separator;
  }
  return sep == std::string::npos ? s : s.substr(0, sep) + separator + s.substr(sep + 1);
}

std::optional<std::string> TfrmMain::GetRecordValue(Control& item, const GoodsRecord* record,
                                                    int valueIndex) {
  if (record == nullptr) return std::nullopt;
  try {
    const GoodsRecord& r = *record;
    switch (valueIndex) {
      case 1:
        return TrimControl(r.Pozn1());
      case 2:
        return TrimControl(r.Pozn2());
      case 3:
        return TrimControl(r.Pozn3());
      case 4:
        return TrimControl(r.Pozn4());
      case 5:
        return r.PLU1();
      case 6:
        return FormatSplitNumber(r.PLU1Cena(), item);
      case 7:
        return r.PLU2();
      case 8:
        return FormatSplitNumber(r.PLU2Cena(), item);
      case 9:
        return FormatSplitNumber(r.MinZasoba(), item);
      case 10:
        return FormatSplitNumber(r.MaxZasoba(), item);
      case 11:
        return r.Jednotka();
      case 12:
        return r.EAN();
      case 13:
        return FormatSplitNumber(r.CenaA(), item);
      case 14:
        return FormatSplitNumber(r.CenaAsDPH(), item);
      case 15:
        return FormatSplitNumber(r.CenaB(), item);
      case 16:
        return FormatSplitNumber(r.CenaBsDPH(), item);
      case 17:
        return FormatSplitNumber(r.CenaC(), item);
      case 18:
        return FormatSplitNumber(r.CenaCsDPH(), item);
      case 19:
        return TrimControl(r.TkInfo());
      case 20:
        return r.Ingredience().value_or(MessageText("NoIngredients", "není definováno"));
      default:
        return std::string();
    }
  } catch (const std::exception& e) {
    services_.UserInterface.ShowMessage(
        {"", e.what(), MessageIcon::None, MessageButtons::Ok, MessageModality::Application});
    return std::string("ERR");
  }
}

std::optional<std::string> TfrmMain::GetAllNotes(Control&, const GoodsRecord* record, int) {
  if (record == nullptr) return std::nullopt;
  std::string joined;
  for (const std::string& note :
       {record->Pozn1(), record->Pozn2(), record->Pozn3(), record->Pozn4()}) {
    joined += ReplaceAll(ReplaceAll(note, "||", "\r\n"), "|", " ");
  }
  return TrimControl(LeftChars(joined, 255));
}

std::optional<std::string> TfrmMain::GetEuroValue(Control&, const GoodsRecord* record, int) {
  if (record == nullptr) return std::nullopt;
  return LocaleNumber(record->Euro(), "#######0.00€", Locale());
}

std::optional<std::string> TfrmMain::GetEuroRate(Control&, const GoodsRecord* record, int) {
  if (record == nullptr) return std::nullopt;
  const std::string currency = Locale().CurrencyString();
  if (record->EuroKurz() == 0) return FormatText("-,--%s/€", currency.c_str());
  const std::string rate = LocaleNumber(record->EuroKurz(), "#######0.00##", Locale());
  return FormatText("%s%s/€", rate.c_str(), currency.c_str());
}

std::optional<std::string> TfrmMain::GetFurtherBarcodes(Control&, const GoodsRecord* record, int) {
  if (record == nullptr) return std::nullopt;
  return services_.Host.FurtherBarcodes(record->Cislo());
}

void TfrmMain::ApplyBarcodeText(TPropBarCode& barcode, const std::string& text) {
  const std::size_t length = CharCount(text);
  try {
    if (length == 0) {
      barcode.SetCode(std::string());
    } else if (const auto type = SymbologyForLength(length)) {
      barcode.SetCode(*type, text);
    } else if (barcode.Visible()) {
      barcode.SetCode(std::string());
    }
  } catch (const BarcodeError&) {
    barcode.SetCode(std::string());
  }
}

std::string TfrmMain::SubstituteTexts(const std::string& pattern) {
  return unitPrice_.Substitute(pattern, Ctl<Edit>("eText1").Text(), Ctl<Edit>("eText2").Text(),
                               Ctl<Edit>("eText3").Text());
}

void TfrmMain::CBAsCHMJClick(Control&) {
  SetEditEnabled(Ctl<Edit>("eText3"),
                 !Ctl<CheckBox>("CBAsCHMJ").Checked() && Ctl<CheckBox>("cbText3").Checked());
  BoundItemIndex = -1;
  BindGoodsItem(CurrentItemIndex);
}

void TfrmMain::eText1Change(Control& sender) {
  Ctl<TLabel>("lText1").SetCaption(sender.Caption());
  if (Ctl<CheckBox>("CBAsCHMJ").Checked()) CBAsCHMJClick(Ctl<CheckBox>("CBAsCHMJ"));
}

void TfrmMain::eText2Change(Control& sender) {
  Ctl<TLabel>("lText2").SetCaption(sender.Caption());
}

void TfrmMain::eText3Change(Control& sender) {
  Ctl<TLabel>("lText3").SetCaption(sender.Caption());
}

void TfrmMain::SplitPriceClick(Control& item) {
  if (auto* label = dynamic_cast<TPropLabel*>(&item); label != nullptr && label->CanSplit() == 1) {
    label->SetLinked(!label->Linked());
  }
}

void TfrmMain::ToggleNumberAbove(TBarCodeControl& barcode) {
  barcode.SetTag((barcode.Tag() | 10) ^ 1);
}

void TfrmMain::ToggleTallGuardBars(TBarCodeControl& barcode) {
  barcode.SetTallGuardBars(!barcode.TallGuardBars());
  barcode.SetShowGuardChars(barcode.TallGuardBars());
}

}  // namespace korval
