#include "dialog/MessageTexts.h"

#include <string>

#include "dialog/Texts.h"

namespace korval {
namespace {

struct BuiltInMessage {
  const char* Name;
  const char* Text;  // at most one "%s"
};

// The built-in texts of the message boxes, by the names a catalogue gives
// their translations under.
constexpr BuiltInMessage kMessages[] = {
    {"ErrorCaption", "Chyba"},
    {"QuestionCaption", "Dotaz"},
    {"WarningCaption", "Varování"},
    {"InformationCaption", "Informace"},
    {"SaveQuestion", "Chcete uložit stávající nastavení etikety do seznamu ?"},
    {"NoFormatName", "Není vyplněn název etikety, nelze nastavit parametr \"výchozí\" !"},
    {"DefaultPrinterChanged",
     "Byla změněna výchozí tiskárna !\r\nPřejete si změnit výstupní tiskárnu v editoru ?"},
    {"NoLabelPrinter",
     "Tiskárna nebyla zadána, bude nastavena výchozí tiskárna systému,\r\n"
     "později ji lze zadat v editoru - nastavení tisku"},
    {"SaveLabelPrinter", "Uložit tuto tiskárnu jako výchozí při tisku etiket ?"},
    {"NothingFits", "Na stránku se nevejde žádná etiketa, tisk byl ukončen."},
    {"CreationFailed",
     "Chyba :\r\n  vytváření modulu nastavení proběhlo s chybou,\r\n  nelze pokračovat !\r\n\r\n"
     "ERR : %s"},
    {"ShowFailed",
     "Chyba :\r\n  procedura zobrazení modulu nastavení proběhla s chybou,\r\n  nelze pokračovat "
     "!\r\n\r\nERR : %s"},
    {"PictureTypeUnsupported", "Obrázky typu .%s nelze načíst."},
    {"PictureExtensionUnknown", "Neznámá přípona obrázku (.%s)."},
    {"PictureDamaged", "Obrázek %s je poškozen."},
};

// The translation of text when it is one of the built-in messages.
std::string Translate(const std::string& text) {
  for (const BuiltInMessage& message : kMessages) {
    const std::string pattern = message.Text;
    const std::size_t slot = pattern.find("%s");
    if (slot == std::string::npos) {
      if (text == pattern) return MessageText(message.Name, pattern);
      continue;
    }
    const std::string before = pattern.substr(0, slot);
    const std::string after = pattern.substr(slot + 2);
    if (text.size() < before.size() + after.size() || text.compare(0, before.size(), before) != 0 ||
        text.compare(text.size() - after.size(), after.size(), after) != 0)
      continue;
    const std::string inserted =
        text.substr(before.size(), text.size() - before.size() - after.size());
    // The translation has the same one conversion (MessagePattern checks it).
    return FillPattern(MessagePattern(message.Name, pattern), {inserted});
  }
  return text;
}

}  // namespace

MessageBoxRequest TranslateMessage(const MessageBoxRequest& request) {
  MessageBoxRequest translated = request;
  translated.Caption = Translate(request.Caption);
  translated.Text = Translate(request.Text);
  return translated;
}

}  // namespace korval
