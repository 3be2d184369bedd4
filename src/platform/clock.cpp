#include "platform/clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace qtx {

double SystemClock::seconds_since_midnight() {
  auto now = std::chrono::system_clock::now();
  std::time_t t = std::chrono::system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&t, &tm);
  auto frac = std::chrono::duration<double>(now.time_since_epoch()).count();
  frac -= std::floor(frac);
  return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + frac;
}

DateTime SystemClock::now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  DateTime d;
  d.year = tm.tm_year + 1900;
  d.month = tm.tm_mon + 1;
  d.day = tm.tm_mday;
  d.hour = tm.tm_hour;
  d.minute = tm.tm_min;
  d.second = tm.tm_sec;
  d.weekday = tm.tm_wday;
  return d;
}

void SystemClock::sleep_for(double seconds) {
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void delay(Clock& clock, double seconds) {
  constexpr double kDay = 86400.0;
  if (!(seconds > 0)) return;
  double start = clock.seconds_since_midnight();
  for (;;) {
    double elapsed = clock.seconds_since_midnight() - start;
    if (elapsed < 0) elapsed += kDay;  // the clock went past midnight
    if (elapsed >= seconds) return;
    // Short sleeps keep the wait close to the asked time without using the processor.
    clock.sleep_for(std::min(seconds - elapsed, 0.05));
  }
}

}  // namespace qtx
