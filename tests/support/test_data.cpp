#include "support/test_data.h"

#include <fstream>
#include <sstream>

namespace qtx::test {

std::string read_test_data(const std::string& name) {
  std::ifstream in(std::string(QTX_TEST_DATA) + "/" + name, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace qtx::test
