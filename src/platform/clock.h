// The clock: seconds since midnight, the date and the time of day, and the program's blocking
// wait.
#pragma once

namespace qtx {

struct DateTime {
  int year = 2000, month = 1, day = 1;  // month 1-12
  int hour = 0, minute = 0, second = 0;
  int weekday = 6;  // 0 Sunday ... 6 Saturday
};

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since midnight with fractions; back to 0 at midnight.
  virtual double seconds_since_midnight() = 0;
  virtual DateTime now() = 0;
  // Blocks the calling thread, handling no events.
  virtual void sleep_for(double seconds) = 0;
};

class SystemClock : public Clock {
 public:
  double seconds_since_midnight() override;
  DateTime now() override;
  void sleep_for(double seconds) override;
};

// delay(seconds): blocks the whole program for `seconds`, like the analyser exchanges expect,
// reading the seconds-since-midnight clock until that time has passed. It sleeps between the
// readings instead of spinning, and a wait that spans midnight ends all the same.
void delay(Clock& clock, double seconds);

}  // namespace qtx
