// Any bytes as a saved file; a game the loader accepts also plays on two
// turns without hanging and saves and loads back equal afterwards.
#include <cstddef>
#include <cstdint>

#include "target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace valkoran;
  static const edge::CheckOptions options = fuzz::PlayOptions();
  fuzz::Expect(edge::CheckGameText(std::string(reinterpret_cast<const char*>(data), size), options));
  return 0;
}
