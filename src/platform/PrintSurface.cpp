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

int IndexAfterRefresh(const std::vector<std::string>& printers, const std::string& selectedName) {
  if (selectedName.empty()) return -1;
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i] == selectedName) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace korval
