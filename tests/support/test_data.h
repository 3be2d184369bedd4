// The files of tests/data.
#pragma once

#include <string>

namespace qtx::test {

// A file of tests/data, whole, as bytes.
std::string read_test_data(const std::string& name);

}  // namespace qtx::test
