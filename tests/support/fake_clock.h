// A clock the test sets; waits advance it at once instead of sleeping.
#pragma once

#include <functional>
#include <vector>

#include "platform/clock.h"

namespace qtx::test {

class FakeClock : public Clock {
 public:
  double seconds_since_midnight() override { return seconds; }
  DateTime now() override;
  void sleep_for(double s) override;

  // Advances the time by `s` seconds, past midnight into the next day.
  void advance(double s);

  double seconds = 12 * 3600.0;  // noon
  DateTime date{2026, 12, 8, 12, 0, 0, 2};
  std::vector<double> sleeps;
  // Runs at each wait after the time has moved on (a test lets the other end of a line catch up).
  std::function<void(double)> on_sleep;
};

}  // namespace qtx::test
