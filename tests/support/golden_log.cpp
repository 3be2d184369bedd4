#include "support/golden_log.h"

#include "support/rate_log_files.h"

namespace qtx::test {

DeviceRecord golden_record() {
  DeviceRecord r;
  r.manufacturer = "Acme Medical";
  r.model = "Volumetric Pump VP-2000X";  // wider than its 22 places
  r.serial_no = "SN12345";
  r.control_no = "CTRL-0001";
  r.department = "Biomed";
  r.location = "Ward 7";
  r.set_rate_text = "250";
  r.comment_text = "Annual check";
  return r;
}

data_log::RateRow golden_rate_row(int i) {
  static const double flows[] = {5, 42.5, 250, 1500, -3.25, 9.9994, 99.994, 0.123, 123.456, 1234.4};
  static const double pressures[] = {12, 12.5, 0, 3, 150, 7.25};
  return rate_row(5 * i, flows[(i - 1) % 10], 98.7001 + i * 0.013, i * 0.1501 + 0.00002, pressures[(i - 1) % 6]);
}

data_log::OcclRow golden_occl_row(int i) {
  int t = 5 * i;
  data_log::OcclRow r;
  r.minutes = static_cast<int16_t>(t / 60);
  r.seconds = static_cast<int16_t>(t % 60);
  r.psi = i * 0.2345 + 0.0001;
  r.mmhg = r.psi * 51.715;
  return r;
}

}  // namespace qtx::test
