// Helpers shared by the tests: the shared vectors, float bits, scratch files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace valkoran::test {

// Rows of a vector file (tab-separated; '#' lines and a header row skipped).
std::vector<std::vector<std::string>> ReadTsv(const std::string& name);
// "1.9983349/3fffc970": the float with those bits (the text must agree).
float VectorFloat(const std::string& cell);
uint32_t Bits(float f);
float FromBits(uint32_t bits);

std::string TempDir();  // a fresh scratch folder for the running test
std::string Slurp(const std::string& path);

}  // namespace valkoran::test
