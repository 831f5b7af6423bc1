// The input picks a game part-way through, one or two of its fields and for
// each an edge value, a number near the field's own or any bytes; the edited
// file then goes through the whole check.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

#include "edge/edgecase.h"
#include "store/savefile.h"
#include "target.h"

namespace {

using namespace valkoran;

struct Board {
  edge::BaseGame base;
  edge::Layout layout;
};

const Board& BoardOf(int variant) {
  static std::array<std::unique_ptr<Board>, edge::kBaseVariants> boards;
  auto& b = boards.at(static_cast<size_t>(variant));
  if (!b) {
    b = std::make_unique<Board>();
    b->base = edge::MakeBaseGame(variant);
    auto layout = edge::MapFields(WriteGameText(b->base.state));
    if (!layout) fuzz::Found("base game " + std::to_string(variant) + " does not have the saved-game layout");
    b->layout = std::move(*layout);
  }
  return *b;
}

std::string AsText(double v, bool plain) {
  if (plain) return Str(v);  // as the game writes it (a 32-bit value)
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

// A number near the field's own value, or any 32-bit or 64-bit value.
std::string NearNumber(const std::string& line, FuzzedDataProvider& in) {
  double v = Val(line);
  switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0: v += in.ConsumeIntegralInRange<int>(-3, 3); break;
    case 1: v += 0.05 * in.ConsumeIntegralInRange<int>(-40, 40); break;
    case 2: v *= in.ConsumeBool() ? 2 : 0.5; break;
    case 3: v = -v; break;
    case 4: {
      const uint32_t bits = in.ConsumeIntegral<uint32_t>();
      float f;
      std::memcpy(&f, &bits, sizeof f);
      v = f;
      break;
    }
    case 5: v = std::nextafter(static_cast<float>(v), in.ConsumeBool() ? 1e38f : -1e38f); break;
    case 6: v = in.ConsumeIntegral<int32_t>(); break;
    default: v = in.ConsumeFloatingPoint<double>(); break;
  }
  if (!std::isfinite(v)) return in.ConsumeBool() ? " 1E39" : "-1E39";
  return AsText(v, in.ConsumeBool());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const edge::CheckOptions options = fuzz::PlayOptions();
  FuzzedDataProvider in(data, size);
  const int variant = in.ConsumeIntegralInRange<int>(0, edge::kBaseVariants - 1);
  const Board& board = BoardOf(variant);
  const edge::Layout& layout = board.layout;
  std::vector<edge::Edit> edits;
  for (int n = in.ConsumeIntegralInRange<int>(1, 2); n > 0; --n) {
    const size_t field = in.ConsumeIntegralInRange<size_t>(0, layout.fields.size() - 1);
    const edge::Field& f = layout.fields[field];
    const auto& values = edge::EdgeValues(f.kind);
    std::string value;
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
      case 3:
        if (f.kind == edge::Kind::Number) {
          value = NearNumber(layout.lines[f.line], in);
        } else {
          value = in.ConsumeRandomLengthString(f.kind == edge::Kind::Name ? 300 : 20000);
        }
        break;
      default: value = values[in.ConsumeIntegralInRange<size_t>(0, values.size() - 1)]; break;
    }
    edits.push_back({field, std::move(value)});
  }
  const std::string text = edge::Apply(layout, edits);
  fuzz::Expect(edge::CheckGameText(text, options),
               "base game " + std::to_string(variant) + " with " + edge::Describe(layout, edits));
  return 0;
}
