// The device record and readings behind the golden data logs in tests/data: one reading every
// five seconds, with flows and pressures that go through every number format of a row.
#pragma once

#include "core/data_log.h"
#include "core/session.h"

namespace qtx::test {

DeviceRecord golden_record();
data_log::RateRow golden_rate_row(int i);  // i from 1
data_log::OcclRow golden_occl_row(int i);  // i from 1

}  // namespace qtx::test
