#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace korval {
namespace {

class RealClock final : public Clock {
 public:
  Date Today() const override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
  }
  void Sleep(int milliseconds) const override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

const Clock& SystemClock() {
  static const RealClock clock;
  return clock;
}

}  // namespace korval
