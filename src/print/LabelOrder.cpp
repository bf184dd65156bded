#include "print/LabelOrder.h"

#include <algorithm>

#include "host_api/HostContext.h"

namespace korval {

long long LabelsOfJob(const HostContext& host) {
  long long labels = 0;
  for (int i = 0; i < host.GoodsCount(); ++i) {
    const std::optional<GoodsRecord> goods = host.Goods(i);
    labels += goods ? std::max<int>(1, goods->Pocet()) : 1;
  }
  return labels;
}

std::vector<int> FirstSheetItems(int positions,
                                 const std::function<std::optional<int>(int)>& countOf) {
  std::vector<int> items;
  int current = -1;
  int next = 0;
  int printed = 0;
  int wanted = 0;
  for (int position = 0; position < positions; ++position) {
    // The next item is due at the start and once the current one has all
    // its labels; a count of 0 is still one label, as in the print walk.
    if (printed == 0 || printed >= wanted) {
      const std::optional<int> count = countOf(next);
      if (!count) break;
      current = next;
      wanted = *count;
      printed = 0;
      ++next;
    }
    ++printed;
    items.push_back(current);
  }
  return items;
}

}  // namespace korval
