#pragma once

namespace korval {

struct Date {
  int Year = 1970;
  int Month = 1;
  int Day = 1;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual Date Today() const = 0;
  // Blocks the calling thread; the print job pauses between separate jobs.
  virtual void Sleep(int milliseconds) const = 0;
};

const Clock& SystemClock();

}  // namespace korval
