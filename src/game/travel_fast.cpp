// The fast travel search.
//
// The rules try every course c and every step t and compare the hundredths
// of two reduced angles. Two facts make this cheap without changing one bit
// of the answer:
//
// 1. Reducing an angle (subtract 6.283184 in double, round to 32 bits, repeat)
//    depends, inside each binade, only on the angle's position modulo a fixed
//    whole number of units. So the reduction takes a few integer operations,
//    and the angles that reduce into one hundredth form, per binade, a short
//    list of intervals repeating with that period. The lists are built once.
// 2. For a fixed t > 0 the fleet's unreduced angle never decreases as the
//    course grows, so the courses landing in one interval of angles are a
//    contiguous run, found with a division and one or two exact evaluations.
//
// The search walks t upward and asks, per t, which course lands in the
// target's hundredth, stopping at the first t that has one. Which course the
// rules then report is worked out at DistCalcFastWithin.

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

#include "game/travel.h"

namespace valkoran {

namespace {

// ---------------------------------------------------------------------------
// Reduction by position.
//
// Binade e holds the 32-bit values [2^e, 2^(e+1)), spaced u = 2^(e-23) apart;
// count values in units of u. Take a value a (a multiple of u) with
// a - 6.283184 inside binade e. Both roundings of one step (the double
// subtraction, then the 32-bit store) happen on grids a lies on, so the step
// removes the same amount from every such a: 6.283184 rounded onto the grid,
// Q units. (A tie would make the amount depend on a's parity; there is none,
// and Build checks that.) Writing Amin for the first value, in units, whose
// step stays in binade e (a - 6.283184 >= 2^e), every value X >= Amin steps
// to X - Q, and values go on stepping by Q until they fall into the exit
// window [Amin - Q, Amin). Where a value leaves the binade therefore depends
// only on its position P = (X - (Amin - Q)) mod Q.
//
// From the exit window, the next step lands one binade down, where the same
// holds with that binade's amounts (units halve, so X' = 2X - Q'). This is a
// "level": the values whose next step subtracts in binade e, i.e. angles in
// [2^e + 6.283184, 2^(e+1) + 6.283184). Below level 5 (angles under
// 2^5 + 6.283184) the rule runs step by step, at most six steps.

constexpr int kFirstLevel = 4;  // the exit window of level 4 is handed to the rule
constexpr int kLastLevel = 26;  // angles below 2^27 + 6.283184
constexpr uint32_t kBinadeUnits = 1u << 23;
constexpr int kTopHundredth = 628;  // reduced angles lie in (0, 6.283184]

struct Span {
  uint32_t lo, hi;  // positions, inclusive
};

struct FloatSpan {
  float lo, hi;
};

struct Level {
  double unit = 0;
  uint32_t q = 0;     // units one step removes
  double perQ = 0;    // 1/q, to find a period without dividing
  uint32_t amin = 0;  // first value (in units) whose step stays in this level
  uint32_t low = 0;   // amin - q: the exit window is [low, amin)
  // Positions whose angle reduces into hundredth h: spans[first[h] .. first[h+1]).
  std::vector<Span> spans;
  std::array<uint32_t, kTopHundredth + 2> first{};
  // The same spans in order of position, for the opposite question (which
  // hundredth a position has): where each starts, and its hundredth; and
  // for each block of 2^shift positions the span its first position is in.
  std::vector<uint32_t> starts;
  std::vector<int16_t> startHundredth;
  int shift = 0;
  std::vector<uint32_t> blockSpan;
};

struct Tables {
  bool usable = false;
  float kAbove = 0;  // the smallest 32-bit value above 6.283184
  float baseEnd = 0;  // the largest value the rule reduces step by step
  std::vector<FloatSpan> baseSpans;  // (kAbove .. baseEnd) by hundredth, as floats
  std::array<uint32_t, kTopHundredth + 2> baseFirst{};
  std::array<FloatSpan, kTopHundredth + 1> unreduced{};  // angles not reduced, by hundredth (lo > hi: none)
  std::array<Level, kLastLevel + 1> level;
};

uint32_t BitsOf(float f) { return std::bit_cast<uint32_t>(f); }
// For a positive normal x.
double PowerOfTwoAtMost(double x) {
  return std::bit_cast<double>(std::bit_cast<uint64_t>(x) & 0x7ff0000000000000ULL);
}
float FloatOf(uint32_t b) { return std::bit_cast<float>(b); }

long long FloorDiv(long long n, long long d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }
long long CeilDiv(long long n, long long d) { return -FloorDiv(-n, d); }

int StepsBySubtraction(float a) {
  int n = 0;
  for (; a > kTwoPi; ++n) a = Sng(a - kTwoPi);
  return n;
}

// Sorts spans and joins those that touch.
void Merge(std::vector<Span>& v) {
  std::sort(v.begin(), v.end(), [](const Span& a, const Span& b) { return a.lo < b.lo; });
  size_t out = 0;
  for (const Span& s : v) {
    if (out > 0 && s.lo <= v[out - 1].hi + 1) {
      v[out - 1].hi = std::max(v[out - 1].hi, s.hi);
    } else {
      v[out++] = s;
    }
  }
  v.resize(out);
}

// Fills `level` with the per-hundredth spans given as one list per hundredth,
// and checks that they tile the exit window: every position exactly once.
bool Store(Level& level, std::vector<std::vector<Span>>& byH) {
  std::vector<std::pair<Span, int16_t>> byStart;
  for (int h = 0; h <= kTopHundredth; ++h) {
    Merge(byH[h]);
    level.first[h] = static_cast<uint32_t>(level.spans.size());
    for (const Span& s : byH[h]) {
      level.spans.push_back(s);
      byStart.push_back({s, static_cast<int16_t>(h)});
    }
  }
  level.first[kTopHundredth + 1] = static_cast<uint32_t>(level.spans.size());
  std::sort(byStart.begin(), byStart.end(), [](const auto& a, const auto& b) { return a.first.lo < b.first.lo; });
  uint32_t next = 0;
  for (const auto& [span, h] : byStart) {
    if (span.lo != next) return false;
    next = span.hi + 1;
    level.starts.push_back(span.lo);
    level.startHundredth.push_back(h);
  }
  if (next != level.q) return false;
  while ((level.q >> level.shift) > 2048) ++level.shift;
  size_t k = 0;
  for (uint32_t b = 0; b <= (level.q - 1) >> level.shift; ++b) {
    while (k + 1 < level.starts.size() && level.starts[k + 1] <= b << level.shift) ++k;
    level.blockSpan.push_back(static_cast<uint32_t>(k));
  }
  return true;
}

// Angles up to 6.283184 are not reduced: the floats whose own hundredth is h
// (kAbove is the smallest float above 6.283184). lo > hi when there are none.
FloatSpan UnreducedWindow(long long h, float kAbove) {
  auto firstAtLeast = [](long long hh) {  // the smallest float whose hundredth is hh or more
    float x = Sng(static_cast<double>(hh) / 100);
    while (Hundredth(x) >= hh) x = std::nextafter(x, -INFINITY);
    while (Hundredth(x) < hh) x = std::nextafter(x, INFINITY);
    return x;
  };
  if (h > kTopHundredth) return {1, 0};
  return {firstAtLeast(h), std::min(std::nextafter(firstAtLeast(h + 1), -INFINITY), std::nextafter(kAbove, 0.0f))};
}

// Builds the tables, checking every assumption the shortcuts rest on; if one
// failed, `usable` stays false and every search runs the rules' own loop.
Tables Build() {
  Tables T;
  for (int e = kFirstLevel; e <= kLastLevel; ++e) {
    Level& L = T.level[e];
    L.unit = std::ldexp(1.0, e - 23);
    L.amin = kBinadeUnits + static_cast<uint32_t>(std::ceil(kTwoPi / L.unit));
    // What one step removes, measured where it stays in the binade: at the
    // top, its neighbour (a tie would alternate with parity) and the bottom.
    auto removed = [&](uint32_t x) {
      const float a = Sng(x * L.unit);
      return (static_cast<double>(a) - Sng(a - kTwoPi)) / L.unit;
    };
    const double q = removed(2 * kBinadeUnits - 1);
    if (q < 1 || q != std::floor(q) || q != removed(2 * kBinadeUnits - 2) || q != removed(L.amin) ||
        q != removed(L.amin + 1))
      return T;
    L.q = static_cast<uint32_t>(q);
    L.perQ = 1 / q;
    L.low = L.amin - L.q;
    if (L.low < kBinadeUnits) return T;  // the exit window must lie inside the binade
  }
  // A level's exit window must land inside the level below: at or above its
  // exit window and below its upper end.
  for (int e = kFirstLevel + 1; e <= kLastLevel; ++e) {
    const Level &hi = T.level[e], &lo = T.level[e - 1];
    if (2 * hi.low - lo.q < lo.low || 2 * (hi.amin - 1) - lo.q >= lo.amin + kBinadeUnits) return T;
  }

  // Below level 5: every value from just above 6.283184 up to the start of
  // level 5, by bisection on the rule itself. Within one count of steps (a
  // "sheet") the reduced angle never decreases, so each sheet splits into one
  // run per hundredth.
  T.kAbove = Sng(kTwoPi);
  if (T.kAbove <= kTwoPi) T.kAbove = std::nextafter(T.kAbove, 100.0f);
  for (int h = 0; h <= kTopHundredth; ++h) T.unreduced[h] = UnreducedWindow(h, T.kAbove);
  const Level& L5 = T.level[5];
  T.baseEnd = Sng((L5.amin - 1) * L5.unit);
  std::vector<std::vector<FloatSpan>> base(kTopHundredth + 1);
  auto lastWith = [](uint32_t lo, uint32_t hi, auto&& stillIn) {  // last b in [lo, hi] with stillIn(b); stillIn(lo) holds
    while (lo < hi) {
      const uint32_t mid = lo + (hi - lo + 1) / 2;
      if (stillIn(mid)) lo = mid;
      else hi = mid - 1;
    }
    return lo;
  };
  const uint32_t baseLast = BitsOf(T.baseEnd);
  for (uint32_t s = BitsOf(T.kAbove); s <= baseLast;) {
    const int n = StepsBySubtraction(FloatOf(s));
    const uint32_t sheetEnd = lastWith(s, baseLast, [&](uint32_t b) { return StepsBySubtraction(FloatOf(b)) <= n; });
    for (uint32_t a = s; a <= sheetEnd;) {
      const long long h = Hundredth(ReduceBySubtraction(FloatOf(a)));
      if (h < 0 || h > kTopHundredth) return T;
      const uint32_t b =
          lastWith(a, sheetEnd, [&](uint32_t x) { return Hundredth(ReduceBySubtraction(FloatOf(x))) <= h; });
      base[h].push_back({FloatOf(a), FloatOf(b)});
      a = b + 1;
    }
    s = sheetEnd + 1;
  }
  for (int h = 0; h <= kTopHundredth; ++h) {
    T.baseFirst[h] = static_cast<uint32_t>(T.baseSpans.size());
    T.baseSpans.insert(T.baseSpans.end(), base[h].begin(), base[h].end());
  }
  T.baseFirst[kTopHundredth + 1] = static_cast<uint32_t>(T.baseSpans.size());

  // Level 4: its exit window [16, 22.28) read off the runs above.
  std::vector<std::vector<Span>> byH(kTopHundredth + 1);
  {
    Level& L = T.level[kFirstLevel];
    for (int h = 0; h <= kTopHundredth; ++h) {
      for (const FloatSpan& f : base[h]) {
        const double lo = std::max(std::ceil(f.lo / L.unit), static_cast<double>(L.low));
        const double hi = std::min(std::floor(f.hi / L.unit), static_cast<double>(L.amin - 1));
        if (lo <= hi) byH[h].push_back({static_cast<uint32_t>(lo) - L.low, static_cast<uint32_t>(hi) - L.low});
      }
    }
    if (!Store(L, byH)) return T;
  }
  // Level e from level e-1: position P goes to (2P + c) mod Q' with
  // c = 2*low - Q' - low', so each span below pulls back to at most one span
  // per wrap of 2P + c, which passes the modulus at most twice.
  for (int e = kFirstLevel + 1; e <= kLastLevel; ++e) {
    Level& L = T.level[e];
    const Level& B = T.level[e - 1];
    const long long c = 2LL * L.low - B.q - B.low;
    const long long jFirst = FloorDiv(c, B.q), jLast = FloorDiv(c + 2LL * (L.q - 1), B.q);
    for (int h = 0; h <= kTopHundredth; ++h) {
      byH[h].clear();
      for (uint32_t k = B.first[h]; k < B.first[h + 1]; ++k) {
        for (long long j = jFirst; j <= jLast; ++j) {
          const long long lo = std::max(CeilDiv(B.spans[k].lo + j * B.q - c, 2), 0LL);
          const long long hi = std::min(FloorDiv(B.spans[k].hi + j * B.q - c, 2), L.q - 1LL);
          if (lo <= hi) byH[h].push_back({static_cast<uint32_t>(lo), static_cast<uint32_t>(hi)});
        }
      }
    }
    if (!Store(L, byH)) return T;
  }
  T.usable = true;
  return T;
}

const Tables& Get() {
  static const Tables tables = Build();
  return tables;
}

// The level of an angle above T.baseEnd and below kFastAngleLimit, and the
// angle in that level's units.
void Locate(const Tables& T, float a, int& e, uint32_t& x) {
  const uint32_t bits = BitsOf(a);
  const int binade = static_cast<int>(bits >> 23) - 127;
  const uint32_t units = (bits & (kBinadeUnits - 1)) | kBinadeUnits;
  if (units >= T.level[binade].amin) {
    e = binade, x = units;
  } else {  // a - 6.283184 already lies one binade down
    e = binade - 1, x = 2 * units;
  }
}

// Hundredth(ReduceAngle(a)) for a above T.baseEnd and below kFastAngleLimit,
// read off the level's spans instead of reducing.
long long ReducedHundredth(const Tables& T, float a) {
  int e;
  uint32_t x;
  Locate(T, a, e, x);
  const Level& L = T.level[e];
  const uint32_t p = (x - L.low) % L.q;
  size_t k = L.blockSpan[p >> L.shift];
  while (k + 1 < L.starts.size() && L.starts[k + 1] <= p) ++k;
  return L.startHundredth[k];
}

// (x - low) / q for x >= low, the estimate by reciprocal set right.
uint32_t Period(const Level& L, uint32_t x) {
  const uint32_t d = x - L.low;
  auto j = static_cast<uint32_t>(d * L.perQ);
  if (j * L.q > d) --j;
  else if ((j + 1) * L.q <= d) ++j;
  return j;
}

// Calls visit(lo, hi) for every window of angles in [from, to] that reduce
// into hundredth h, in increasing order, until visit returns true. Every
// float in a window has hundredth h, every float of [from, to] outside the
// windows has another. Requires to < kFastAngleLimit.
template <class Visit>
bool ForEachWindow(const Tables& T, long long h, double from, double to, Visit&& visit) {
  if (!(from <= to)) return false;
  if (from <= T.kAbove) {
    const FloatSpan w = h >= 0 && h <= kTopHundredth ? T.unreduced[h] : UnreducedWindow(h, T.kAbove);
    const double a = std::max<double>(w.lo, from), b = std::min<double>(w.hi, to);
    if (a <= b && visit(a, b)) return true;
  }
  if (h < 0 || h > kTopHundredth || to < T.kAbove) return false;
  if (from <= T.baseEnd) {
    for (uint32_t k = T.baseFirst[h]; k < T.baseFirst[h + 1]; ++k) {
      const double a = std::max<double>(T.baseSpans[k].lo, from), b = std::min<double>(T.baseSpans[k].hi, to);
      if (a <= b && visit(a, b)) return true;
    }
  }
  // An angle in binade b belongs to level b or b - 1.
  for (int e = std::max(kFirstLevel + 1, from > 64 ? std::ilogb(from) - 1 : 0); e <= kLastLevel; ++e) {
    const Level& L = T.level[e];
    const double first = L.amin, last = L.amin + (kBinadeUnits - 1.0);
    if (to < first * L.unit) break;
    if (L.first[h] == L.first[h + 1]) continue;  // high levels hold fewer positions than hundredths
    // [from, to] in units, within the level (positive, so truncation floors).
    const double xa = std::max(first, from / L.unit), xb = std::min(last, to / L.unit);
    if (xa > xb) continue;
    const auto b = static_cast<uint32_t>(xb);
    auto a = static_cast<uint32_t>(xa);
    a += a < xa;
    // Position P of period j covers the values low + j*q + P.
    for (uint32_t j = Period(L, a), jEnd = Period(L, b); j <= jEnd; ++j) {
      const uint32_t start = L.low + j * L.q;
      for (uint32_t k = L.first[h]; k < L.first[h + 1]; ++k) {
        const uint32_t lo = std::max(start + L.spans[k].lo, a), hi = std::min(start + L.spans[k].hi, b);
        if (lo <= hi && visit(lo * L.unit, hi * L.unit)) return true;
      }
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Courses: the loop variable of the rules, a float accumulating c + step.

std::vector<float> CoursesFor(float step, size_t cap) {
  std::vector<float> c;
  const float last = Sng(9.424776);
  for (float x = Sng(-6.283184); x <= last; x = Sng(static_cast<double>(x) + step)) {
    if (c.size() == cap) return {};  // a step too small to finish: leave it to the rules' loop
    c.push_back(x);
  }
  return c;
}

// One search's fixed values, with the rules' arithmetic for both angles.
class Search {
 public:
  Search(const Tables& T, const GameState& s, int from, int to, const std::vector<float>& courses)
      : T_(T),
        c_(courses.data()),
        n_(static_cast<int>(courses.size())),
        k_(s.WorldTreasure[from] == kDoubleFuel ? 2 : 1),
        orbit8_(s.WorldOrbit[kHomeRing]),
        orbitFrom_(s.WorldOrbit[from]),
        spinFrom_(s.WorldSpin[from]),
        angleFrom_(s.WorldAngle[from]),
        spinTo_(s.WorldSpin[to]),
        angleTo_(s.WorldAngle[to]),
        step_(n_ > 1 ? (static_cast<double>(c_[n_ - 1]) - c_[0]) / (n_ - 1) : 1),
        courseReach_(std::max(std::fabs(c_[0]), std::fabs(c_[n_ - 1]))) {}

  // Written exactly as the rules' search writes it (same operations, same order).
  float FleetAngle(long long t, int i) const {
    const double td = static_cast<double>(t);
    return Sng(td * k_ * c_[i] * orbit8_ / (orbitFrom_ * 520) + td * spinFrom_ + angleFrom_);
  }
  float TargetAngle(long long t) const {
    const double td = static_cast<double>(t);
    return Sng(td * spinTo_ + angleTo_);
  }

  // The first (or the last) course, by index, that meets the target at step
  // t; -1 when none does.
  int Meeting(long long t, bool last) const {
    const float target = TargetAngle(t);
    const long long h = target > T_.baseEnd && target < kFastAngleLimit ? ReducedHundredth(T_, target)
                                                                        : Hundredth(ReduceAngle(target));
    if (t == 0) {
      // Every course term is a zero: all courses share the source's angle.
      if (Hundredth(ReduceAngle(FleetAngle(0, 0))) != h) return -1;
      return last ? n_ - 1 : 0;
    }
    // The stored angle of course c lies within `margin` of offset + slope*c:
    // half a unit in the last place of 32 bits from the store, and a few
    // parts in 2^53 from the double arithmetic (both bounded generously).
    const double td = static_cast<double>(t);
    const double slope = td * k_ * orbit8_ / (orbitFrom_ * 520);
    const double offset = td * spinFrom_ + angleFrom_;
    const double reach = std::fabs(offset) + slope * courseReach_ + 1;
    const double margin = PowerOfTwoAtMost(reach) * 0x1p-22 + reach * 1e-12;
    int found = -1;
    ForEachWindow(T_, h, offset + slope * c_[0] - margin, offset + slope * c_[n_ - 1] + margin,
                  [&](double lo, double hi) {
                    // Only courses within margin/slope of the window can land in it;
                    // stored angles never decrease along the courses, so the first
                    // (last) one that reaches (stays below) the window decides.
                    const double cLo = (lo - margin - offset) / slope, cHi = (hi + margin - offset) / slope;
                    const int ia = FirstCourseAbove(cLo - 1e-9 * (1 + std::fabs(cLo)), false);
                    const int ib = FirstCourseAbove(cHi + 1e-9 * (1 + std::fabs(cHi)), true) - 1;
                    if (!last) {
                      for (int i = ia; i <= ib; ++i) {
                        const float a = FleetAngle(t, i);
                        if (a > hi) break;
                        if (a >= lo) {
                          found = i;
                          return true;
                        }
                      }
                    } else {
                      for (int i = ib; i >= ia; --i) {
                        const float a = FleetAngle(t, i);
                        if (a < lo) break;
                        if (a <= hi) {
                          found = i;  // a later window may still hold a later course
                          break;
                        }
                      }
                    }
                    return false;
                  });
    return found;
  }

  float Course(int i) const { return c_[i]; }

 private:
  // The first course index with c >= x (strictly > x when `strict`); n_ if none.
  int FirstCourseAbove(double x, bool strict) const {
    auto below = [&](int i) { return strict ? c_[i] <= x : c_[i] < x; };
    if (!below(0)) return 0;
    if (below(n_ - 1)) return n_;
    int i = static_cast<int>((x - c_[0]) / step_);  // within a course or two of the answer
    i = std::clamp(i, 1, n_ - 1);
    while (i > 1 && !below(i - 1)) --i;
    while (i < n_ - 1 && below(i)) ++i;
    return i;
  }

  const Tables& T_;
  const float* c_;
  int n_;
  double k_, orbit8_, orbitFrom_, spinFrom_, angleFrom_, spinTo_, angleTo_;
  double step_, courseReach_;
};

}  // namespace

float ReduceAngle(float a) {
  if (!(a > kTwoPi)) return a;
  const Tables& T = Get();
  if (!T.usable || a <= T.baseEnd || !(a < kFastAngleLimit)) return ReduceBySubtraction(a);
  int e;
  uint32_t x;
  Locate(T, a, e, x);
  uint32_t p = (x - T.level[e].low) % T.level[e].q;
  for (; e > kFirstLevel; --e) {
    const Level &L = T.level[e], &B = T.level[e - 1];
    p = (2 * (L.low + p) - B.q - B.low) % B.q;
  }
  const Level& L4 = T.level[kFirstLevel];
  return ReduceBySubtraction(Sng((L4.low + p) * L4.unit));
}

std::vector<std::pair<float, float>> HundredthWindows(long long h, float from, float to) {
  std::vector<std::pair<float, float>> out;
  const Tables& T = Get();
  if (!T.usable || !(to < kFastAngleLimit)) return out;
  ForEachWindow(T, h, from, to, [&](double lo, double hi) {
    // Window ends are counted in the level's units, which at the top of a
    // level fall between floats: keep the floats inside.
    float a = Sng(lo), b = Sng(hi);
    if (a < lo) a = std::nextafter(a, INFINITY);
    if (b > hi) b = std::nextafter(b, -INFINITY);
    if (a <= b) out.emplace_back(a, b);
    return false;
  });
  return out;
}

Trip DistCalcFastWithin(const GameState& s, int from, int to, float step, long long lastStep) {
  const Tables& T = Get();
  static const std::vector<float> tenth = CoursesFor(0.1f, SIZE_MAX), fifth = CoursesFor(0.2f, SIZE_MAX);
  std::vector<float> other;
  const bool standard = BitsOf(step) == BitsOf(0.1f) || BitsOf(step) == BitsOf(0.2f);
  if (!standard) other = CoursesFor(step, 1 << 20);
  const std::vector<float>& courses = !standard ? other : BitsOf(step) == BitsOf(0.1f) ? tenth : fifth;

  // The shortcuts need positive orbits (angles then grow with the course)
  // and angles the tables cover; anything else, which no game produces, is
  // left to the rules' own loop.
  const double orbit8 = s.WorldOrbit[kHomeRing], orbitFrom = s.WorldOrbit[from], orbitTo = s.WorldOrbit[to];
  const double k = s.WorldTreasure[from] == kDoubleFuel ? 2 : 1;
  bool tractable = T.usable && !courses.empty() && orbit8 > 0 && orbit8 <= 1e6 && orbitFrom > 0 &&
                   orbitFrom <= 1e6 && std::fabs(orbitTo) <= 1e6;
  for (float v : {s.WorldAngle[from], s.WorldSpin[from], s.WorldAngle[to], s.WorldSpin[to]})
    tractable = tractable && std::isfinite(v);
  if (!tractable) return DistCalcReference(s, from, to, step);

  const float gap = Sng(orbitFrom - orbitTo);
  const long long tMax = RoundHalfEvenUnchecked(orbit8 * 3);
  const long long tFirst = RoundHalfEvenUnchecked(std::fabs(static_cast<double>(gap)));
  const long long tLast = std::min(tMax, lastStep);
  if (tLast >= tFirst) {
    const double steps = static_cast<double>(tLast);
    const double courseReach = std::max(std::fabs(courses.front()), std::fabs(courses.back()));
    const double reach = std::max(steps * k * courseReach * orbit8 / (orbitFrom * 520) +
                                      steps * std::fabs(s.WorldSpin[from]) + std::fabs(s.WorldAngle[from]),
                                  steps * std::fabs(s.WorldSpin[to]) + std::fabs(s.WorldAngle[to]));
    if (!(reach * (1 + 1e-9) + 16 < kFastAngleLimit)) return DistCalcReference(s, from, to, step);
  }

  const Search search(T, s, from, to, courses);
  for (long long t = tFirst; t <= tLast; ++t) {
    int i = search.Meeting(t, false);
    if (i < 0) continue;
    // Every course's loop stops at its own first meeting, and a meeting
    // replaces the stored distance when t/520 (a double) is below it (a
    // 32-bit value). The courses meeting first of all meet at this t; a
    // later t never beats a stored earlier one, and this t beats any later
    // one. Among courses meeting at this t, the first one stores
    // Sng(t/520); each further one replaces it exactly when that stored
    // value was rounded up from t/520, and then the last of them is reported.
    const double years = static_cast<double>(t) / 520;
    const float distance = Sng(years);
    if (years < distance) i = search.Meeting(t, true);
    return {distance, search.Course(i)};
  }
  return {10000.0f, 0.0f};
}

Trip DistCalcFast(const GameState& s, int from, int to, float step) {
  return DistCalcFastWithin(s, from, to, step, LLONG_MAX);
}

}  // namespace valkoran
