#pragma once

#include <string>

#include "platform/PrintSurface.h"

namespace korval {

// The printers' offsets in "etikety.ini" beside the printer of each format:
// section "SETUP", keys printer name + "_POSUN_X_MM" and "_POSUN_Y_MM", the
// millimetres written with a decimal point and read with a point or a comma.
// A printer without keys, or with a value that does not parse, prints
// unmoved. Readers that do not know the keys pass over them.
class PrintOffsetFile final : public PrintOffsetStore {
 public:
  explicit PrintOffsetFile(std::string fileName = ".\\etikety.ini");
  PrintOffset Offset(const std::string& printer) const override;
  // A zero offset removes the printer's keys rather than storing zeros.
  void SetOffset(const std::string& printer, const PrintOffset& offset) override;

 private:
  std::string fileName_;
};

}  // namespace korval
