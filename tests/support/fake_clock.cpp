#include "support/fake_clock.h"

#include <cmath>

namespace qtx::test {

DateTime FakeClock::now() {
  DateTime d = date;
  int whole = static_cast<int>(std::floor(seconds));
  d.hour = whole / 3600;
  d.minute = whole / 60 % 60;
  d.second = whole % 60;
  return d;
}

void FakeClock::sleep_for(double s) {
  sleeps.push_back(s);
  advance(s);
  if (on_sleep) on_sleep(s);
}

void FakeClock::advance(double s) {
  seconds += s;
  while (seconds >= 86400.0) {
    seconds -= 86400.0;
    // The next day; month lengths do not matter to the tests.
    date.day += 1;
    date.weekday = (date.weekday + 1) % 7;
  }
}

}  // namespace qtx::test
