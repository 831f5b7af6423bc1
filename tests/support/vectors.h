// Reading the shared test vectors (tab-separated, '#' comments).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace valkoran::test {

std::vector<std::vector<std::string>> ReadTsv(const std::string& name);

// "1.9983349/3fffc970" -> the float with those bits (the text must agree).
float VectorFloat(const std::string& cell);
uint32_t Bits(float f);
float FromBits(uint32_t bits);

// A scratch folder of its own for one test.
std::string TempDir();

}  // namespace valkoran::test
