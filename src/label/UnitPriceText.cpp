#include "label/UnitPriceText.h"

#include "platform/Text.h"

namespace korval {

std::string UnitPriceText::Substitute(const std::string& pattern, const std::string& text1,
                                      const std::string& text2, const std::string& text3) {
  if (!hasWritten_ || text3 != written_) ownText3_ = text3;
  std::string text = ReplaceAll(pattern, "%TEXT1%", text1);
  text = ReplaceAll(text, "%TEXT2%", text2);
  written_ = ReplaceAll(text, "%TEXT3%", ownText3_);
  hasWritten_ = true;
  return written_;
}

}  // namespace korval
