#include "support/vectors.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace valkoran::test {

std::vector<std::vector<std::string>> ReadTsv(const std::string& name) {
  std::ifstream in(std::string(VALKORAN_VECTORS) + "/" + name);
  EXPECT_TRUE(in.good()) << "missing vector file " << name;
  std::vector<std::vector<std::string>> rows;
  std::string line, cell;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("turns\t", 0) == 0) continue;
    std::vector<std::string> cells;
    std::stringstream ss(line);
    while (std::getline(ss, cell, '\t')) cells.push_back(cell);
    rows.push_back(cells);
  }
  return rows;
}

uint32_t Bits(float f) { return std::bit_cast<uint32_t>(f); }
float FromBits(uint32_t bits) { return std::bit_cast<float>(bits); }

float VectorFloat(const std::string& cell) {
  auto slash = cell.find('/');
  if (slash == std::string::npos) return std::strtof(cell.c_str(), nullptr);
  float f = FromBits(static_cast<uint32_t>(std::stoul(cell.substr(slash + 1), nullptr, 16)));
  EXPECT_EQ(std::strtof(cell.substr(0, slash).c_str(), nullptr), f) << cell;
  return f;
}

std::string TempDir() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  auto p = std::filesystem::temp_directory_path() /
           ("valkoran-test-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name());
  std::filesystem::remove_all(p);
  std::filesystem::create_directories(p);
  return p.string();
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace valkoran::test
