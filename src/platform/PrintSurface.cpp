#include "platform/PrintSurface.h"

namespace korval {

int PrinterToSelect(const std::vector<std::string>& printers, int index,
                    const std::function<std::string()>& defaultName) {
  const int count = static_cast<int>(printers.size());
  if (index >= 0 && index < count) return index;
  const std::string name = defaultName();
  for (int i = 0; i < count; ++i) {
    if (printers[static_cast<std::size_t>(i)] == name) return i;
  }
  return count - 1;
}

}  // namespace korval
