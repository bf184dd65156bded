#pragma once

#include <string>

namespace korval {

// Text 3 as the unit price: the goods item's template (CenaZaJednotku) with
// "%TEXT1%", "%TEXT2%" and "%TEXT3%" replaced by the three free texts. The
// result is written into Text 3 itself, so "%TEXT3%" has to mean the text 3
// the user gave (typed, or loaded with the format), not what the last
// substitution left there: every refresh of the label binds the goods item
// again, and "%TEXT3% za kg" would otherwise grow by " za kg" each time.
class UnitPriceText {
 public:
  // The text for text 3, given the template and the three edits as they
  // stand. text3 is taken as the user's own text unless it is the very text
  // this object put there last.
  std::string Substitute(const std::string& pattern, const std::string& text1,
                         const std::string& text2, const std::string& text3);

 private:
  std::string ownText3_;
  std::string written_;
  bool hasWritten_ = false;
};

}  // namespace korval
