#include "barcode/BarcodeEncoder.h"

#include "barcode/BarcodeError.h"
#include "barcode/Code11Encoder.h"
#include "barcode/EanUpcEncoder.h"
#include "barcode/Interleaved2of5Encoder.h"

namespace korval {

BarcodeElementList BuildElements(std::string_view code, TBarCodeType type,
                                 const BarcodeOptions& options) {
  if (code.empty()) return {};
  switch (type) {
    case bcEAN_13:
      return EncodeEan13(code);
    case bcEAN_8:
      return EncodeEan8(code);
    case bcUPC_A:
      return EncodeUpcA(code);
    case bcUPC_E:
      return EncodeUpcE(code);
    case bcInterleaved2of5:
      return EncodeInterleaved2of5(code, options.AddCheckChar, options.BarNarrowToWideRatio);
    case bcCode11:
      return EncodeCode11(code, options.AddCheckChar, options.BarNarrowToWideRatio);
    case bcCodabar:
      throw BarcodeError("Codabar is not supported");
    case bcCode39:
      throw BarcodeError("Code 39 is not supported");
    case bcCode93:
      throw BarcodeError("Code 93 is not supported");
    case bcCode128:
      throw BarcodeError("Code 128 is not supported");
  }
  throw BarcodeError("unknown barcode type");
}

}  // namespace korval
