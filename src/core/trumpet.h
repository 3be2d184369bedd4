// The trumpet analysis of one loaded rate data log: the volume series resampled every 30 or 60
// seconds over the analysis period, then, for each observation window of 2, 5, 11, 19 and 31
// minutes, the largest and smallest average rate of any placement of the window, and their
// errors against the base rate.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/session.h"

namespace qtx::trumpet {

// The observation windows in minutes, in the order of trumpet_results(1 to 5).
inline constexpr std::array<int16_t, 5> kWindows = {2, 5, 11, 19, 31};

// What one analysis works with (members of the trumpet window), rebuilt by every analysis.
struct TrumpetWork {
  std::vector<double> sample_time;    // minutes, per sample, from volume and average flow
  std::vector<double> interp_volume;  // ml every interval from analysis_start_min; 0 to interp_count - 1 valid
  int16_t interp_count = 0;
  bool too_few_points = false;
  std::array<double, 6> max_rate{};  // ml/h, index 0-4 for the five windows
  std::array<double, 6> min_rate{};
};

// The value at x of the straight line through (x1, y1) and (x2, y2); y2 when x1 = x2.
double interpolate(double x, double y1, double y2, double x1, double x2);

// Resamples the volume series every `interval` seconds from `start_min`; fills sample_time,
// interp_volume, interp_count and too_few_points. The series stops at the end of its array when
// the sample times do not increase.
void getInterpolatedData(const LogSamples& log, int16_t start_min, int16_t end_min, double interval,
                         TrumpetWork& work);

// Slides the five windows over the resampled series; fills max_rate, min_rate and
// results[1..5] (errors rounded to 32-bit floats, all 0 when the base rate is 0).
void calcTrumpetError(const LogSamples& log, double base_rate, double interval, TrumpetWork& work,
                      std::array<TrumpetResult, 6>& results);

// The average figures: the next-to-last sample's average flow and its error in percent against
// the base rate (0 when the base rate is 0).
struct TrumpetAverages {
  double avg_rate = 0;
  double avg_err_pct = 0;
};
TrumpetAverages trumpet_averages(const LogSamples& log, double base_rate);

}  // namespace qtx::trumpet
