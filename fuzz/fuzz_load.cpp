// Any bytes as a saved file: the loader refuses them with a message, or the
// game it reads saves to the same bytes and loads back equal.
#include <cstddef>
#include <cstdint>

#include "target.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace valkoran;
  static const edge::CheckOptions options = [] {
    edge::CheckOptions o;
    o.play = false;
    return o;
  }();
  fuzz::Expect(edge::CheckGameText(std::string(reinterpret_cast<const char*>(data), size), options));
  return 0;
}
