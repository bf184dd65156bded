#pragma once

#include <stdexcept>

namespace korval {

// A code the chosen symbology cannot carry (a letter in an EAN code, say), or
// a symbology this system does not draw. Building the element list throws it;
// the barcode items catch it and clear their code.
class BarcodeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace korval
